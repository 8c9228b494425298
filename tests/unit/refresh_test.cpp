#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/store.h"
#include "base/state.h"
#include "datapack/refresh.h"

// The schedule as timer 2 runs it, across restarts: the first tick of each run checks, later
// ticks only past six hours since the stamp the last started check wrote.
TEST(Refresh, SixHourScheduleAcrossRestarts) {
    MemStore st;
    long long t = 1800000000;
    int checks = 0;
    auto run = [&](int ticks, long long step) {  // one run of the program
        int first = 1;
        for (int i = 0; i < ticks; i++, t += step) {
            if (checksDue(first, t, readI64(st, "estado", "ultimaComprobacion"))) {
                checks++;
                st.put("estado", "ultimaComprobacion", u16num(t));
            }
            first = 0;
        }
    };
    run(36, 600);  // six hours of ten-minute ticks: only the first checks
    run(1, 600);   // a restart checks at once, whatever the stamp says
    EXPECT_EQ(checks, 2);
    run(38, 600);  // the 37th tick is 21,600 s after the first: not more than six hours yet
    EXPECT_EQ(checks, 4);

    // no stamp yet: due; a stamp from the future waits
    for (auto [now, stamp, due] : {std::tuple{21601, 0, true}, {1000, 5000, false}})
        EXPECT_EQ(checksDue(0, now, stamp) != 0, due) << now << " " << stamp;
}

TEST(Refresh, PackAddress) {
    std::u16string longH(2000, u'h');
    // the stored address first, else the built-in one; a capital scheme is no address
    struct { const char16_t* stored; const char* builtIn; std::u16string want; } cases[] = {
        {u"", "https://a.test/datos.txt", u"https://a.test/datos.txt"},
        {u"http://127.0.0.1:5/d.txt", "https://a.test/datos.txt", u"http://127.0.0.1:5/d.txt"},
        {u"HTTP://a.test/d.txt", "https://a.test/datos.txt", u""}, {nullptr, "", u""}, {longH.c_str(), nullptr, u""},
    };
    for (auto& c : cases) EXPECT_EQ(pkAddress(c.stored, c.builtIn), c.want) << (&c - cases);
    EXPECT_EQ(pkAddress((u"http" + std::u16string(2000, u'x')).c_str(), nullptr).size(), 1023u);
}
