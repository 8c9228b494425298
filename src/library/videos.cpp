#include "library/videos.h"

#include <cstddef>
#include <vector>

namespace {
std::vector<VideoInfo> packVideos;
constexpr int MAX_START = 100 * 3600;
}  // namespace

int vidIdValid(const char* id) {
    if (!id) return 0;
    int n = 0;
    for (; id[n]; n++) {
        char c = id[n];
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!ok || n >= 11) return 0;
    }
    return n == 11;
}

int vidStartOf(const char* text) {
    if (!text || !*text) return 0;
    long v = 0;
    for (const char* p = text; *p; p++) {
        if (*p < '0' || *p > '9') return 0;
        v = v * 10 + (*p - '0');
        if (v >= MAX_START) return 0;
    }
    return int(v);
}

int vidAt(int ref, VideoInfo* out) {
    if (ref < 0 || !out) return 0;
    if (ref < VIDREF_N) {
        int v = VIDREF[ref];
        if (v < 0 || v >= VID_N) return 0;
        *out = VideoInfo{VIDID[v], VIDCAP[v], VIDSTART[v]};
        return 1;
    }
    std::size_t k = std::size_t(ref - VIDREF_N);
    if (k >= packVideos.size()) return 0;
    *out = packVideos[k];
    return 1;
}

void vidPackClear() { packVideos.clear(); }

int vidPackAdd(const char* id, int start) {
    if (!vidIdValid(id)) return -1;
    packVideos.push_back(VideoInfo{id, nullptr, start < 0 || start >= MAX_START ? 0 : start});
    return VIDREF_N + int(packVideos.size()) - 1;
}
