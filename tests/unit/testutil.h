// Helpers shared by the core tests: instants built from calendar fields and a pinned zone.
#pragma once
#include <cstdlib>
#include <ctime>
#include <string>

// Seconds of a UTC calendar time.
inline long long utc(int y, int mo, int d, int h = 0, int mi = 0) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    return (long long)timegm(&t);
}

// Seconds of a local calendar time in the zone in force.
inline long long localAt(int y, int mo, int d, int h, int mi = 0, int s = 0) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return (long long)std::mktime(&t);
}

// Sets TZ for a test and puts back what was there.
class TzScope {
public:
    explicit TzScope(const char* zone) {
        if (const char* tz = std::getenv("TZ")) {
            had = true;
            old = tz;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TzScope() {
        if (had) setenv("TZ", old.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::string old;
    bool had = false;
};
