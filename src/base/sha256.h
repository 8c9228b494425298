// SHA-256 (FIPS 180-4), in one call or fed in pieces. Used to check downloaded files against
// the names and digests they were published under.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct Sha256 {
    uint32_t h[8];
    uint64_t len = 0;      // bytes fed so far
    unsigned char blk[64];
    size_t used = 0;       // bytes waiting in blk

    Sha256();
    void add(const void* data, size_t n);
    void done(unsigned char out[32]);  // the object must be constructed anew to hash again
};

void sha256(const void* data, size_t n, unsigned char out[32]);

// Lower-case hexadecimal of the first count bytes.
std::string hexOf(const unsigned char* bytes, size_t count);
