#include "library/live.h"

#include <cstring>

#include "datapack/pack.h"
#include "library/db.h"

unsigned liveLast;

const char* creatorField(int entry, const char* key) {
    if (!dbDone || pkN < 2 || entry < 0) return nullptr;
    for (size_t r = 1; r < pkEntry.size() && r < size_t(pkN); r++) {
        if (pkEntry[r] != entry) continue;
        const char* v = praw(&pk[r], key);
        return v && *v ? v : nullptr;
    }
    return nullptr;
}

std::string liveChannel(const char* twitch) {
    if (!twitch) return std::string();
    const char* slash = std::strrchr(twitch, '/');
    return slash ? slash + 1 : twitch;
}

int liveBodyLive(const char* body, size_t len) {
    if (!body || len < 1 || len > 199) return 0;
    std::string low(body, len);
    for (char& c : low)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    for (const char* w : {"offline", "not found", "error", "invalid"})
        if (low.find(w) != std::string::npos) return 0;
    return 1;
}

int liveDue(int force, unsigned last, unsigned now) { return force || last == 0 || now - last >= LIVE_PAUSE_MS; }

int liveFill(LiveJob* job) {
    std::memset(job, 0, sizeof *job);
    job->generation = dbGen;
    for (int i = 0; i < int(DB.size()) && job->count < LIVE_MAX; i++) {
        if (DB[i].cat != CAT_CREATOR) continue;
        std::string id = liveChannel(creatorField(i, "twitch"));
        if (id.empty()) continue;
        if (id.size() > LIVE_ID - 1) id.resize(LIVE_ID - 1);
        job->entry[job->count] = i;
        std::memcpy(job->channel[job->count], id.c_str(), id.size() + 1);
        job->count++;
    }
    return job->count;
}

int liveApply(const LiveJob* job) {
    if (job->generation != dbGen || !dbDone || liveF.empty()) return 0;
    int changed = 0;
    for (int k = 0; k < job->count && k < LIVE_MAX; k++) {
        int e = job->entry[k];
        if (e < 0 || size_t(e) >= liveF.size()) continue;
        unsigned char v = job->live[k] ? 1 : 0;
        if (liveF[e] != v) {
            liveF[e] = v;
            changed = 1;
        }
    }
    return changed;
}

int liveCount() {
    int n = 0;
    for (size_t i = 0; i < liveF.size() && i < DB.size(); i++)
        if (liveF[i] && DB[i].cat == CAT_CREATOR) n++;
    return n;
}
