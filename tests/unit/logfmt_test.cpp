#include <gtest/gtest.h>

#include "base/logfmt.h"

TEST(LogFormat, StampsAndCuts) {
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 6, t.tm_hour = 7, t.tm_min = 5, t.tm_sec = 9;
    EXPECT_EQ(logFormat(t, u"Inicio 0.0.9 (9) · idioma Español"),
              "2026-12-06 07:05:09  Inicio 0.0.9 (9) \xC2\xB7 idioma Espa\xC3\xB1ol\r\n");
    std::string longLine = logFormat(t, std::u16string(5000, u'é'));
    EXPECT_LE(longLine.size(), size_t(LOG_LINE_MAX));
    EXPECT_EQ(longLine.substr(longLine.size() - 2), "\r\n");
    // a cut never splits a character
    std::string body = longLine.substr(21, longLine.size() - 23);
    EXPECT_EQ(body.size() % 2, 0u);
    // the whole 64-bit size counts: 4 GiB and ten bytes is no ten-byte log
    for (auto [size, rotate] : {std::pair{524289ull, true}, {524288ull, false}, {(1ull << 32) + 10, true}, {1ull << 33, true}})
        EXPECT_EQ(logNeedsRotate(size) != 0, rotate) << size;
    for (auto [size, grow] : {std::pair{LOG_HARD_MAX - 1ull, true}, {LOG_HARD_MAX + 0ull, false}, {(1ull << 32) + 10, false}})
        EXPECT_EQ(logMayGrow(size) != 0, grow) << size;
}
