#include <gtest/gtest.h>

#include <string>

#include "app/detect.h"

// The exact configured name, the substring rule with its excluded words, and case in every script.
TEST(GameName, ExactNameSubstringRuleAndCase) {
    std::u16string longName = std::u16string(300, u'a') + u"division2";  // only the first 259 characters are read
    struct {
        const char16_t *running, *configured;
        bool match;
    } cases[] = {
        {u"thedivision2_dx12.exe", u"TheDivision2.exe", true}, {u"The Division 2.exe", u"other.exe", true},
        {u"TheDivision2Launcher.exe", u"TheDivision2.exe", false}, {u"Division2CrashReporter.exe", u"", false},
        {u"Zenvoral-Division2.exe", u"", false},           {u"TheDivision.exe", u"", false},
        {u"Division2Launcher.exe", u"division2launcher.EXE", true},  // configured: exact, whatever the words
        {u"MyGame.exe.bak", u"mygame.exe", false},         {nullptr, u"x", false},
        {longName.c_str(), u"", false},                    {u"ΠΑΙΧΝΊΔΙ.EXE", u"παιχνίδι.exe", true},
        {u"STRASSE.exe", u"straße.exe", true},      // the full folding: ß is ss
        {u"𐐀.exe", u"𐐨.exe", true},  // Deseret, beyond the first plane
        {u"ÉLITE.EXE", u"elite.exe", false},         // an accent is no case
        {u"THEDİVİSİON2.EXE", u"", false},             // dotted capital I is no plain i
    };
    for (auto& c : cases) EXPECT_EQ(isGameName(c.running, c.configured) != 0, c.match) << (int)(&c - cases);
}

TEST(Visibility, FollowsTheGame) {
    int was = 0, force = 0, hidden = 0, edit = 1;
    VisStep s = visDecide(0, &was, &force, &hidden, &edit);
    EXPECT_FALSE(s.show || s.announce);
    EXPECT_EQ(edit, 1);  // nothing happens to an expanded overlay without the game
    s = visDecide(1, &was, &force, &hidden, &edit);  // the game starts while expanded
    EXPECT_TRUE(s.announce && s.collapse && s.show);
    EXPECT_EQ(edit, 0);
    s = visDecide(1, &was, &force, &hidden, &edit);  // keeps running: no second balloon
    EXPECT_TRUE(!s.announce && s.show);

    hidden = 1;  // the hide key
    EXPECT_FALSE(visDecide(1, &was, &force, &hidden, &edit).show);

    force = 1;
    edit = 1;
    s = visDecide(0, &was, &force, &hidden, &edit);  // the game ends
    EXPECT_TRUE(s.offerUpdate && s.collapse && !s.show);
    EXPECT_EQ(force + hidden + edit, 0);
    EXPECT_FALSE(visDecide(0, &was, &force, &hidden, &edit).offerUpdate);
}

TEST(Visibility, ForcedWithoutTheGame) {
    int was = 0, force = 1, hidden = 0, edit = 0;
    EXPECT_TRUE(visDecide(0, &was, &force, &hidden, &edit).show);
    hidden = 1;
    EXPECT_FALSE(visDecide(0, &was, &force, &hidden, &edit).show);
    // the game starting clears the hide key
    VisStep s = visDecide(1, &was, &force, &hidden, &edit);
    EXPECT_TRUE(s.show);
    EXPECT_EQ(hidden, 0);
}
