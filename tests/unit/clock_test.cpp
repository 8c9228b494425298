#include <gtest/gtest.h>

#include "testutil.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "base/state.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"
#include "checklist/persist.h"
#include "localtime_rule.h"
#include "l10n/ui.h"

namespace {

// Every test here runs in Madrid time with the reset at 9 and a fresh catalogue and state.
class Clock : public ::testing::Test {
protected:
    TzScope tz{"Europe/Madrid"};
    MemStore st;
    Notice n;

    void SetUp() override {
        uiSetLang(1);
        catReset();
        resetHour = 9;
        resetUtc = 0;
        remindMin = 60;
        dailyStamp = weeklyStamp = remindDailyStamp = remindWeeklyStamp = streakToastStamp = 0;
        bestStreak = curStreak = 0;
        prevDaily.clear();
        prevWeekly.clear();
    }
    void TearDown() override {
        uiSetLang(0);
        resetUtc = 0;
    }
    // The text of the reminder due at t, "" when none.
    std::u16string remind(long long t) { return remindCheck(t, st, &n) ? n.text : u""; }
    std::vector<int> ticks() { return std::vector<int>(checked, checked + NT); }
};

long long at(int y, int mo, int d, int h, int mi = 0, int s = 0) { return localAt(y, mo, d, h, mi, s); }

void completeDaily() {
    for (int i = 0; i < 4; i++) checked[i] = 1;
}

}  // namespace

TEST_F(Clock, ResetMomentsAroundTheHourTheWeekAndDaylightSaving) {
    // 2026-12-08 is a Tuesday. Exactly at the hour the new period has begun; a second before it
    // has not; Monday goes back 6 days.
    struct { long long (*fn)(long long); long long t, want; } cases[] = {
        {lastDaily, at(2026, 12, 9, 8, 59), at(2026, 12, 8, 9)},  {lastDaily, at(2026, 12, 9, 9), at(2026, 12, 9, 9)},
        {lastWeekly, at(2026, 12, 8, 9), at(2026, 12, 8, 9)},     {lastWeekly, at(2026, 12, 8, 8, 59, 59), at(2026, 12, 1, 9)},
        {lastWeekly, at(2026, 12, 7, 12), at(2026, 12, 1, 9)},    {nextWeekly, at(2026, 12, 8, 9), at(2026, 12, 15, 9)},
        // Madrid moves to summer time on 2026-03-29 and back on 2026-10-25: still 9 local time
        {nextDaily, at(2026, 3, 28, 20), at(2026, 3, 29, 9)},     {lastDaily, at(2026, 10, 25, 20), at(2026, 10, 25, 9)},
        {nextWeekly, at(2026, 3, 26, 12), at(2026, 3, 31, 9)},
    };
    for (auto& c : cases) EXPECT_EQ(c.fn(c.t), c.want) << (&c - cases);
    // the game day begins at the reset hour, across a year and both daylight-saving changes
    struct { long long t; int back, key; } days[] = {
        {at(2026, 12, 15, 3), 0, 20261214}, {at(2027, 1, 1, 10), 1, 20261231}, {at(2026, 11, 1, 12), 90, 20260803}};
    for (auto& d : days) EXPECT_EQ(gameDayKey(d.t, d.back), d.key) << d.key;
}

