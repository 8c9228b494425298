#include "checklist/clock.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "base/state.h"
#include "checklist/catalogue.h"
#include "l10n/ui.h"
#include "checklist/persist.h"

int curStreak;
unsigned char histCell[HIST_CELLS];
std::vector<PeriodMemo> prevDaily, prevWeekly;

bool toLocal(long long t, std::tm* out) {
    std::time_t tt = (std::time_t)t;
    if ((long long)tt != t) return false;
    const std::tm* p = std::localtime(&tt);
    if (!p) return false;
    *out = *p;
    return true;
}

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (month 1..12).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = unsigned(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

// Calendar fields (normalised as mktime normalises them) as seconds on a clock without zones.
bool naive(const std::tm& a, long long* out) {
    long long y = (long long)a.tm_year + 1900, mon = a.tm_mon;
    y += mon / 12;
    mon %= 12;
    if (mon < 0) {
        mon += 12;
        y--;
    }
    if (y < -100000 || y > 100000) return false;
    long long days = daysFromCivil(y, unsigned(mon + 1), 1) + a.tm_mday - 1;
    *out = days * 86400 + (long long)a.tm_hour * 3600 + (long long)a.tm_min * 60 + a.tm_sec;
    return true;
}

// The zone's offset at instant t (local clock minus UTC), in seconds.
bool offsetAt(long long t, long long* off) {
    std::tm a;
    long long l;
    if (!toLocal(t, &a) || !naive(a, &l)) return false;
    *off = l - t;
    return true;
}

}  // namespace

bool fromLocal(const std::tm& fields, long long* out) {
    long long l;
    if (!naive(fields, &l)) return false;
    // The offsets a day before and a day after: the instant lies between them, and no zone
    // changes its offset twice in two days.
    long long before, after;
    if (!offsetAt(l - 86400, &before) || !offsetAt(l + 86400, &after)) return false;
    long long a = l - before, b = l - after, oa, ob;
    bool aFits = offsetAt(a, &oa) && oa == before, bFits = offsetAt(b, &ob) && ob == after;
    if (aFits && bFits) *out = a < b ? a : b;  // the repeated hour: the first of the two
    else if (bFits) *out = b;
    else *out = a;  // only a fits, or the skipped hour: read with the offset before the change
    return true;
}

