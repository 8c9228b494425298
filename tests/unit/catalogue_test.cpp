#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checklist/catalogue.h"
#include "l10n/ui.h"

TEST(Catalogue, CountsVisibleDailyTasksOnly) {
    catReset();
    auto counts = [] {  // done, total, optional done
        int d, t, o;
        coreCount(&d, &t, &o);
        return std::vector<int>{d, t, o};
    };
    checked[0] = checked[1] = checked[2] = checked[3] = 1;
    checked[5] = 1;   // optional
    checked[9] = 1;   // weekly: never counted
    EXPECT_EQ(counts(), (std::vector<int>{4, 4, 1}));
    EXPECT_TRUE(dailyComplete());
    // hiding a checked daily task removes it from both counts but keeps its flag
    tHidden[2] = 1;
    EXPECT_EQ(counts(), (std::vector<int>{3, 3, 1}));
    EXPECT_EQ(checked[2], 1);
}

TEST(Catalogue, AllDailyHiddenNeverCompletes) {
    catReset();
    for (int i = 0; i < 4; i++) tHidden[i] = 1;
    EXPECT_FALSE(dailyComplete());
    // a custom daily task counts like a built-in one
    int i = catAdd(0, u"Mi tarea");
    checked[i] = 1;
    EXPECT_TRUE(dailyComplete());
}

TEST(Catalogue, OwnNamesAreNeverTranslated) {
    catReset();
    uiSetLang(1);
    EXPECT_EQ(std::u16string(taskName(catAdd(2, u"Marca"))), u"Marca");  // a segment the table translates
    uiSetLang(0);
}
