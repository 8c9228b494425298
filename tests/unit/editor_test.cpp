// The checklist editor's operations on the catalogue (the settings file's side is in state_test).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf.h"
#include "checklist/catalogue.h"
#include "checklist/editor.h"

namespace {

std::vector<int> order() { return std::vector<int>(ord, ord + NT); }

// ord is a permutation of 0..NT-1
bool permutation() {
    std::vector<int> seen(NT, 0);
    for (int p = 0; p < NT; p++) {
        if (ord[p] < 0 || ord[p] >= NT || seen[ord[p]]) return false;
        seen[ord[p]] = 1;
    }
    return true;
}

std::vector<int> group(int kind) {
    std::vector<int> g;
    for (int p = 0; p < NT; p++)
        if (tasks[ord[p]].kind == kind) g.push_back(ord[p]);
    return g;
}

}  // namespace

TEST(Editor, AddGoesRightAfterTheSelectedTaskInItsGroup) {
    catReset();
    // "Revisar vendedores" (9) is weekly
    int i = chkAddAfter(9, u"Comprar cajas");
    ASSERT_EQ(i, 13);
    EXPECT_EQ(tasks[i].kind, 2);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 10, 11, 12}));
    // nothing selected: a daily task at the very end of the order
    int j = chkAddAfter(-1, u"Otra");
    ASSERT_EQ(j, 14);
    EXPECT_EQ(tasks[j].kind, 0);
    EXPECT_EQ(ord[NT - 1], 14);
    EXPECT_EQ(group(0), (std::vector<int>{0, 1, 2, 3, 14}));
    // after an own task: its kind
    EXPECT_EQ(tasks[chkAddAfter(13, u"x")].kind, 2);
    EXPECT_TRUE(permutation());
}

TEST(Editor, FortyEightTasksIsTheEnd) {
    catReset();
    for (int k = 0; k < 35; k++) ASSERT_EQ(chkAddAfter(k % 13, u"t"), 13 + k);
    EXPECT_EQ(NT, 48);
    EXPECT_EQ(chkAddAfter(0, u"una más"), -1);
    EXPECT_EQ(NT, 48);
    // the last slot can be deleted and taken again
    EXPECT_EQ(chkDeleteTask(47), 1);
    EXPECT_EQ(chkAddAfter(-1, u"de nuevo"), 47);
    EXPECT_TRUE(permutation());
}

TEST(Editor, NamesAreCutAtACharacterBoundary) {
    catReset();
    struct Case {
        std::u16string name;
        size_t kept;
    } cases[] = {
        {std::u16string(100, u'a'), 79},
        {std::u16string(78, u'a') + u"😀", 78},          // the pair would straddle 79: dropped whole
        {std::u16string(77, u'a') + u"😀" + u"b", 79},   // the pair fits exactly
        {u"Misión ñ — 日本", 13},
    };
    for (const Case& c : cases) {
        int i = chkAddAfter(-1, c.name.c_str());
        std::u16string got(tCustom[i]);
        EXPECT_EQ(got.size(), c.kept);
        EXPECT_EQ(got, c.name.substr(0, c.kept));
        ASSERT_FALSE(got.empty());
        EXPECT_FALSE(got.back() >= 0xD800 && got.back() <= 0xDBFF) << "half a character kept";
    }
}

TEST(Editor, DeleteShiftsLaterTasksWithTheirFlags) {
    catReset();
    chkAddAfter(-1, u"catorce");   // 13
    chkAddAfter(-1, u"quince");    // 14
    chkAddAfter(8, u"dieciséis");  // 15, weekly
    checked[15] = 1;
    tHidden[15] = 1;
    checked[13] = 1;
    EXPECT_EQ(chkDeleteTask(14), 1);  // own task 14 of 16 (counting from one: the second own)
    EXPECT_EQ(NT, 15);
    EXPECT_EQ(std::u16string(tCustom[14]), u"dieciséis");
    EXPECT_EQ((std::vector<int>{tasks[14].kind, checked[14], tHidden[14], checked[13]}), (std::vector<int>{2, 1, 1, 1}));
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 14, 9, 10, 11, 12, 13}));
    // built-in tasks and indexes out of range are left alone
    for (int bad : {-1, 0, 12, 15, 48}) EXPECT_EQ(chkDeleteTask(bad), 0) << bad;
    EXPECT_EQ(NT, 15);
    // the last own task: back to the built-in catalogue, slot cleared for the next add
    EXPECT_EQ(chkDeleteTask(14), 1);
    EXPECT_EQ(chkDeleteTask(13), 1);
    EXPECT_EQ(NT, 13);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(checked[13] + tHidden[14], 0);
    EXPECT_EQ(chkDeleteTask(13), 0);
}

TEST(Editor, MovesStayInsideTheGroup) {
    catReset();
    struct Case {
        int task, dir, moved;
        std::vector<int> daily;
    } cases[] = {
        {0, -1, 0, {0, 1, 2, 3}},  // first daily task up: nothing
        {3, +1, 0, {0, 1, 2, 3}},  // last daily task down: nothing, although optional tasks follow
        {3, -1, 1, {0, 1, 3, 2}},
        {0, +1, 1, {1, 0, 3, 2}},
        {-1, +1, 0, {1, 0, 3, 2}},
        {2, 0, 0, {1, 0, 3, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chkMoveTask(c.task, c.dir), c.moved) << c.task << " " << c.dir;
        EXPECT_EQ(group(0), c.daily);
        EXPECT_TRUE(permutation());
    }
    // an own daily task placed after the weekly group jumps back over hidden and other tasks
    int mine = chkAddAfter(12, u"x");
    tasks[mine].kind = 0;
    tHidden[2] = 1;  // hidden tasks still count as places in the group
    EXPECT_EQ(chkMoveTask(mine, -1), 1);
    EXPECT_EQ(group(0), (std::vector<int>{1, 0, 3, mine, 2}));
    EXPECT_EQ(std::make_pair(ord[3], ord[NT - 1]), std::make_pair(mine, 2));  // a swap: the hidden task 2 goes behind
    EXPECT_EQ(chkMoveTask(mine, -1), 1);
    EXPECT_EQ(group(0), (std::vector<int>{1, 0, mine, 3, 2}));
    EXPECT_EQ(chkMoveTask(2, +1), 0);  // the hidden task is last of its group
}

TEST(Editor, RestoreAfterAddsAndHides) {
    catReset();
    chkAddAfter(-1, u"a");
    chkAddAfter(4, u"b");
    chkAddAfter(9, u"c");
    tHidden[1] = tHidden[14] = 1;
    checked[0] = checked[7] = checked[13] = 1;
    chkMoveTask(10, -1);
    chkRestoreAll();
    EXPECT_EQ(NT, 13);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (int i = 0; i < 13; i++) EXPECT_EQ(tHidden[i], 0);
    EXPECT_EQ((std::vector<int>{checked[0], checked[7], checked[13]}), (std::vector<int>{1, 1, 0}));  // completion flags stay
}