TEST_F(Clock, AResetHourInUtcKeepsItsMomentAcrossDaylightSaving) {
    // Both changes of 2026 in two zones (all on Sundays); hour: the UTC hour that is local
    // midnight in summer, where local dates of two neighbouring resets would coincide in autumn;
    // standard: the zone's winter offset, which names the game days.
    struct Case {
        const char* zone;
        int mo, d, hour;
        long long standard;
    } cases[] = {{"Europe/Madrid", 3, 29, 22, 3600},
                 {"Europe/Madrid", 10, 25, 22, 3600},
                 {"America/New_York", 3, 8, 4, -5 * 3600},
                 {"America/New_York", 11, 1, 4, -5 * 3600}};
    resetUtc = 1;
    for (const Case& c : cases) {
        TzScope z(c.zone);
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.mo));
        resetHour = c.hour;
        st.delSection("historial");
        for (int k = -3; k <= 3; k++) {
            long long r = utc(2026, c.mo, c.d + k, c.hour);
            EXPECT_EQ(std::make_pair(lastDaily(r), nextDaily(r - 1)), std::make_pair(r, r));
            std::time_t named = std::time_t(r + c.standard);
            std::tm* g = std::gmtime(&named);
            EXPECT_EQ(gameDayKey(r + 60, 0), (g->tm_year + 1900) * 10000 + (g->tm_mon + 1) * 100 + g->tm_mday) << k;
            completeDaily();
            histWrite(r + 60, st);
        }
        histRefresh(utc(2026, c.mo, c.d + 3, c.hour) + 60, st);
        EXPECT_EQ(curStreak, 7) << "seven game days, seven names";
        // the week runs from Tuesday at the UTC hour
        EXPECT_EQ(lastWeekly(utc(2026, c.mo, c.d, 12)), utc(2026, c.mo, c.d - 5, c.hour));
    }
}

TEST_F(Clock, ResetHourInsideTheSpringGapGivesStablePeriods) {
    // 02:00 does not exist on 2026-03-29 in Madrid. The periods must not change within a day:
    // a changing stamp would clear the player's flags in the middle of a period.
    resetHour = 2;
    long long satReset = at(2026, 3, 28, 2);
    for (long long t : {at(2026, 3, 29, 0, 30), at(2026, 3, 29, 1, 59)}) EXPECT_EQ(lastDaily(t), satReset);
    long long sunReset = lastDaily(at(2026, 3, 29, 12));
    EXPECT_GT(sunReset, satReset);
    EXPECT_EQ(lastDaily(at(2026, 3, 29, 23)), sunReset);
    for (int d : {28, 29, 30}) EXPECT_EQ(lastWeekly(at(2026, 3, d, 12)), at(2026, 3, 24, 2)) << d;
}

TEST_F(Clock, UnrepresentableTimesDoNotCrash) {
    const long long huge = 0x7FFFFFFFFFFFFFFFLL;
    EXPECT_EQ((std::vector<long long>{lastDaily(huge), lastWeekly(huge), nextDaily(-huge), gameDayKey(huge, 3)}),
              (std::vector<long long>{0, 0, 0, 0}));
    char day[DAY_TEXT];
    todayStr(day, huge);
    EXPECT_STREQ(day, "");
    histWrite(huge, st);
    EXPECT_TRUE(st.section("historial").empty());
    EXPECT_EQ(remindCheck(huge, st, &n), 0);
}

TEST_F(Clock, CheckResetsClearsEachKindOnItsOwnPeriod) {
    const std::vector<int> none(NT, 0), weeklyOnly = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1};
    struct { long long t; int changed; std::vector<int> left; } steps[] = {
        {at(2026, 12, 9, 10), 1, none},         // a fresh settings file (stamps 0) clears everything
        {at(2026, 12, 9, 11), 0, weeklyOnly},   // same period: nothing cleared
        {at(2026, 12, 10, 9), 1, weeklyOnly},   // next morning: daily and optional tasks start over
        {at(2026, 12, 15, 9), 1, none},         // the following Tuesday clears the weekly ones
        {at(2026, 12, 1, 12), 1, none},         // setting the clock back counts as a new period too
    };
    for (auto& s : steps) {
        for (int i = 0; i < NT; i++) checked[i] = i >= 8 || &s != &steps[1];
        EXPECT_EQ(checkResets(s.t, st), s.changed) << (&s - steps);
        EXPECT_EQ(ticks(), s.left) << (&s - steps);
    }
}

