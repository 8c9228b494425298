// The installer download's rules apart from Windows: which expected digests are usable, the
// comparison of a computed digest with the manifest's, and the phases the update window shows
// from its progress value.
#pragma once
#include <cstddef>

constexpr int SHA_HEX = 64;  // a SHA-256 digest as hexadecimal digits

// 1 when text is exactly 64 hexadecimal digits in lower case (the manifest's value is lower-cased
// when read). Anything else (empty, short, long, other characters) is no digest at all.
int shaValid(const char16_t* text);

// 64 lower-case hexadecimal digits of a 32-byte digest and a terminator into out (65 characters).
void shaHex(const unsigned char digest[32], char16_t* out);

// 1 when the digest matches the expected one; 0 when it differs or expected is not a valid digest,
// so that nothing unverified is ever accepted.
int shaMatches(const unsigned char digest[32], const char16_t* expected);

// The update window's progress value: -1 idle, 0..100 downloading (percent), 101 installing,
// -2 failed.
enum { UPD_IDLE = -1, UPD_FAILED = -2, UPD_INSTALLING = 101 };
enum UpdPhase { PHASE_IDLE, PHASE_DOWNLOADING, PHASE_INSTALLING, PHASE_FAILED };

UpdPhase updPhase(int pct);
// Width of the bar's filled part for a bar width: full while installing, empty otherwise outside
// 0..100.
int updFill(int pct, int barWidth);
// The window may be closed (no download or installation under way).
int updClosable(int pct);
// A progress report from the download thread, taken only while downloading and never backwards.
int updProgress(int current, int reported);
