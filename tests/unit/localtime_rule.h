// The local-time rule checked on whatever zone the process runs in, the same code natively
// and under Wine: every change of offset in a year is found, and a local time in the skipped
// hour and one in the repeated hour are read as fromLocal documents. Returns the number of
// changes checked; what is wrong goes into *problems.
#pragma once
#include <cstdio>
#include <ctime>
#include <string>

#include "checklist/clock.h"

// Local clock minus UTC at instant t, in seconds, from the runtime's own local time.
inline long long zoneOffset(long long t) {
    std::tm a;
    if (!toLocal(t, &a)) return 0;
    // the fields as seconds on a clock without zones
    std::tm u = a;
    long long days = 0;
    {
        long long y = u.tm_year + 1900, m = u.tm_mon + 1, d = u.tm_mday;
        y -= m <= 2;
        long long era = (y >= 0 ? y : y - 399) / 400, yoe = y - era * 400;
        long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    }
    return days * 86400 + u.tm_hour * 3600 + u.tm_min * 60 + u.tm_sec - t;
}

inline int checkLocalTimeRule(int year, std::string* problems) {
    std::tm jan{};
    jan.tm_year = year - 1900;
    jan.tm_mday = 1;
    long long t0;
    if (!fromLocal(jan, &t0)) return 0;
    int changes = 0;
    for (long long t = t0; t < t0 + 366 * 86400LL; t += 900) {
        long long o1 = zoneOffset(t);
        if (zoneOffset(t + 900) == o1) continue;
        long long lo = t, hi = t + 900;  // the first second of the new offset is in (lo, hi]
        while (hi - lo > 1) {
            long long mid = (lo + hi) / 2;
            (zoneOffset(mid) == o1 ? lo : hi) = mid;
        }
        long long at = hi, g = zoneOffset(at) - o1;
        changes++;
        std::tm f;
        toLocal(at - 1, &f);  // the last second before the change
        // skipped hour: a third of the way into it; repeated hour: a third of the way back
        long long delta = g > 0 ? g / 3 + 1 : g / 3;
        f.tm_sec += int(delta);
        long long got = 0, want = at - 1 + delta;  // read with the offset before the change
        if (!fromLocal(f, &got) || got != want) {
            char msg[160];
            std::snprintf(msg, sizeof msg, "offset change of %lld s at %lld: a local time %lld s from it gave %lld, want %lld\n",
                          g, at, delta, got, want);
            *problems += msg;
        }
    }
    return changes;
}