TEST_F(Clock, HistoryStatesAndNinetyDays) {
    long long now = at(2026, 12, 6, 20);  // game day 2026-12-06; 90 days back is 2026-09-07
    checked[0] = checked[1] = checked[4] = 1;
    histWrite(now, st);
    EXPECT_EQ(st.getStr("historial", "d20261206", u"", 64), u"2/4/1");
    // values as they may be found in an edited file
    for (auto [v, state] : {std::pair{u"5/4/0", 2}, {u"0/4/1", 1}, {u"2/x/9", 1}, {u"-1/-1/0", 0}, {u"99999999999999/1", 2}}) {
        st.put("historial", "d20261205", v);
        EXPECT_EQ(histState(now, st, 1), state) << state;
    }
    auto key = [&](int k) { return "d" + std::to_string(gameDayKey(now, k)); };
    for (int k = 1; k <= 100; k++) st.put("historial", key(k).c_str(), u"4/4/0");
    st.put("historial", "d20270101", u"1/4/0");  // a clock that ran ahead: not ours to judge
    st.put("historial", "notas", u"x");
    histWrite(now, st);
    EXPECT_EQ(key(90), "d20260907");
    for (int k = 0; k <= 100; k++) EXPECT_EQ(st.has("historial", key(k).c_str()), k < 90) << k;
    EXPECT_EQ(st.section("historial").size(), 92u);  // 90 past days, the future one, the note
    // with fewer than 90 entries nothing is deleted: old entries go once newer ones crowd them
    MemStore few;
    few.put("historial", "d20260601", u"4/4/0");
    histWrite(now, few);
    EXPECT_TRUE(few.has("historial", "d20260601"));
}

// A clock running months ahead for a moment must cost neither the history nor the streak,
// nor the ticks of today.
TEST_F(Clock, AClockAheadAndBackLosesNothing) {
    long long now = at(2026, 12, 6, 20);
    for (int k = 1; k <= 10; k++) st.put("historial", ("d" + std::to_string(gameDayKey(now, k))).c_str(), u"4/4/0");
    EXPECT_EQ(checkResets(now, st), 1);
    checked[0] = checked[1] = checked[5] = checked[10] = 1;  // two daily, an optional and a weekly task
    saveState(st);
    histWrite(now, st);
    // the clock jumps 100 days ahead; the player ticks on two of those days
    long long ahead = now + 100 * 86400LL;
    EXPECT_EQ(checkResets(ahead, st), 1);
    EXPECT_EQ(checked[0] + checked[1] + checked[10], 0);  // a new day and week there
    checked[2] = 1;
    histWrite(ahead, st);
    EXPECT_EQ(checkResets(ahead + 86400, st), 1);
    histWrite(ahead + 86400, st);
    // and back: the history, the streak and today's ticks are all there
    EXPECT_EQ(checkResets(now + 60, st), 1);
    histRefresh(now + 60, st);
    EXPECT_EQ(std::make_pair(curStreak, bestStreak), std::make_pair(10, 10));
    EXPECT_EQ((std::vector<int>{checked[0], checked[1], checked[2], checked[5], checked[10]}), (std::vector<int>{1, 1, 0, 1, 1}));
    // the same across a restart: the ticks left behind are in the file
    checkResets(ahead, st);
    catReset();
    MemStore copy;
    copy.load(st.text());
    catLoad(copy);
    dailyStamp = readI64(copy, "estado", "dailyStamp");
    weeklyStamp = readI64(copy, "estado", "weeklyStamp");
    EXPECT_EQ(checkResets(now + 120, copy), 1);
    EXPECT_EQ(checked[0] + checked[1] + checked[5] + checked[10], 4);
}

