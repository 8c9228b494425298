// The body rules of an HTTP GET, apart from the transport: only a complete 200 answer counts,
// the announced length must match, bodies are capped (400 MiB streamed to a file, 4 MiB kept in
// memory), progress goes out in whole percentages, and a destination file that was created is
// deleted on every failure. The shell (http_win.cpp) opens the answer with WinINet and hands
// its reads in through HttpAnswer; tests use fakes.
#pragma once
#include <cstddef>

constexpr unsigned long long HTTP_BODY_MAX = 419430400ull;  // 400 MiB; exactly this is allowed
constexpr size_t HTTP_MEM_MAX = 4u << 20;                    // a body kept in memory (manifest, live status)
constexpr unsigned HTTP_CHUNK = 32768;
constexpr const char16_t* HTTP_AGENT = u"Zenvoral/0.0.9";

// The body of an opened answer.
struct HttpAnswer {
    virtual ~HttpAnswer() = default;
    // Reads up to cap bytes into buf: 1 with *got bytes, where 0 bytes is the end of the body;
    // 0 when the read failed (a cut connection, a timeout), which is never the end of the body.
    virtual int read(char* buf, unsigned cap, unsigned* got) = 0;
};

// The destination file of a download.
struct HttpFile {
    virtual ~HttpFile() = default;
    virtual int create() = 0;                           // created or truncated: 1
    virtual int write(const char* p, unsigned n) = 0;   // 1 when all n bytes were written
    virtual void close() = 0;
    virtual void remove() = 0;                          // deletes the destination
};

using HttpProgress = void (*)(void* ctx, int percent);

// What a caller asks of a body.
struct HttpWant {
    char** outBuf = nullptr;   // keep the body: a malloc'd block with a zero byte after it
    size_t* outLen = nullptr;  // its length, zero byte not counted
    HttpFile* file = nullptr;  // stream it to a file
    HttpProgress progress = nullptr;  // percentages, only when the length is known
    void* ctx = nullptr;
};

// Reads the body of an answer with this status and announced length (0 = unknown) under the
// rules above. Returns 1 on success (outputs set); 0 on failure, outputs untouched and the file,
// if it was created, deleted.
int httpBody(unsigned status, unsigned long long length, HttpAnswer& in, const HttpWant& want);

// A Content-Length header value as a number; 0 (unknown) when it is missing or not a plain
// decimal number that fits.
unsigned long long httpLength(const char* text);