namespace {

int hourOfReset() { return resetHour >= 0 && resetHour <= 23 ? resetHour : 9; }

// A reset hour in UTC: the periods are counted on the UTC calendar, so daylight saving never
// moves them. Instants are taken in years 1 to 9999 only.
constexpr long long DAY = 86400;
constexpr long long UTC_FIRST = -62135596800LL, UTC_LAST = 253402300799LL;

long long floorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

bool utcDailyOf(long long t, long long* out) {
    if (t < UTC_FIRST + 8 * DAY || t > UTC_LAST - 8 * DAY) return false;
    long long r = floorDiv(t, DAY) * DAY + hourOfReset() * 3600LL;
    *out = t >= r ? r : r - DAY;
    return true;
}

bool utcWeeklyOf(long long t, long long* out) {
    long long d;
    if (!utcDailyOf(t, &d)) return false;
    long long wday = (floorDiv(d, DAY) + 4) % 7;  // 1970-01-01 was a Thursday; 0 is Sunday
    if (wday < 0) wday += 7;
    *out = d - ((wday + 5) % 7) * DAY;
    return true;
}

// The proleptic Gregorian date of day number z (days from 1970-01-01) as year*10000+month*100+day.
long long civilKey(long long z) {
    z += 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153, d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
    return (yoe + era * 400 + (m <= 2)) * 10000 + m * 100 + d;
}

// The game day of a UTC reset moment r: its date in the zone's standard time (the smaller of
// the offsets in January and July of that year). The local date would name two neighbouring
// game days alike when the reset lies within an hour of local midnight and the clocks change
// in between; the standard time's date names every game day once, and it is the local date
// for most hours and zones.
int utcGameDayKey(long long r) {
    long long y = civilKey(floorDiv(r, DAY)) / 10000, jan, jul;
    if (!offsetAt(daysFromCivil(y, 1, 1) * DAY, &jan) || !offsetAt(daysFromCivil(y, 7, 1) * DAY, &jul)) return 0;
    long long key = civilKey(floorDiv(r + (jan < jul ? jan : jul), DAY));
    return key >= 10000 && key <= 99991231 ? int(key) : 0;
}

// The local day of t shifted by days, at the reset hour.
bool resetOn(const std::tm& day, int days, long long* out) {
    std::tm a = day;
    a.tm_mday += days;
    a.tm_hour = hourOfReset();
    a.tm_min = 0;
    a.tm_sec = 0;
    return fromLocal(a, out);
}

bool dailyOf(long long t, long long* out) {
    if (resetUtc) return utcDailyOf(t, out);
    std::tm a;
    if (!toLocal(t, &a)) return false;
    long long r;
    if (!resetOn(a, 0, &r)) return false;
    // The calendar day is taken again from t: fromLocal may have moved the hour out of a
    // daylight-saving gap, and yesterday's reset is at the reset hour all the same.
    if (t >= r) {
        *out = r;
        return true;
    }
    return resetOn(a, -1, out);
}

bool weeklyOf(long long t, long long* out) {
    if (resetUtc) return utcWeeklyOf(t, out);
    long long d;
    std::tm a;
    if (!dailyOf(t, &d) || !toLocal(d, &a)) return false;
    return resetOn(a, -((a.tm_wday + 5) % 7), out);
}

// The reset that follows the one at moment r, days later in local calendar terms.
long long after(long long r, int days) {
    if (resetUtc) return r + days * DAY;
    std::tm a;
    long long out;
    if (!toLocal(r, &a) || !resetOn(a, days, &out)) return 0;
    return out;
}

std::string dayKeyName(int key) { return "d" + std::to_string(key); }

// sscanf-style "%d": leading white space, optional sign, at least one digit; saturates.
bool scanInt(const char16_t*& p, int* out) {
    const char16_t* q = p;
    while (*q == u' ' || (*q >= u'\t' && *q <= u'\r')) q++;
    bool neg = false;
    if (*q == u'+' || *q == u'-') neg = *q++ == u'-';
    if (*q < u'0' || *q > u'9') return false;
    long long v = 0;
    for (; *q >= u'0' && *q <= u'9'; q++)
        if (v <= INT_MAX) v = v * 10 + (*q - u'0');
    if (v > INT_MAX) v = INT_MAX;
    *out = int(neg ? -v : v);
    p = q;
    return true;
}

}  // namespace

long long lastDaily(long long t) {
    long long r;
    return dailyOf(t, &r) ? r : 0;
}

long long lastWeekly(long long t) {
    long long r;
    return weeklyOf(t, &r) ? r : 0;
}

long long nextDaily(long long t) {
    long long r;
    return dailyOf(t, &r) ? after(r, 1) : 0;
}

long long nextWeekly(long long t) {
    long long r;
    return weeklyOf(t, &r) ? after(r, 7) : 0;
}

std::u16string memoText(const std::vector<PeriodMemo>& ms) {
    std::u16string r;
    for (const PeriodMemo& m : ms) {
        if (!r.empty()) r += u";";
        r += u16num(m.stamp) + u"|" + u16num(m.shown) + u"|" + u16of(std::to_string(m.done).c_str());
    }
    return r;
}

std::vector<PeriodMemo> memoParse(const std::u16string& s) {
    std::vector<PeriodMemo> out;
    size_t pos = 0;
    while (pos < s.size() && out.size() < MEMO_MAX) {
        size_t end = s.find(u';', pos);
        if (end == std::u16string::npos) end = s.size();
        std::u16string item = s.substr(pos, end - pos);
        pos = end + 1;
        size_t a = item.find(u'|'), b = a == std::u16string::npos ? a : item.find(u'|', a + 1);
        if (b == std::u16string::npos) continue;
        PeriodMemo m;
        m.stamp = u16toll(item.substr(0, a));
        m.shown = int(u16toll(item.substr(a + 1, b - a - 1))) & 3;
        for (size_t i = b + 1; i < item.size() && item[i] >= u'0' && item[i] <= u'9'; i++)
            m.done = m.done * 10 + (item[i] - u'0');
        m.done &= (1ull << MAX_TASKS) - 1;
        if (m.stamp) out.push_back(m);
    }
    return out;
}

