// Pictures by id: 1000-2999 are embedded in the program, 3000 and up come from the catalogue of
// remote pictures (a picture embedded under such an id still wins). A remote picture is
// downloaded once into the cache folder under its catalogue name, the first 20 hex digits of its
// SHA-256, so a file can be checked against its own name. This module holds the catalogue, the
// per-picture download state, the download queue (a stack: the newest request first), the
// ring of three decoded remote pictures and the fitting rule; the shell does files, threads,
// the network and decoding.
#pragma once
#include <cstddef>
#include <cstdint>

struct ImgRemote {
    int id;
    const char* file;  // "<20 hex digits>.jpg"
    uint32_t size;     // exact size in bytes
};

// Generated at build time from data/images/remote/ (sorted by id).
extern const ImgRemote IMGREMOTE[];
extern const int IMGREMOTE_N;
// Gallery tables: picture id and Spanish caption ("" = the entry's title) per gallery row.
extern const int GALID[];
extern const char* const GALCAP[];
extern const int GAL_N;

constexpr int IMG_QUEUE = 256;
constexpr uint32_t IMG_RETRY_MS = 15000;

// Row of a remote id in IMGREMOTE, -1 when the id is not there.
int imgRow(int id);

// What a row's state says for a picture: 0 ready, 1 not yet there, 2 the last download failed.
// cached: the file is in the cache with the right size and not known to be corrupt.
int imgStatusRow(int row, bool cached);

// A request for row (on the window thread). Returns 0 when nothing was queued (already queued,
// cached, failed less than 15 s ago at tick now, or the queue is full), 1 when queued with a
// worker already running, 2 when queued and the caller must start the worker.
int imgEnqueue(int row, bool cached, uint32_t now);
// The worker could not be started: the queued rows wait for the next one.
void imgWorkerFailed();
// Worker side: the next row to fetch, or -1 when the queue is empty (the worker then ends).
int imgPop();
// Worker side: the row's download ended (ok: the verified file took its final name).
void imgDone(int row, bool ok, uint32_t now);

// A downloaded file is the row's picture: exactly its size and its SHA-256 starts with the
// file name's hex digits.
bool imgFileMatches(int row, uint64_t size, const unsigned char sha[32]);

// A cached file was found corrupt (hash differs from its name): it counts as absent until a
// download replaces it.
void imgMarkBad(int row);
bool imgBad(int row);
// The cached file was checked against its name in this run (a verified download, or a decode
// that hashed it), so later decodes skip the hash.
void imgMarkChecked(int row);
bool imgChecked(int row);

// Forgets every state and the queue; tests may size the state for rowCount rows (the queue
// rules do not look at the catalogue itself).
void imgResetState(int rowCount = -1);
int imgQueued();        // entries in the queue
int imgStateOf(int row);  // 0 idle, 1 queued, 2 failed

// The ring of three decoded remote pictures. get: the handle kept for id, or null. put: keeps
// handle for id in the next slot and returns the handle that slot held (the caller disposes it).
void* imgRingGet(int id);
void* imgRingPut(int id, void* handle);
void imgRingReset();

// A bitmap of bw x bh fitted into the rectangle (x, y, w, h), centred, enlarging or shrinking.
// false when the bitmap has no area.
struct ImgFit {
    int x, y, w, h;
};
bool imgFit(unsigned bw, unsigned bh, int x, int y, int w, int h, ImgFit& out);