TEST_F(Clock, StreakAcrossDays) {
    long long now = at(2026, 12, 6, 20);
    for (auto [k, v] : {std::pair{"d20261205", u"4/4/0"}, {"d20261204", u"4/4/2"}, {"d20261203", u"1/4/0"}, {"d20261202", u"4/4/0"}})
        st.put("historial", k, v);
    histRefresh(now, st);
    EXPECT_EQ(std::make_pair(curStreak, bestStreak), std::make_pair(2, 2));  // an unfinished today does not break it
    EXPECT_EQ((std::vector<int>(histCell + 10, histCell + 14)), (std::vector<int>{1, 2, 2, 0}));
    completeDaily();
    histWrite(now, st);
    histRefresh(at(2026, 12, 7, 10), st);  // the next game day: yesterday complete, today not yet
    EXPECT_EQ(std::make_pair(curStreak, bestStreak), std::make_pair(3, 3));
    // a missed day ends it, the best stays
    histRefresh(at(2026, 12, 8, 10), st);
    EXPECT_EQ(std::make_pair(curStreak, bestStreak), std::make_pair(0, 3));
    EXPECT_EQ(st.getStr("estado", "mejorRacha", u"", 16), u"3");
}

TEST_F(Clock, DurationAndFormattedTexts) {
    char16_t b[DUR_TEXT];
    // rounded up to the minute; the language's day and hour marks; French says "0 jour"
    struct { int lang; long long s; const char16_t* text; int streak; const char16_t* days; } cases[] = {
        {1, -500, u"0 min", 2, u"2 days"}, {1, 61, u"2 min", 1, u"1 day"}, {1, 3541, u"1h 00m", 0, u"0 days"},
        {1, 86341, u"1d 0h", 0, u"0 days"}, {2, 76 * 3600, u"3j 4h", 0, u"0 jour"}, {3, 76 * 3600, u"3T 4h", 0, u"0 Tage"},
    };
    for (auto& c : cases) {
        uiSetLang(c.lang);
        fmtDur(b, c.s);
        EXPECT_EQ(std::u16string(b), c.text) << c.s;
        curStreak = c.streak;
        char16_t st[STREAK_TEXT];
        streakText(st);
        EXPECT_EQ(std::u16string(st), c.days) << c.streak;
    }
    fmtDur(b, 0x7FFFFFFFFFFFFFFFLL);
    EXPECT_LT(std::u16string(b).size(), size_t(DUR_TEXT));
    auto fmt = [&](int cap, const char16_t* f, std::initializer_list<FmtArg> args) {
        fmtText(b, cap, f, args);
        return std::u16string(b);
    };
    EXPECT_EQ(fmt(32, u"%d|%5d|%05d|%03lld", {-7, 42, -42, 7LL}), u"-7|   42|-0042|007");
    EXPECT_EQ(fmt(16, u"%ls %% %ls", {u"a"}), u"a % ");  // missing argument prints nothing
    EXPECT_EQ(fmt(4, u"ab\U0001F600", {}), u"ab");  // never half a surrogate pair
    EXPECT_EQ(fmt(16, u"%lld", {(long long)(-0x7FFFFFFFFFFFFFFFLL - 1)}), u"-92233720368547");
}

TEST_F(Clock, RemindersOncePerPeriod) {
    long long now = at(2026, 12, 9, 8, 1);  // 59 minutes before the reset
    checkResets(now, st);
    EXPECT_EQ(remind(at(2026, 12, 9, 7, 59)), u"");  // 61 minutes: too early
    EXPECT_EQ(remind(now), u"4 daily tasks left. Daily reset in 59 min.");
    EXPECT_EQ(remind(now + 60), u"");
    // across a restart: the stored stamp keeps it quiet
    MemStore copy;
    copy.load(st.text());
    remindDailyStamp = readI64(copy, "estado", "avisoDiario");
    EXPECT_EQ(remindCheck(now + 120, copy, &n), 0);
    // the next period reminds again, unless the day is done
    long long next = at(2026, 12, 10, 8, 30);
    checkResets(next, st);
    completeDaily();
    EXPECT_EQ(remind(next), u"");
    checked[0] = 0;
    remindMin = 0x7FFFFFFF;  // as large as the setting can hold: always in range, no overflow
    EXPECT_EQ(remind(next), u"1 daily tasks left. Daily reset in 30 min.");
    // a month ahead for a moment: that day's reminder shows; back again, this one does not repeat
    checkResets(next + 30 * 86400LL, st);
    EXPECT_EQ(remindCheck(next + 30 * 86400LL, st, &n), 1);
    checkResets(next + 60, st);
    EXPECT_EQ(remind(next + 60), u"");
    // the weekly one in the last day, hidden tasks not counted; when both are due, daily first
    remindMin = 60;
    long long mon = at(2026, 12, 14, 9, 30);  // 23 h 30 min before Tuesday's reset
    checkResets(mon, st);
    completeDaily();
    checked[8] = tHidden[9] = 1;
    EXPECT_EQ(remind(mon - 1860), u"");
    EXPECT_EQ(remind(mon), u"3 weekly tasks left. Weekly reset in 23h 30m.");
    EXPECT_EQ(remind(mon + 60), u"");
    remindWeeklyStamp = 0;
    checked[0] = 0;
    EXPECT_EQ(remind(mon + 23 * 3600), u"1 daily tasks left. Daily reset in 30 min.");
    EXPECT_EQ(remind(mon + 23 * 3600 + 2), u"3 weekly tasks left. Weekly reset in 30 min.");
}