namespace {

// Moves the flags of one kind of period from the period at stamp to the one at next. The
// ticks left behind are remembered; coming back to a remembered period gives them back.
void changePeriod(long long& stamp, long long next, std::vector<PeriodMemo>& memos, bool weekly) {
    auto mine = [&](int i) { return weekly ? tasks[i].kind == 2 : tasks[i].kind == 0 || tasks[i].kind == 1; };
    long long* remind = weekly ? &remindWeeklyStamp : &remindDailyStamp;
    PeriodMemo left;
    left.stamp = stamp;
    for (int i = 0; i < NT; i++)
        if (mine(i) && checked[i]) left.done |= 1ull << i;
    if (stamp && *remind == stamp) left.shown |= 1;
    if (!weekly && stamp && streakToastStamp == stamp) left.shown |= 2;
    PeriodMemo memo;
    bool back = false;
    for (size_t k = 0; k < memos.size(); k++)
        if (memos[k].stamp == next) {
            memo = memos[k];
            back = true;
            memos.erase(memos.begin() + long(k));
            break;
        }
    for (int i = 0; i < NT; i++)
        if (mine(i)) checked[i] = back ? int((memo.done >> i) & 1) : 0;
    if (back && (memo.shown & 1)) *remind = next;
    if (back && !weekly && (memo.shown & 2)) streakToastStamp = next;
    if (left.stamp) {
        memos.insert(memos.begin(), left);
        if (memos.size() > MEMO_MAX) memos.resize(MEMO_MAX);
    }
    stamp = next;
}

}  // namespace

int checkResets(long long now, Store& st) {
    long long d = lastDaily(now), w = lastWeekly(now);
    if (dailyStamp == d && weeklyStamp == w) return 0;
    StoreBatch batch(st);
    if (dailyStamp != d) changePeriod(dailyStamp, d, prevDaily, false);
    if (weeklyStamp != w) changePeriod(weeklyStamp, w, prevWeekly, true);
    if (remindDailyStamp == dailyStamp) st.put("estado", "avisoDiario", u16num(remindDailyStamp));
    if (remindWeeklyStamp == weeklyStamp) st.put("estado", "avisoSemanal", u16num(remindWeeklyStamp));
    if (streakToastStamp == dailyStamp) st.put("estado", "avisoRacha", u16num(streakToastStamp));
    saveState(st);
    histRefresh(now, st);
    return 1;
}

int gameDayKey(long long now, int n) {
    long long d, r;
    std::tm a;
    if (!dailyOf(now, &d)) return 0;
    if (resetUtc) return utcGameDayKey(d - n * DAY);
    if (!toLocal(d, &a)) return 0;
    a.tm_hour = 12;  // midday: no daylight-saving change can move the date
    a.tm_min = a.tm_sec = 0;
    a.tm_mday -= n;
    if (!fromLocal(a, &r) || !toLocal(r, &a)) return 0;
    if (a.tm_year < -1900 || a.tm_year > 9999 - 1900) return 0;
    return (a.tm_year + 1900) * 10000 + (a.tm_mon + 1) * 100 + a.tm_mday;
}

