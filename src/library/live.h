// Creators' live status: the pack fields of a creator entry, the channel ids asked about (at
// most 64, in library order), the rule that reads a live-status answer, the two-minute pause
// between checks, and how a result reaches the per-entry flags liveF, only for the library
// generation it was made for. The thread and the requests are live_win.cpp's.
#pragma once
#include <cstddef>
#include <string>

constexpr int LIVE_MAX = 64;
constexpr int LIVE_ID = 48;                // channel id bytes, terminator included
constexpr unsigned LIVE_PAUSE_MS = 120000; // an unforced check waits this long after the last

struct LiveJob {
    int generation;  // dbGen when made
    int count;
    int entry[LIVE_MAX];
    char channel[LIVE_MAX][LIVE_ID];
    unsigned char live[LIVE_MAX];
};

extern unsigned liveLast;  // tick count of the last started check, 0 before the first

// The first field key of the pack record behind library entry entry when not empty; null when
// the library's pack link is not built, no record made that entry, or the field is missing.
const char* creatorField(int entry, const char* key);

// A "twitch" value's channel id: the text after its last "/", or the whole value.
std::string liveChannel(const char* twitch);

// A live-status answer means live: 1 to 199 bytes without "offline", "not found", "error" or
// "invalid" in any letter case.
int liveBodyLive(const char* body, size_t len);

// An unforced check may start: never checked, or at least LIVE_PAUSE_MS since (tick counts wrap).
int liveDue(int force, unsigned last, unsigned now);

// Fills job with the current generation and the creators' channels; returns the count.
int liveFill(LiveJob* job);

// Stores a result in liveF when it belongs to the current generation; 1 when a flag changed.
int liveApply(const LiveJob* job);

// Creator entries live now (0 while liveF does not exist).
int liveCount();
