// The reset clock: daily and weekly reset moments in local time or in UTC, clearing the
// completion flags when a reset has passed, the per-day history in section "historial" with
// the streaks derived from it, the two reminders before a reset and the notice when the day's
// routine is done.
// "now" always comes in as Unix seconds; the shell shows the returned notices as tray balloons.
#pragma once
#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/store.h"

constexpr int HIST_CELLS = 14;    // game days shown: histCell[13] is today
constexpr int HIST_KEEP = 90;     // game days kept in "historial"
constexpr int STREAK_TEXT = 64;   // streakText buffer, terminator included
constexpr int DUR_TEXT = 32;      // fmtDur buffer
constexpr int DAY_TEXT = 11;      // todayStr buffer: "YYYY-MM-DD" and a terminator

extern int curStreak;
extern unsigned char histCell[HIST_CELLS];  // 0 nothing, 1 partial, 2 complete

// Local calendar time of t; false when the runtime cannot represent it.
bool toLocal(long long t, std::tm* out);

// The instant of a local calendar time (fields normalised as mktime normalises them; tm_isdst
// and tm_wday are not read); false when it cannot be represented. This is the program's one
// conversion from local time, with one rule on every platform (the runtimes' mktime differ):
// - a local time that does not exist, in the hour skipped when the clocks go forward, is read
//   with the offset in force before the change, so it lands as long after the change as it
//   was after the start of the skipped hour (02:30 on that night becomes 03:30);
// - a local time that exists twice, in the hour repeated when the clocks go back, is the first
//   of the two (still in summer time).
bool fromLocal(const std::tm& fields, long long* out);

// The latest daily reset (resetHour, local time, or UTC when resetUtc is set) at or before t;
// 0 when the runtime cannot represent the date. With a UTC hour every period is counted on the
// UTC calendar (the week from Tuesday), so the reset keeps its moment across daylight saving.
long long lastDaily(long long t);
// The latest weekly reset (Tuesday at resetHour) at or before t; 0 when unrepresentable.
long long lastWeekly(long long t);
// The reset moments that end the periods containing t.
long long nextDaily(long long t);
long long nextWeekly(long long t);

// What changes of period left behind: the ticks of the last periods the clock left, so that a
// clock that jumps ahead (even over a few periods) and back gives the period its ticks again.
// Stored in "estado" as "diarioAnterior" and "semanalAnterior": "stamp|shown|ticks" items,
// newest first, joined by ";"; ticks is a bit mask of task indices.
struct PeriodMemo {
    long long stamp = 0;           // start of that period
    unsigned long long done = 0;   // bit i: task i was checked
    int shown = 0;                 // 1 its reminder was shown, 2 its completion notice was shown
};
constexpr int MEMO_MAX = 4;
extern std::vector<PeriodMemo> prevDaily, prevWeekly;
std::u16string memoText(const std::vector<PeriodMemo>& m);
std::vector<PeriodMemo> memoParse(const std::u16string& s);

// Applies passed resets to the completion flags, saves and refreshes the streak. Returns 1
// when anything changed (the shell then lays out and repaints the overlay), else 0. A change
// to the period the clock last left (the clock went back) gives it its ticks again rather than
// clearing them.
int checkResets(long long now, Store& st);

// Game-day number (year*10000 + month*100 + day) of the game day n days before the current one:
// the local date of its reset; with a UTC hour, the date of its reset in the zone's standard time.
int gameDayKey(long long now, int n);
// Stores today's counts; deletes the entries 90 game days back and older that are not among
// the 90 newest (a clock running ahead never deletes the history).
void histWrite(long long now, Store& st);
// 0 nothing done, 1 partial, 2 complete, for the game day n days back.
int histState(long long now, Store& st, int n);
// Fills histCell, computes curStreak, raises and persists bestStreak.
void histRefresh(long long now, Store& st);

void streakText(char16_t* buf);                  // STREAK_TEXT characters
// "5 min", "3h 07m", "2d 4h" with the language's day and hour marks (UI texts 259, 260);
// DUR_TEXT characters, rounded up to minutes.
void fmtDur(char16_t* buf, long long seconds);
void todayStr(char* buf, long long now);          // local date "YYYY-MM-DD", "" when unknown

// A balloon for the shell to show.
struct Notice {
    char16_t title[64];
    char16_t text[256];
};

// The reminder due at this timer tick, if any (daily first, at most one). Records its stamp in
// the store. Returns 1 and fills out when a reminder is to be shown.
int remindCheck(long long now, Store& st, Notice* out);
// The completion notice after a click checked task i. Returns 1 and fills out when it is due.
int streakNotice(int i, Store& st, Notice* out);

// Formats an interface text with printf-style %d, %lld, %ls (with an optional 0 flag and width)
// and %%, always terminated within cap characters. Arguments are taken in order; a conversion
// without an argument prints nothing, an unknown one prints as written.
struct FmtArg {
    FmtArg(long long v) : num(v) {}
    FmtArg(int v) : num(v) {}
    FmtArg(const char16_t* s) : str(s ? s : u"") {}
    long long num = 0;
    const char16_t* str = nullptr;
};
void fmtText(char16_t* dst, int cap, const char16_t* fmt, std::initializer_list<FmtArg> args);