void histWrite(long long now, Store& st) {
    int key = gameDayKey(now, 0);
    if (key <= 0) return;
    int done, total, opt;
    coreCount(&done, &total, &opt);
    StoreBatch batch(st);
    char val[48];
    std::snprintf(val, sizeof val, "%d/%d/%d", done, total, opt);
    st.put("historial", dayKeyName(key).c_str(), u16of(val));

    int old = gameDayKey(now, HIST_KEEP);
    if (old <= 0) return;
    // The sweep: an entry goes when it is 90 game days old or older (also one left behind by
    // a day without a run) and is not among the 90 newest entries. "Old" is measured from the
    // system clock, which may be wrong: a clock months ahead makes every entry look old, but
    // the 90 newest are kept all the same, so each day written under a wrong clock costs at
    // most the oldest entry, never the history and the streak.
    std::vector<long long> days;
    for (const auto& kv : st.section("historial")) {
        const std::u16string& k = kv.first;
        if (k.size() < 2 || k.size() > 9 || (k[0] != u'd' && k[0] != u'D')) continue;
        long long v = 0;
        size_t i = 1;
        for (; i < k.size() && k[i] >= u'0' && k[i] <= u'9'; i++) v = v * 10 + (k[i] - u'0');
        if (i == k.size()) days.push_back(v);
    }
    std::sort(days.begin(), days.end(), std::greater<long long>());
    for (size_t r = HIST_KEEP; r < days.size(); r++)
        if (days[r] <= old) st.delKey("historial", ("d" + std::to_string(days[r])).c_str());
}

int histState(long long now, Store& st, int n) {
    int key = gameDayKey(now, n);
    if (key <= 0) return 0;
    std::u16string v = st.getStr("historial", dayKeyName(key).c_str(), u"", 33);
    if (v.empty()) return 0;
    int num[3] = {0, 0, 0};
    const char16_t* p = v.c_str();
    for (int i = 0; i < 3; i++) {
        if (i > 0) {
            if (*p != u'/') break;
            p++;
        }
        if (!scanInt(p, &num[i])) break;
    }
    int done = num[0], total = num[1], opt = num[2];
    if (total > 0 && done >= total) return 2;
    return done > 0 || opt > 0 ? 1 : 0;
}

void histRefresh(long long now, Store& st) {
    for (int n = 0; n < HIST_CELLS; n++) histCell[HIST_CELLS - 1 - n] = (unsigned char)histState(now, st, n);
    int s;
    // An incomplete today does not break the streak until the day is over.
    if (histCell[HIST_CELLS - 1] == 2) {
        s = 1;
        while (s < 1000 && histState(now, st, s) == 2) s++;
    } else {
        s = 0;
        while (s < 999 && histState(now, st, s + 1) == 2) s++;
    }
    curStreak = s;
    if (bestStreak < s) {
        bestStreak = s;
        st.put("estado", "mejorRacha", u16num(s));
    }
}

void streakText(char16_t* buf) {
    if (curStreak == 1)
        fmtText(buf, STREAK_TEXT, T(119), {});
    else if (curStreak == 0)  // its own text: French says "0 jour"
        fmtText(buf, STREAK_TEXT, T(261), {});
    else
        fmtText(buf, STREAK_TEXT, T(120), {curStreak});
}

void fmtDur(char16_t* buf, long long seconds) {
    long long s = seconds < 0 ? 0 : seconds;
    if (s > LLONG_MAX - 59) s = LLONG_MAX - 59;
    s += 59;
    long long m = s / 60, h = m / 60;
    if (seconds > 86340)
        fmtText(buf, DUR_TEXT, u"%lld%ls %lld%ls", {h / 24, T(259), h % 24, T(260)});
    else if (h == 0)
        fmtText(buf, DUR_TEXT, u"%lld min", {m});
    else
        fmtText(buf, DUR_TEXT, u"%lld%ls %02lldm", {h, T(260), m - 60 * h});
}

void todayStr(char* buf, long long now) {
    std::tm a;
    buf[0] = 0;
    if (!toLocal(now, &a) || a.tm_year < -1900 || a.tm_year > 9999 - 1900) return;
    char tmp[48];
    std::snprintf(tmp, sizeof tmp, "%04d-%02d-%02d", a.tm_year + 1900, a.tm_mon + 1, a.tm_mday);
    std::memcpy(buf, tmp, DAY_TEXT - 1);
    buf[DAY_TEXT - 1] = 0;
}

