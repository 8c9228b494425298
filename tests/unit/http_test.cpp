#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "update/http.h"

namespace {

// A body served in given pieces; a piece of -1 is a failed read. Bytes are counted, and only
// filled when asked (a 400 MiB body is never allocated).
struct FakeAnswer : HttpAnswer {
    std::vector<long long> pieces;
    size_t at = 0;
    bool fill = true;
    unsigned long long served = 0;
    int read(char* buf, unsigned cap, unsigned* got) override {
        if (at == pieces.size()) {
            *got = 0;
            return 1;
        }
        long long& p = pieces[at];
        if (p < 0) return 0;
        unsigned n = p > cap ? cap : unsigned(p);
        if (fill)
            for (unsigned i = 0; i < n; i++) buf[i] = char('a' + (served + i) % 26);
        p -= n;
        if (p == 0) at++;
        served += n;
        *got = n;
        return 1;
    }
};

FakeAnswer body(std::vector<long long> pieces, bool fill = true) {
    FakeAnswer a;
    a.pieces = std::move(pieces);
    a.fill = fill;
    return a;
}

struct FakeFile : HttpFile {
    bool createFails = false;
    int writeFailsAt = -1;  // the n-th write (0-based) fails
    bool created = false, closed = false, removed = false;
    int writes = 0;
    std::string data;
    int create() override {
        created = true;
        return !createFails;
    }
    int write(const char* p, unsigned n) override {
        if (writes++ == writeFailsAt) return 0;
        data.append(p, n);
        return 1;
    }
    void close() override { closed = true; }
    void remove() override { removed = true; }
};

std::vector<int> progress;
void onProgress(void*, int pct) { progress.push_back(pct); }

struct Outcome {
    int ok;
    bool haveBuf;
    std::string text;
    size_t len;
};

Outcome fetch(unsigned status, unsigned long long length, FakeAnswer a, FakeFile* f, bool keep) {
    char* buf = nullptr;
    size_t len = 12345;
    HttpWant w;
    if (keep) {
        w.outBuf = &buf;
        w.outLen = &len;
    }
    w.file = f;
    w.progress = onProgress;
    Outcome o{httpBody(status, length, a, w), buf != nullptr, "", len};
    if (buf) {
        o.text.assign(buf, len);
        EXPECT_EQ(buf[len], 0) << "zero byte after the body";
        std::free(buf);
    }
    return o;
}

}  // namespace

// Every answer that is not a complete 200 body fails, the file that was made is deleted, and
// nothing reaches the caller; whole bodies succeed with and without a known length.
TEST(Http, OnlyACompleteOkBodySucceeds) {
    struct Case {
        const char* name;
        unsigned status;
        unsigned long long length;
        std::vector<long long> pieces;
        int ok;
        bool fileMade;  // the destination was created at all
    };
    const Case cases[] = {
        {"404", 404, 5, {5}, 0, false},
        {"whole body with its length", 200, 100000, {40000, 40000, 20000}, 1, true},
        {"short body (connection cut)", 200, 100000, {40000, 30000}, 0, true},
        {"longer than announced", 200, 10, {11}, 0, true},
        {"no length: any size", 200, 0, {70000, 3}, 1, true},
        {"read error after the whole length", 200, 10, {10, -1}, 0, true},
        {"empty 200 body", 200, 0, {}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool keep : {false, true}) {
            FakeFile f;
            Outcome o = fetch(c.status, c.length, body(c.pieces), &f, keep);
            EXPECT_EQ(o.ok, c.ok);
            EXPECT_EQ(f.created, c.fileMade);
            EXPECT_EQ(f.removed, !c.ok && c.fileMade);
            EXPECT_EQ(o.haveBuf, c.ok && keep);
            if (c.ok) {
                EXPECT_TRUE(f.closed);
                if (keep) {
                    EXPECT_EQ(o.text, f.data);
                }
            } else {
                EXPECT_EQ(o.len, 12345u) << "length untouched on failure";
            }
        }
    }
}

