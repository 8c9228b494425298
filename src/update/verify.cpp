#include "update/verify.h"

int shaValid(const char16_t* text) {
    if (!text) return 0;
    int n = 0;
    for (; text[n]; n++) {
        char16_t c = text[n];
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return 0;
        if (n >= SHA_HEX) return 0;
    }
    return n == SHA_HEX;
}

void shaHex(const unsigned char digest[32], char16_t* out) {
    static const char16_t digits[] = u"0123456789abcdef";
    for (int i = 0; i < 32; i++) {
        out[2 * i] = digits[digest[i] >> 4];
        out[2 * i + 1] = digits[digest[i] & 15];
    }
    out[SHA_HEX] = 0;
}

int shaMatches(const unsigned char digest[32], const char16_t* expected) {
    if (!shaValid(expected)) return 0;
    char16_t got[SHA_HEX + 1];
    shaHex(digest, got);
    for (int i = 0; i < SHA_HEX; i++)
        if (got[i] != expected[i]) return 0;
    return 1;
}

UpdPhase updPhase(int pct) {
    if (pct >= 0 && pct <= 100) return PHASE_DOWNLOADING;
    if (pct == UPD_INSTALLING) return PHASE_INSTALLING;
    if (pct == UPD_FAILED) return PHASE_FAILED;
    return PHASE_IDLE;
}

int updFill(int pct, int barWidth) {
    if (pct == UPD_INSTALLING) return barWidth;
    if (pct < 0 || pct > 100) return 0;
    return barWidth * pct / 100;
}

int updClosable(int pct) { return pct < 0 || pct > UPD_INSTALLING; }

int updProgress(int current, int reported) {
    if (current < 0 || current > 100 || reported < 0 || reported > 100) return current;
    return reported > current ? reported : current;
}