int remindCheck(long long now, Store& st, Notice* out) {
    if (remindMin <= 0) return 0;
    char16_t dur[DUR_TEXT];
    int done, total, opt;
    coreCount(&done, &total, &opt);
    long long next = nextDaily(now);
    if (next != 0) {
        long long left = next - now;
        if (left <= (long long)remindMin * 60 && done < total && remindDailyStamp != dailyStamp) {
            remindDailyStamp = dailyStamp;
            st.put("estado", "avisoDiario", u16num(remindDailyStamp));
            fmtDur(dur, left);
            fmtText(out->title, 64, T(143), {});
            fmtText(out->text, 256, T(144), {total - done, dur});
            return 1;
        }
    }
    next = nextWeekly(now);
    if (next == 0) return 0;
    int pending = 0;
    for (int i = 0; i < NT; i++)
        if (tasks[i].kind == 2 && !checked[i] && !tHidden[i]) pending++;
    long long left = next - now;
    if (left <= 86400 && pending > 0 && remindWeeklyStamp != weeklyStamp) {
        remindWeeklyStamp = weeklyStamp;
        st.put("estado", "avisoSemanal", u16num(remindWeeklyStamp));
        fmtDur(dur, left);
        fmtText(out->title, 64, T(143), {});
        fmtText(out->text, 256, T(145), {pending, dur});
        return 1;
    }
    return 0;
}

int streakNotice(int i, Store& st, Notice* out) {
    if (i < 0 || i >= NT || tasks[i].kind != 0 || !checked[i] || tHidden[i]) return 0;
    if (!dailyComplete() || streakToastStamp == dailyStamp) return 0;
    streakToastStamp = dailyStamp;
    st.put("estado", "avisoRacha", u16num(streakToastStamp));
    char16_t streak[STREAK_TEXT];
    streakText(streak);
    fmtText(out->title, 64, u"Zenvoral", {});
    fmtText(out->text, 256, T(146), {streak});
    return 1;
}

void fmtText(char16_t* dst, int cap, const char16_t* fmt, std::initializer_list<FmtArg> args) {
    if (!dst || cap <= 0) return;
    int o = 0;
    bool cut = false;
    auto put = [&](char16_t c) {
        if (o < cap - 1)
            dst[o++] = c;
        else
            cut = true;
    };
    auto arg = args.begin();
    const char16_t* p = fmt ? fmt : u"";
    while (*p) {
        if (*p != u'%') {
            put(*p++);
            continue;
        }
        const char16_t* start = p++;
        if (*p == u'%') {
            put(u'%');
            p++;
            continue;
        }
        bool zero = *p == u'0';
        if (zero) p++;
        int width = 0;
        for (; *p >= u'0' && *p <= u'9'; p++) width = width < 64 ? width * 10 + (*p - u'0') : width;
        if (width > 64) width = 64;
        while (*p == u'l') p++;
        if (*p == u'd' || *p == u's') {
            bool num = *p++ == u'd';
            if (arg == args.end()) continue;
            const FmtArg& a = *arg++;
            char16_t tmp[24];
            int n = 0;
            const char16_t* text = a.str;
            if (num || !text) {
                unsigned long long v = a.num < 0 ? 0ULL - (unsigned long long)a.num : (unsigned long long)a.num;
                do tmp[n++] = char16_t(u'0' + v % 10); while ((v /= 10) != 0);
                int len = n + (a.num < 0 ? 1 : 0);
                if (!zero)
                    for (int k = len; k < width; k++) put(u' ');
                if (a.num < 0) put(u'-');
                if (zero)
                    for (int k = len; k < width; k++) put(u'0');
                while (n > 0) put(tmp[--n]);
            } else {
                int len = 0;
                while (text[len]) len++;
                for (int k = len; k < width; k++) put(u' ');
                for (int k = 0; k < len; k++) put(text[k]);
            }
            continue;
        }
        // Not a conversion we know: print it as written.
        if (*p) p++;
        for (const char16_t* q = start; q < p; q++) put(*q);
    }
    if (cut && o > 0 && dst[o - 1] >= 0xD800 && dst[o - 1] <= 0xDBFF) o--;
    dst[o] = 0;
}
