#include <gtest/gtest.h>

#include <string>

#include "base/sha256.h"
#include "base/utf.h"
#include "update/verify.h"

namespace {

std::u16string hexOfText(const std::string& s) {
    unsigned char d[32];
    sha256(s.data(), s.size(), d);
    char16_t out[SHA_HEX + 1];
    shaHex(d, out);
    return out;
}

TEST(Verify, OnlyAnExactValidDigestMatches) {
    unsigned char d[32];
    sha256("abc", 3, d);
    const std::u16string good = u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    EXPECT_EQ(hexOfText("abc"), good);  // the digest's text as the manifest writes it
    struct Case {
        std::u16string expected;
        int valid, match;
    } cases[] = {
        {good, 1, 1}, {good.substr(0, 63) + u"c", 1, 0}, {u"c" + good.substr(1), 1, 0},
        {u"", 0, 0},                                // no digest in the manifest: never a match
        {good.substr(0, 63), 0, 0},                 // short
        {good + u"0", 0, 0},                        // long
        {u"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", 0, 0},  // not lower-cased
        {good.substr(0, 62) + u"g5", 0, 0},         // not hexadecimal
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shaValid(c.expected.c_str()), c.valid) << w8u(c.expected.c_str());
        EXPECT_EQ(shaMatches(d, c.expected.c_str()), c.match) << w8u(c.expected.c_str());
    }
    EXPECT_EQ(shaMatches(d, nullptr), 0);
}

TEST(Verify, ProgressPhases) {
    struct Case {
        int pct;
        UpdPhase phase;
        int fill, closable;
    } cases[] = {
        {37, PHASE_DOWNLOADING, 74, 0},    {UPD_INSTALLING, PHASE_INSTALLING, 200, 0},  // the bar stays full
        {UPD_FAILED, PHASE_FAILED, 0, 1},  {-7, PHASE_IDLE, 0, 1},          {250, PHASE_IDLE, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(updPhase(c.pct), c.phase) << c.pct;
        EXPECT_EQ(updFill(c.pct, 200), c.fill) << c.pct;
        EXPECT_EQ(updClosable(c.pct), c.closable) << c.pct;
    }
}

TEST(Verify, ProgressReportsOnlyMoveADownloadForward) {
    struct Case {
        int current, reported, result;
    } cases[] = {
        {0, 5, 5}, {40, 39, 40},
        {UPD_INSTALLING, 50, UPD_INSTALLING},  // a late report cannot undo the installing notice
        {UPD_FAILED, 30, UPD_FAILED},          // nor a failure
        {UPD_IDLE, 30, UPD_IDLE},              // nor reopen a closed download
        {10, 101, 10}, {10, -1, 10},
    };
    for (const Case& c : cases) EXPECT_EQ(updProgress(c.current, c.reported), c.result) << c.current << " " << c.reported;
}

}  // namespace