TEST_F(Clock, CompletionNoticeOncePerDay) {
    long long now = at(2026, 12, 6, 23);
    checkResets(now, st);
    for (int i = 0; i < 3; i++) checked[i] = 1;
    EXPECT_EQ(streakNotice(2, st, &n), 0);  // one daily task still open
    checked[3] = 1;
    histWrite(now, st);
    histRefresh(now, st);
    ASSERT_EQ(streakNotice(3, st, &n), 1);
    EXPECT_EQ(std::u16string(n.text), u"Daily routine done! Streak: 1 day.");
    EXPECT_EQ(streakNotice(3, st, &n), 0);
    // an optional task never announces the day
    streakToastStamp = 0;
    checked[4] = 1;
    for (int i : {4, -1, MAX_TASKS}) EXPECT_EQ(streakNotice(i, st, &n), 0) << i;
}

// One rule for local times that do not exist or exist twice, whatever the runtime's mktime
// does (the native library and the Windows runtime differ): the skipped hour is read with the
// offset before the change, the repeated hour is its first occurrence.
TEST(LocalTime, OneRuleForTheSkippedAndTheRepeatedHour) {
    struct {
        const char* zone;
        int y, mo, d, h, mi;
        long long want;  // UTC
    } cases[] = {
        {"Europe/Madrid", 2026, 3, 29, 2, 30, utc(2026, 3, 29, 1, 30)},     // skipped: 03:30 CEST
        {"Europe/Madrid", 2026, 10, 25, 2, 30, utc(2026, 10, 25, 0, 30)},   // repeated: the CEST one
        {"America/New_York", 2026, 11, 1, 1, 30, utc(2026, 11, 1, 5, 30)},
        {"Australia/Lord_Howe", 2026, 10, 4, 2, 15, utc(2026, 10, 3, 15, 45)},  // a half-hour change
        {"Europe/Madrid", 2026, 13, 0, 33, 0, utc(2027, 1, 1, 8, 0)},  // normalised as mktime does
    };
    for (auto& c : cases) {
        TzScope tz(c.zone);
        std::tm f{};
        f.tm_year = c.y - 1900, f.tm_mon = c.mo - 1, f.tm_mday = c.d, f.tm_hour = c.h, f.tm_min = c.mi;
        f.tm_isdst = 1;  // not read
        long long got = 0;
        ASSERT_TRUE(fromLocal(f, &got));
        EXPECT_EQ(got, c.want) << c.zone << " " << c.mo << "-" << c.d << " " << c.h << ":" << c.mi;
    }
    // and the same rule on every change of several zones, found by scanning the year
    for (const char* zone : {"Europe/Madrid", "America/New_York", "Australia/Lord_Howe", "America/Sao_Paulo"}) {
        TzScope z(zone);
        std::string problems;
        int changes = checkLocalTimeRule(2026, &problems);
        EXPECT_EQ(problems, "") << zone;
        EXPECT_EQ(changes, std::string(zone) == "America/Sao_Paulo" ? 0 : 2) << zone;
    }
}
