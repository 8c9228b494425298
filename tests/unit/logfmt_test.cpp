#include <gtest/gtest.h>

#include "base/logfmt.h"

TEST(LogFormat, StampsAndCuts) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(logFormat(t, u"Inicio 0.0.9 (9) · idioma Español"),
              "2026-12-06 07:05:09  Inicio 0.0.9 (9) \xC2\xB7 idioma Espa\xC3\xB1ol\r\n");
    std::string longLine = logFormat(t, std::u16string(5000, u'é'));
    EXPECT_LE(longLine.size(), size_t(LOG_LINE_MAX));
    EXPECT_EQ(longLine.substr(longLine.size() - 2), "\r\n");
    // a cut never splits a character
    std::string body = longLine.substr(21, longLine.size() - 23);
    EXPECT_EQ(body.size() % 2, 0u);
    EXPECT_TRUE(logNeedsRotate(524289));
    EXPECT_FALSE(logNeedsRotate(524288));
    EXPECT_TRUE(logNeedsRotate(600 * 1024));
    // the whole 64-bit size counts: 4 GiB and ten bytes is no ten-byte log
    EXPECT_TRUE(logNeedsRotate((1ull << 32) + 10));
    EXPECT_TRUE(logNeedsRotate((1ull << 33)));
    EXPECT_TRUE(logMayGrow(LOG_HARD_MAX - 1));
    EXPECT_FALSE(logMayGrow(LOG_HARD_MAX));
    EXPECT_FALSE(logMayGrow((1ull << 32) + 10));
}
