// The rules of the automatic data refresh that need no system: when timer 2 runs the pack and
// update checks (always on its first tick after start, later only when more than six hours
// have passed since the last started check, stored as "ultimaComprobacion"), and which address
// the pack comes from.
#pragma once
#include <string>

constexpr long long PK_CHECK_EVERY = 21600;  // seconds

// 1 when this tick runs the checks; last is the stored time of the last started check.
int checksDue(int first, long long now, long long last);

// The pack address: dataUrl when not empty, else the header's "url" (may be null); "" when that
// does not begin with "http" (written exactly so).
std::u16string pkAddress(const char16_t* dataUrl, const char* headerUrl);
