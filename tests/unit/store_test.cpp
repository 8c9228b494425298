// The settings store in memory: INI reading rules, writes in one piece per change, encodings
// of old files, damaged files, and texts cut at character boundaries.
#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "base/inifile.h"
#include "base/state.h"
#include "base/store.h"
#include "base/utf.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"
#include "checklist/persist.h"
#include "datapack/refresh.h"
#include "l10n/keys.h"
#include "l10n/ui.h"

using namespace std::string_literals;

namespace {
std::string u8(const std::u16string& s) { return w8u(s); }
}  // namespace

TEST(IniDoc, WritingBackKeepsWhatItDoesNotKnow) {
    MemStore s;
    s.load(u"; comentario del jugador\r\n[ajustes]\r\n  Opacidad = 200 \r\n\r\n[vacía]\r\n[estado]\r\nc0=1\r\nnota sin igual\r\n\r\n");
    EXPECT_EQ(s.getInt("AJUSTES", "opacidad", 0), 200);
    s.put("ajustes", "Idioma", u"es");
    s.put("estado", "c0", u"0");
    s.put("nueva", "k", u"v");
    EXPECT_EQ(s.text(),
              u"; comentario del jugador\r\n[ajustes]\r\n  Opacidad = 200 \r\nIdioma=es\r\n\r\n[vacía]\r\n[estado]\r\n"
              u"c0=0\r\nnota sin igual\r\n\r\n[nueva]\r\nk=v\r\n");
    // a line break in a value cannot start a line of its own (or forge a section)
    s.put("checklist", "t0", u"0|uno\r\n[estado]\r\nc0=1");
    EXPECT_EQ(s.getStr("checklist", "t0", u"", 199), u"0|uno  [estado]  c0=1");
    EXPECT_EQ(s.getStr("estado", "c0", u"", 9), u"0");
}

TEST(IniDoc, OnlyTheFirstOfTwinSectionsCountsAndBothGoTogether) {
    MemStore s;
    s.load(u"[checklist]\r\nn=1\r\n[estado]\r\nc0=1\r\n[Checklist]\r\nt0=2|viejo\r\nn=9\r\n");
    EXPECT_EQ(s.section("checklist").size(), 1u);
    s.delSection("checklist");
    EXPECT_EQ(s.text(), u"[estado]\r\nc0=1\r\n");
}

TEST(StoreBatch, OneChangeIsOneWrite) {
    MemStore s;
    loadState(s, 0x0C0A);
    EXPECT_EQ(s.saves, 1);  // the first start's keys together
    int before = s.saves;
    saveState(s);  // 13 flags, stamps and position
    saveState(s);  // nothing changed: nothing to write
    catAdd(0, u"propia");
    checklistSave(s);
    EXPECT_EQ(s.saves, before + 2);
    {
        StoreBatch outer(s);
        checked[0] = 1;
        saveState(s);
        histWrite(1765000000, s);
        histRefresh(1765000000, s);
        EXPECT_EQ(s.saves, before + 2);  // nested batches wait for the outermost
    }
    EXPECT_EQ(s.saves, before + 3);
    s.commit();  // an unmatched commit does nothing
    s.put("a", "b", u"c");
    EXPECT_EQ(s.saves, before + 4);  // outside a batch: at once
    catReset();
}

TEST(IniBytes, EveryEncodingOfAnOldFileReadsTheSame) {
    const std::u16string text = u"[ajustes]\r\nTeclaSalir=Mayús+Fin\r\n[checklist]\r\nt0=0|Ñandú ✓\r\n";
    std::string le, be, utf8 = u8(text);
    for (char16_t c : text) {
        le += {char(c & 0xFF), char(c >> 8)};
        be += {char(c >> 8), char(c & 0xFF)};
    }
    struct {
        std::string bytes;
        IniEnc enc;
    } cases[] = {
        {"\xFF\xFE" + le, INI_UTF16LE_BOM}, {"\xFE\xFF" + be, INI_UTF16BE_BOM},
        {le, INI_UTF16LE},                  {be, INI_UTF16BE},
        {"\xEF\xBB\xBF" + utf8, INI_UTF8_BOM},    {utf8, INI_UTF8},
    };
    for (auto& c : cases) {
        EXPECT_EQ(iniDetect(c.bytes), c.enc) << u8(iniEncName(c.enc));
        EXPECT_EQ(iniDecode(c.bytes, iniDetect(c.bytes)), text) << u8(iniEncName(c.enc));
    }
    EXPECT_EQ(iniBytes(text), cases[0].bytes);
    // the same text in Windows-1252: "Mayús" keeps its accent, so the key keeps its modifier
    std::string ansi = "[ajustes]\r\nTeclaSalir=May\xFAs+Fin\r\n";
    ASSERT_EQ(iniDetect(ansi), INI_ANSI);
    MemStore s;
    s.load(iniDecode(ansi, INI_ANSI));
    loadState(s, 0x0C0A);
    EXPECT_EQ(std::make_pair(keyQuitMods, keyQuitVk), std::make_pair(4u, 35u));
    EXPECT_EQ(iniDetect("[a]\r\nk=v\r\n"), INI_ANSI);  // plain ASCII
}

TEST(IniBytes, EmptiedAndDamagedFilesAreToldApart) {
    struct {
        std::string bytes;
        IniHealth want;
    } cases[] = {
        {"", INI_BLANK}, {"\xFF\xFE \x00\r\x00\n\x00"s, INI_BLANK},
        {std::string(4096, '\0'), INI_BROKEN},  // zeros left by a lost write
        {"\xFF\xFE" + std::string(512, '\0'), INI_BROKEN}, {"k=v\r\nsin secciones\r\n", INI_BROKEN},
        {"\xFF\xFE[\x00" "a\x00]\x00"s, INI_GOOD}, {"; nota\r\n  [a]", INI_GOOD},
    };
    for (auto& c : cases) {
        std::u16string t = iniDecode(c.bytes, iniDetect(c.bytes));
        EXPECT_EQ(iniHealth(t), c.want) << c.bytes.size();
    }
}

TEST(CutText, NeverSplitsASurrogatePair) {
    const std::u16string emoji = u"\U0001F525";  // two units
    struct {
        std::u16string s;
        size_t max, want;
    } cases[] = {{u"abc", 5, 3}, {u"a" + emoji, 2, 1}, {u"a" + emoji, 3, 3}, {emoji, 1, 0}};
    for (auto& c : cases) EXPECT_EQ(cutLen(c.s, c.max), c.want) << c.max;
    char16_t buf[4];
    copyCut(buf, 4, u"ab" + emoji);
    EXPECT_EQ(std::u16string(buf), u"ab");
    // a store read cut to a size keeps whole characters too
    MemStore s;
    s.put("a", "k", std::u16string(78, u'x') + emoji);
    EXPECT_EQ(s.getStr("a", "k", u"", 80).size(), 78u);
}

// Wherever a text is cut to a length, no half of a surrogate pair is left to reach the file (own
// task names: the editor test).
TEST(CutText, KeysAndAddressesKeepWholeCharacters) {
    const std::u16string emoji = u"\U0001F525";
    char16_t key[KEY_TEXT];
    keyTextSet(key, std::u16string(62, u'a') + emoji);
    EXPECT_EQ(std::u16string(key), std::u16string(62, u'a'));

    std::u16string addr = u"https://" + std::u16string(1014, u'a') + emoji + u"/datos.txt";
    EXPECT_EQ(pkAddress(addr.c_str(), nullptr), addr.substr(0, 1022));
}
