#include <gtest/gtest.h>

#include <string>

#include "checklist/catalogue.h"
#include "l10n/ui.h"

TEST(Catalogue, CountsVisibleDailyTasksOnly) {
    catReset();
    int d, t, o;
    coreCount(&d, &t, &o);
    EXPECT_EQ(t, 4);
    EXPECT_EQ(d, 0);
    checked[0] = checked[1] = checked[2] = checked[3] = 1;
    checked[5] = 1;   // optional
    checked[9] = 1;   // weekly: never counted
    coreCount(&d, &t, &o);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(o, 1);
    EXPECT_TRUE(dailyComplete());
    // hiding a checked daily task removes it from both counts but keeps its flag
    tHidden[2] = 1;
    coreCount(&d, &t, &o);
    EXPECT_EQ(t, 3);
    EXPECT_EQ(d, 3);
    EXPECT_EQ(checked[2], 1);
    tHidden[2] = 0;
    checked[2] = 0;
    EXPECT_FALSE(dailyComplete());
}

TEST(Catalogue, AllDailyHiddenNeverCompletes) {
    catReset();
    for (int i = 0; i < 4; i++) tHidden[i] = 1;
    int d, t, o;
    coreCount(&d, &t, &o);
    EXPECT_EQ(t, 0);
    EXPECT_FALSE(dailyComplete());
    // a custom daily task counts like a built-in one
    int i = catAdd(0, u"Mi tarea");
    checked[i] = 1;
    EXPECT_TRUE(dailyComplete());
}

TEST(Catalogue, CustomTasksFillUpTo48) {
    catReset();
    for (int k = 0; k < 35; k++) EXPECT_EQ(catAdd(k % 3, u"x"), 13 + k);
    EXPECT_EQ(NT, 48);
    EXPECT_EQ(catAdd(0, u"one too many"), -1);
    EXPECT_EQ(NT, 48);
    std::u16string longText(200, u'a');
    catReset();
    int i = catAdd(7, longText.c_str());
    EXPECT_EQ(tasks[i].kind, 0);
    EXPECT_EQ(std::u16string(tCustom[i]).size(), 79u);
}

TEST(Catalogue, NamesFollowTheLanguage) {
    catReset();
    uiSetLang(1);
    EXPECT_EQ(std::u16string(taskName(10)), u"Kenly College Library");
    EXPECT_EQ(std::u16string(taskNote(8)), u"");
    int i = catAdd(2, u"Farmear Kenly");
    EXPECT_EQ(std::u16string(taskName(i)), u"Farmear Kenly");
    uiSetLang(0);
    EXPECT_EQ(std::u16string(taskName(4)), u"La Cumbre");
}
