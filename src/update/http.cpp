#include "update/http.h"

#include <cstdlib>
#include <cstring>

unsigned long long httpLength(const char* text) {
    if (!text) return 0;
    while (*text == ' ' || *text == '\t') text++;
    if (*text < '0' || *text > '9') return 0;
    unsigned long long v = 0;
    for (; *text >= '0' && *text <= '9'; text++) {
        if (v > (~0ull - 9) / 10) return 0;
        v = v * 10 + unsigned(*text - '0');
    }
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n') text++;
    return *text ? 0 : v;
}

int httpBody(unsigned status, unsigned long long length, HttpAnswer& in, const HttpWant& want) {
    if (status != 200) return 0;
    const bool keep = want.outBuf != nullptr;
    const unsigned long long cap = keep ? HTTP_MEM_MAX : HTTP_BODY_MAX;
    if (length > cap) return 0;  // refused before anything is created or read
    if (want.file && !want.file->create()) {
        want.file->remove();
        return 0;
    }
    char* buf = nullptr;
    size_t bufCap = 0;
    if (keep) {
        bufCap = 65536;
        buf = (char*)std::malloc(bufCap);
    }
    char chunk[HTTP_CHUNK];
    unsigned long long total = 0;
    int last = -1;
    int ok = keep ? buf != nullptr : 1;
    while (ok) {
        unsigned got = 0;
        if (!in.read(chunk, HTTP_CHUNK, &got) || got > HTTP_CHUNK) {
            ok = 0;  // a failed read is a failed download, never the end of the body
            break;
        }
        if (got == 0) break;
        if (total + got > cap) {
            ok = 0;
            break;
        }
        if (keep) {
            size_t need = size_t(total) + got + 1;
            if (need > bufCap) {
                char* grown = (char*)std::realloc(buf, need * 2);
                if (!grown) {
                    ok = 0;
                    break;
                }
                buf = grown;
                bufCap = need * 2;
            }
            std::memcpy(buf + total, chunk, got);
        }
        if (want.file && !want.file->write(chunk, got)) {
            ok = 0;
            break;
        }
        total += got;
        if (want.progress && length) {
            int pct = total >= length ? 100 : int(total * 100 / length);
            if (pct != last) {
                want.progress(want.ctx, pct);
                last = pct;
            }
        }
    }
    if (ok && length && total != length) ok = 0;
    if (want.file) want.file->close();
    if (!ok) {
        std::free(buf);
        if (want.file) want.file->remove();
        return 0;
    }
    if (keep) {
        buf[total] = 0;
        *want.outBuf = buf;
        if (want.outLen) *want.outLen = size_t(total);
    }
    return 1;
}
