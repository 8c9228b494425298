// Picture ids, the remote catalogue, the download queue and its retry rule, the ring of three,
// the fitting rule and SHA-256.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/sha256.h"
#include "images/imgcat.h"

namespace {

std::string hex(const std::string& s) {
    unsigned char d[32];
    sha256(s.data(), s.size(), d);
    return hexOf(d, 32);
}

class Queue : public ::testing::Test {
protected:
    void SetUp() override { imgResetState(300); }
    void TearDown() override { imgResetState(); }
};

}  // namespace

TEST(Sha256, KnownDigests) {
    EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // a million 'a' fed in uneven pieces crosses every block boundary case
    Sha256 s;
    std::string chunk(997, 'a');
    size_t left = 1000000;
    while (left) {
        size_t n = left < chunk.size() ? left : (left % 3 == 0 ? 64 : chunk.size());
        s.add(chunk.data(), n);
        left -= n;
    }
    unsigned char d[32];
    s.done(d);
    EXPECT_EQ(hexOf(d, 32), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// The generator names the files; what the program needs is that every id is found.
TEST(ImgCatalogue, EveryPictureIsFoundByItsId) {
    ASSERT_GT(IMGREMOTE_N, 0);
    for (int i = 0; i < IMGREMOTE_N; i++) EXPECT_EQ(imgRow(IMGREMOTE[i].id), i);
    for (int id : {2999, IMGREMOTE[IMGREMOTE_N - 1].id + 1}) EXPECT_EQ(imgRow(id), -1) << id;
}

TEST(ImgCatalogue, DownloadedFileMustMatchSizeAndName) {
    const ImgRemote& r = IMGREMOTE[0];
    unsigned char sha[32] = {};
    // build a digest whose first ten bytes spell the file name
    for (int k = 0; k < 10; k++) {
        auto nib = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
        sha[k] = (unsigned char)(nib(r.file[2 * k]) << 4 | nib(r.file[2 * k + 1]));
    }
    EXPECT_TRUE(imgFileMatches(0, r.size, sha));
    EXPECT_FALSE(imgFileMatches(0, (uint64_t)r.size + (1ull << 32), sha));
    sha[9] ^= 1;  // the last hex digit of the name differs
    EXPECT_FALSE(imgFileMatches(0, r.size, sha));
    sha[9] ^= 1;
    sha[10] ^= 0xFF;  // digits past the name do not matter
    EXPECT_TRUE(imgFileMatches(0, r.size, sha));
    EXPECT_FALSE(imgFileMatches(IMGREMOTE_N, r.size, sha));
}

TEST_F(Queue, OneDownloadPerPictureHoweverOftenAsked) {
    EXPECT_EQ(imgEnqueue(5, false, 1000), 2);  // first request starts the worker
    for (int i = 0; i < 3; i++) EXPECT_EQ(imgEnqueue(5, false, 1000 + i), 0);
    EXPECT_EQ(imgEnqueue(6, false, 1000), 1);  // worker already running
    EXPECT_EQ(imgEnqueue(7, true, 1000), 0);   // cached
    // newest request first; an empty queue ends the worker
    EXPECT_EQ((std::vector<int>{imgPop(), imgPop(), imgPop()}), (std::vector<int>{6, 5, -1}));
    EXPECT_EQ(imgEnqueue(8, false, 1000), 2);
    EXPECT_EQ(imgEnqueue(-1, false, 0) + imgEnqueue(300, false, 0), 0);  // rows out of range
}

TEST_F(Queue, FailedPictureWaitsFifteenSeconds) {
    ASSERT_EQ(imgEnqueue(3, false, 0), 2);
    ASSERT_EQ(imgPop(), 3);
    imgDone(3, false, 50000);
    ASSERT_EQ(imgPop(), -1);
    EXPECT_EQ(imgEnqueue(3, false, 50000 + 14999), 0);
    EXPECT_EQ(imgStatusRow(3, false), 2);
    EXPECT_EQ(imgEnqueue(3, false, 50000 + 15000), 2);
    EXPECT_EQ(imgStatusRow(3, false), 1);
    ASSERT_EQ(imgPop(), 3);
    // the tick counter wraps after 49 days: the difference still counts
    ASSERT_EQ(imgEnqueue(4, false, 0), 1);
    ASSERT_EQ(imgPop(), 4);
    imgDone(4, false, 0xFFFFF000u);
    EXPECT_EQ(imgEnqueue(4, false, 0x00000100u), 0);      // 4.3 s later
    EXPECT_EQ(imgEnqueue(4, false, 0xFFFFF000u + 15000u), 1);
}

TEST_F(Queue, FullQueueDropsWithoutMarking) {
    for (int r = 0; r < IMG_QUEUE; r++) ASSERT_NE(imgEnqueue(r, false, 0), 0);
    EXPECT_EQ(imgEnqueue(256, false, 0), 0);
    EXPECT_EQ(imgStateOf(256), 0);  // not marked: asking again later works
    EXPECT_EQ(imgPop(), 255);
    EXPECT_EQ(imgEnqueue(256, false, 0), 1);
}

TEST_F(Queue, WorkerThatCouldNotStartLeavesRowsForTheNext) {
    ASSERT_EQ(imgEnqueue(1, false, 0), 2);
    imgWorkerFailed();
    EXPECT_EQ(imgEnqueue(1, false, 0), 0);  // still queued
    EXPECT_EQ(imgEnqueue(2, false, 0), 2);  // the next request starts a worker
    EXPECT_EQ((std::vector<int>{imgPop(), imgPop()}), (std::vector<int>{2, 1}));
}

TEST_F(Queue, CorruptCacheCountsAsAbsentUntilReplaced) {
    imgMarkBad(9);
    ASSERT_EQ(imgEnqueue(9, false, 0), 2);
    ASSERT_EQ(imgPop(), 9);
    imgDone(9, false, 10);
    ASSERT_EQ(imgPop(), -1);
    EXPECT_TRUE(imgBad(9));  // a failed download replaced nothing
    ASSERT_EQ(imgEnqueue(9, false, 20000), 2);
    ASSERT_EQ(imgPop(), 9);
    imgDone(9, true, 20010);
    EXPECT_FALSE(imgBad(9));
    EXPECT_TRUE(imgChecked(9));  // a verified download needs no second hash
}

TEST_F(Queue, ManyRequestersOneWorkerAtATime) {
    // requests from the window thread while workers drain: every row is fetched exactly once
    // (a new worker starts only after the last one found the queue empty)
    std::vector<int> got;
    std::vector<std::thread> threads;
    auto worker = [&] {
        for (int r; (r = imgPop()) >= 0;) {
            got.push_back(r);
            imgDone(r, true, 0);
        }
    };
    for (int r = 0; r < 200; r++) {
        int a = imgEnqueue(r, false, 0);
        ASSERT_NE(a, 0);
        if (a == 2) threads.emplace_back(worker);
        if (r % 50 == 49) {
            for (auto& t : threads) t.join();
            threads.clear();
        }
    }
    for (auto& t : threads) t.join();
    std::set<int> uniq(got.begin(), got.end());
    EXPECT_EQ(got.size(), 200u);
    EXPECT_EQ(uniq.size(), 200u);
}

TEST(Ring, FourthPictureDisposesTheFirst) {
    imgRingReset();
    int a, b, c, d;
    for (auto [id, p] : {std::pair{3000, &a}, {3001, &b}, {3002, &c}}) EXPECT_EQ(imgRingPut(id, p), nullptr);
    EXPECT_EQ(imgRingGet(3001), &b);
    EXPECT_EQ(imgRingPut(3003, &d), &a);  // the caller disposes it
    EXPECT_EQ(imgRingGet(3000), nullptr);
    EXPECT_EQ(imgRingPut(3000, &a), &b);
    imgRingReset();
}

TEST(Fit, CentredAndScaled) {
    // enlarges too; odd leftovers truncate toward zero; an empty picture does not fit
    struct { int iw, ih, x, y, w, h; bool ok; int fx, fy, fw, fh; } cases[] = {
        {400, 200, 0, 0, 100, 100, true, 0, 25, 100, 50}, {10, 20, 5, 7, 100, 100, true, 30, 7, 50, 100},
        {2, 2, 0, 0, 9, 4, true, 2, 0, 4, 4},             {10, 0, 0, 0, 10, 10, false, 0, 0, 0, 0},
    };
    for (auto& c : cases) {
        ImgFit f{};
        ASSERT_EQ(imgFit(c.iw, c.ih, c.x, c.y, c.w, c.h, f), c.ok) << c.iw << "x" << c.ih;
        if (c.ok) {
            EXPECT_EQ((std::vector<int>{f.x, f.y, f.w, f.h}), (std::vector<int>{c.fx, c.fy, c.fw, c.fh})) << c.iw;
        }
    }
}
