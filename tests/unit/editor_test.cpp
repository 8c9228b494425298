// The checklist editor's operations on the catalogue (the settings file's side is in state_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/utf.h"
#include "checklist/catalogue.h"
#include "checklist/editor.h"

namespace {

std::vector<int> order() { return std::vector<int>(ord, ord + NT); }

std::vector<int> group(int kind) {
    std::vector<int> g;
    for (int p = 0; p < NT; p++)
        if (tasks[ord[p]].kind == kind) g.push_back(ord[p]);
    return g;
}

struct Editor : ::testing::Test {
    void SetUp() override { catReset(); }
    // ord stays a permutation of 0..NT-1 after every operation
    void TearDown() override {
        std::vector<int> sorted = order();
        std::sort(sorted.begin(), sorted.end());
        for (int p = 0; p < NT; p++) EXPECT_EQ(sorted[size_t(p)], p);
        catReset();
    }
};

}  // namespace

TEST_F(Editor, AddGoesRightAfterTheSelectedTaskInItsGroup) {
    // "Revisar vendedores" (9) is weekly
    ASSERT_EQ(chkAddAfter(9, u"Comprar cajas"), 13);
    EXPECT_EQ(tasks[13].kind, 2);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 10, 11, 12}));
    // nothing selected: a daily task at the very end of the order
    ASSERT_EQ(chkAddAfter(-1, u"Otra"), 14);
    EXPECT_EQ(std::make_pair(tasks[14].kind, ord[NT - 1]), std::make_pair(0, 14));
    EXPECT_EQ(tasks[chkAddAfter(13, u"x")].kind, 2);  // after an own task: its kind
}

TEST_F(Editor, FortyEightTasksAndWholeCharacters) {
    for (int k = 0; k < 35; k++) ASSERT_EQ(chkAddAfter(k % 13, u"t"), 13 + k);
    EXPECT_EQ(chkAddAfter(0, u"una más"), -1);
    EXPECT_EQ(NT, 48);
    // the last slot can be deleted and taken again; names are cut at a character boundary
    EXPECT_EQ(chkDeleteTask(47), 1);
    std::u16string name = std::u16string(78, u'a') + u"😀";  // the pair would straddle 79: dropped whole
    EXPECT_EQ(chkAddAfter(-1, name.c_str()), 47);
    EXPECT_EQ(std::u16string(tCustom[47]), std::u16string(78, u'a'));
    chkDeleteTask(47);
    name = std::u16string(77, u'a') + u"😀b";  // the pair fits exactly
    chkAddAfter(-1, name.c_str());
    EXPECT_EQ(std::u16string(tCustom[47]), name.substr(0, 79));
}

TEST_F(Editor, DeleteShiftsLaterTasksWithTheirFlags) {
    chkAddAfter(-1, u"catorce");   // 13
    chkAddAfter(-1, u"quince");    // 14
    chkAddAfter(8, u"dieciséis");  // 15, weekly
    checked[15] = tHidden[15] = checked[13] = 1;
    EXPECT_EQ(chkDeleteTask(14), 1);
    EXPECT_EQ(NT, 15);
    EXPECT_EQ(std::u16string(tCustom[14]), u"dieciséis");
    EXPECT_EQ((std::vector<int>{tasks[14].kind, checked[14], tHidden[14], checked[13]}), (std::vector<int>{2, 1, 1, 1}));
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 14, 9, 10, 11, 12, 13}));
    // built-in tasks and indexes out of range are left alone
    for (int bad : {-1, 12, 15, 48}) EXPECT_EQ(chkDeleteTask(bad), 0) << bad;
    // the last own task: back to the built-in catalogue, slot cleared for the next add
    EXPECT_EQ(chkDeleteTask(14) + chkDeleteTask(13), 2);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(checked[13] + tHidden[14], 0);
}

TEST_F(Editor, MovesStayInsideTheGroup) {
    struct Case {
        int task, dir, moved;
        std::vector<int> daily;
    } cases[] = {
        {0, -1, 0, {0, 1, 2, 3}},  // first daily task up: nothing
        {3, +1, 0, {0, 1, 2, 3}},  // last daily task down: nothing, although optional tasks follow
        {3, -1, 1, {0, 1, 3, 2}},
        {-1, +1, 0, {0, 1, 3, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chkMoveTask(c.task, c.dir), c.moved) << c.task << " " << c.dir;
        EXPECT_EQ(group(0), c.daily);
    }
    // an own daily task placed after the weekly group jumps back over hidden and other tasks
    int mine = chkAddAfter(12, u"x");
    tasks[mine].kind = 0;
    tHidden[2] = 1;  // hidden tasks still count as places in the group
    EXPECT_EQ(chkMoveTask(mine, -1), 1);
    EXPECT_EQ(group(0), (std::vector<int>{0, 1, 3, mine, 2}));
    EXPECT_EQ(ord[NT - 1], 2);  // a swap: the hidden task 2 goes behind
}

TEST_F(Editor, RestoreAfterAddsAndHides) {
    chkAddAfter(-1, u"a");
    chkAddAfter(9, u"c");
    tHidden[1] = tHidden[14] = 1;
    checked[0] = checked[13] = 1;
    chkMoveTask(10, -1);
    chkRestoreAll();
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(tHidden[1], 0);
    EXPECT_EQ(std::make_pair(checked[0], checked[13]), std::make_pair(1, 0));  // completion flags stay
}