TEST(Http, FileFaultsFailAndDeleteTheFile) {
    FakeFile noCreate;
    noCreate.createFails = true;
    EXPECT_EQ(fetch(200, 5, body({5}), &noCreate, false).ok, 0);
    EXPECT_TRUE(noCreate.removed);

    FakeFile shortWrite;
    shortWrite.writeFailsAt = 1;
    EXPECT_EQ(fetch(200, 0, body({HTTP_CHUNK, HTTP_CHUNK, 10}), &shortWrite, false).ok, 0);
    EXPECT_TRUE(shortWrite.removed);
    EXPECT_TRUE(shortWrite.closed);
}

// Counted, not kept: the limit is on the bytes received.
TEST(Http, FourHundredMebibytesAndNotOneByteMore) {
    for (bool announced : {false, true}) {
        SCOPED_TRACE(announced ? "announced" : "no length");
        auto big = body({(long long)HTTP_BODY_MAX}, false);
        HttpWant w;
        EXPECT_EQ(httpBody(200, announced ? HTTP_BODY_MAX : 0, big, w), 1);
        EXPECT_EQ(big.served, HTTP_BODY_MAX);

        auto over = body({(long long)HTTP_BODY_MAX + 1}, false);
        struct Counter : FakeFile {
            int write(const char*, unsigned) override { return 1; }
        } counting;
        w.file = &counting;
        EXPECT_EQ(httpBody(200, announced ? HTTP_BODY_MAX + 1 : 0, over, w), 0);
        if (announced) {
            EXPECT_EQ(over.served, 0u) << "refused before reading";
            EXPECT_FALSE(counting.created);
        } else {
            EXPECT_LE(over.served, HTTP_BODY_MAX + HTTP_CHUNK);
            EXPECT_TRUE(counting.removed);
        }
    }
}

TEST(Http, BodyKeptInMemoryIsCappedAtFourMebibytes) {
    Outcome exact = fetch(200, 0, body({(long long)HTTP_MEM_MAX}), nullptr, true);
    EXPECT_EQ(std::make_pair(exact.ok, exact.len), std::make_pair(1, size_t(HTTP_MEM_MAX)));
    EXPECT_EQ(fetch(200, 0, body({(long long)HTTP_MEM_MAX + 1}), nullptr, true).ok, 0);
    EXPECT_EQ(fetch(200, HTTP_MEM_MAX + 1, body({(long long)HTTP_MEM_MAX + 1}), nullptr, true).ok, 0);
    // the same size streamed to a file is fine
    FakeFile f;
    EXPECT_EQ(fetch(200, 0, body({(long long)HTTP_MEM_MAX + 1}), &f, false).ok, 1);
}

TEST(Http, ProgressOnEveryNewWholePercentOnlyWithALength) {
    progress.clear();
    // 10 reads of 1000 bytes of 10000: 10, 20, ... 100; the first read always posts
    fetch(200, 10000, body({1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}), nullptr, false);
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));

    progress.clear();  // small reads that stay within one percent post once per percent
    fetch(200, 1000, body(std::vector<long long>(50, 1)), nullptr, false);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5}));

    progress.clear();
    fetch(200, 0, body({HTTP_CHUNK, HTTP_CHUNK}), nullptr, false);
    EXPECT_TRUE(progress.empty()) << "no percentages without a length";
}

TEST(Http, ContentLengthText) {
    struct {
        const char* in;
        unsigned long long out;
    } cases[] = {{" 42 ", 42}, {"5000000000", 5000000000ull}, {nullptr, 0}, {"-5", 0}, {"12x", 0},
                 {"99999999999999999999999", 0}};
    for (auto& c : cases) EXPECT_EQ(httpLength(c.in), c.out) << (c.in ? c.in : "null");
}
