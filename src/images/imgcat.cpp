#include "images/imgcat.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "base/sha256.h"

namespace {

// Per-row state: written by both threads (the window thread marks queued under the lock, the
// worker marks idle or failed after a transfer); a momentary stale read only delays a repaint.
struct RowState {
    std::atomic<unsigned char> st{0};   // 0 idle, 1 queued or downloading, 2 failed
    std::atomic<uint32_t> failAt{0};    // tick of the last failure
    std::atomic<unsigned char> bad{0};  // cached file found corrupt
    std::atomic<unsigned char> checked{0};  // cached file matched its name in this run
};

struct Rows {
    std::unique_ptr<RowState[]> a;
    int n = 0;
    Rows() { resize(IMGREMOTE_N); }
    void resize(int count) {
        a.reset(new RowState[count > 0 ? count : 1]);
        n = count;
    }
    RowState& operator[](int i) { return a[i]; }
};

Rows& rows() {
    static Rows r;
    return r;
}

std::mutex imgCs;  // guards the queue and the worker flag together
int imgQ[IMG_QUEUE];
int imgQn = 0;
bool imgWorker = false;

struct Ring {
    void* bm[3] = {nullptr, nullptr, nullptr};
    int ids[3] = {0, 0, 0};
    int next = 0;
} ring;

bool valid(int row) { return row >= 0 && row < rows().n; }

}  // namespace

int imgRow(int id) {
    const ImgRemote* b = IMGREMOTE;
    const ImgRemote* e = IMGREMOTE + IMGREMOTE_N;
    const ImgRemote* p = std::lower_bound(b, e, id, [](const ImgRemote& r, int v) { return r.id < v; });
    return p != e && p->id == id ? (int)(p - b) : -1;
}

int imgStatusRow(int row, bool cached) {
    if (!valid(row) || cached) return 0;
    return rows()[row].st.load() == 2 ? 2 : 1;
}

int imgEnqueue(int row, bool cached, uint32_t now) {
    if (!valid(row)) return 0;
    RowState& s = rows()[row];
    if (s.st.load() == 1 || cached) return 0;
    if (s.st.load() == 2 && (uint32_t)(now - s.failAt.load()) < IMG_RETRY_MS) return 0;
    std::lock_guard<std::mutex> lock(imgCs);
    if (imgQn >= IMG_QUEUE) return 0;  // dropped unmarked: a later request may try again
    s.st = 1;
    imgQ[imgQn++] = row;
    if (imgWorker) return 1;
    imgWorker = true;
    return 2;
}

void imgWorkerFailed() {
    std::lock_guard<std::mutex> lock(imgCs);
    imgWorker = false;
}

int imgPop() {
    std::lock_guard<std::mutex> lock(imgCs);
    if (imgQn == 0) {
        imgWorker = false;
        return -1;
    }
    return imgQ[--imgQn];
}

void imgDone(int row, bool ok, uint32_t now) {
    if (!valid(row)) return;
    RowState& s = rows()[row];
    if (ok) {
        s.bad = 0;
        s.checked = 1;
        s.st = 0;
    } else {
        s.failAt = now;
        s.st = 2;
    }
}

bool imgFileMatches(int row, uint64_t size, const unsigned char sha[32]) {
    if (row < 0 || row >= IMGREMOTE_N || size != IMGREMOTE[row].size) return false;
    const char* name = IMGREMOTE[row].file;
    std::string hex = hexOf(sha, 10);
    return std::strncmp(name, hex.c_str(), 20) == 0;
}

void imgMarkBad(int row) {
    if (!valid(row)) return;
    rows()[row].checked = 0;
    rows()[row].bad = 1;
}

void imgMarkChecked(int row) {
    if (valid(row)) rows()[row].checked = 1;
}

bool imgChecked(int row) { return valid(row) && rows()[row].checked.load(); }

bool imgBad(int row) { return valid(row) && rows()[row].bad.load(); }

void imgResetState(int rowCount) {
    std::lock_guard<std::mutex> lock(imgCs);
    rows().resize(rowCount < 0 ? IMGREMOTE_N : rowCount);
    imgQn = 0;
    imgWorker = false;
}

int imgQueued() {
    std::lock_guard<std::mutex> lock(imgCs);
    return imgQn;
}

int imgStateOf(int row) { return valid(row) ? rows()[row].st.load() : 0; }

void* imgRingGet(int id) {
    for (int i = 0; i < 3; i++)
        if (ring.bm[i] && ring.ids[i] == id) return ring.bm[i];
    return nullptr;
}

void* imgRingPut(int id, void* handle) {
    void* old = ring.bm[ring.next];
    ring.bm[ring.next] = handle;
    ring.ids[ring.next] = id;
    ring.next = (ring.next + 1) % 3;
    return old;
}

void imgRingReset() { ring = Ring{}; }

bool imgFit(unsigned bw, unsigned bh, int x, int y, int w, int h, ImgFit& out) {
    if (bw == 0 || bh == 0) return false;
    double s = std::min((double)h / bh, (double)w / bw);
    int dw = (int)(bw * s), dh = (int)(bh * s);
    out = {x + (w - dw) / 2, y + (h - dh) / 2, dw, dh};
    return true;
}
