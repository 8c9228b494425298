#include "datapack/news.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "checklist/clock.h"
#include "datapack/pack.h"
#include "l10n/ui.h"
#include "base/utf.h"

int nNews;
char16_t newsTxt[NEWS_MAX][NEWS_TEXT];
int newsHot[NEWS_MAX];
long long newsIni[NEWS_MAX];
long long newsFin[NEWS_MAX];
int newsApx[NEWS_MAX];
int newsBlk[NEWS_MAX];
char newsDay[11];

void (*evLocalHook)(long long t, char16_t* dst, int cap);

namespace {

long long newsMinute = -1;  // the minute newsTick last looked at

bool set(const char* s) { return s && *s; }

// The item's reason to stay off the checklist today, if any.
bool hidden(const PackBlock* b, long long now, const char* today, char weekday) {
    const char* c = praw(b, "checklist");
    if (c && (c[0] == '0' || c[0] == 'N' || c[0] == 'n')) return true;
    const char* desde = praw(b, "desde");
    const char* hasta = praw(b, "hasta");
    const char* dias = praw(b, "dias");
    long long ini = pkTime(b, "inicio"), fin = pkTime(b, "fin");
    if (fin && now >= fin) return true;
    if (ini) {
        if (now < ini - NEWS_LEAD) return true;
    } else if (set(desde) && std::strncmp(today, desde, 10) < 0) {
        return true;
    }
    if (!fin && set(hasta) && std::strncmp(today, hasta, 10) > 0) return true;
    if (set(dias) && (!weekday || !std::strchr(dias, weekday))) return true;
    return false;
}

void defaultLocal(long long t, char16_t* dst, int cap) {
    std::tm a;
    dst[0] = 0;
    if (!toLocal(t, &a) || a.tm_year < -1900 || a.tm_year > 9999 - 1900) return;
    fmtText(dst, cap, u"%04d-%02d-%02d %02d:%02d", {a.tm_year + 1900, a.tm_mon + 1, a.tm_mday, a.tm_hour, a.tm_min});
}

}  // namespace

void newsRefresh(long long now) {
    nNews = 0;
    char today[DAY_TEXT];
    todayStr(today, now);
    std::tm a;
    char weekday = toLocal(now, &a) ? char(a.tm_wday == 0 ? '7' : '0' + a.tm_wday) : 0;
    for (int r = 1; r < pkN && nNews < NEWS_MAX; r++) {
        const PackBlock* b = &pk[r];
        if (std::strcmp(b->kind, "noticia") != 0 || hidden(b, now, today, weekday)) continue;
        const char* text = pget(b, "corto");
        if (!text) text = pget(b, "titulo");
        if (!text) continue;
        int i = nNews++;
        std::u16string w = u8w(text);
        size_t n = w.size() < NEWS_TEXT - 1 ? w.size() : NEWS_TEXT - 1;
        if (n < w.size() && w[n - 1] >= 0xD800 && w[n - 1] <= 0xDBFF) n--;
        std::memcpy(newsTxt[i], w.data(), n * sizeof(char16_t));
        newsTxt[i][n] = 0;
        newsHot[i] = pyes(b, "destacado");
        newsIni[i] = pkTime(b, "inicio");
        newsFin[i] = pkTime(b, "fin");
        newsApx[i] = pyes(b, "aprox");
        newsBlk[i] = r;
    }
    std::memcpy(newsDay, today, sizeof newsDay);
}

int newsTick(long long now) {
    char today[DAY_TEXT];
    todayStr(today, now);
    if (std::strcmp(today, newsDay) != 0) return 2;
    long long minute = now / 60 - (now % 60 < 0);
    if (minute == newsMinute) return 0;
    newsMinute = minute;
    bool timed = false;
    for (int i = 0; i < nNews; i++) {
        if (newsFin[i] && newsFin[i] <= minute * 60) return 2;
        if (newsIni[i] || newsFin[i]) timed = true;
    }
    return timed ? 1 : 0;
}

int newsCountdown(char16_t* dst, long long ini, long long fin, int apx, long long now) {
    long long left;
    int label;
    if (ini && now < ini) {
        left = ini - now;
        label = 256;
    } else if (fin && now < fin) {
        left = fin - now;
        label = 257;
    } else {
        dst[0] = 0;
        return 0;
    }
    long long s = left < 60 ? 60 : left;
    long long d = s / 86400, h = s % 86400 / 3600, m = s % 3600 / 60;
    char16_t part[40], approx[44];
    if (d > 0)
        fmtText(part, 40, h ? u"%lld %ls %lld %ls" : u"%lld %ls", {d, T(259), h, T(260)});
    else if (h > 0)
        fmtText(part, 40, m ? u"%lld %ls %lld min" : u"%lld %ls", {h, T(260), m});
    else
        fmtText(part, 40, u"%lld min", {m});
    fmtText(approx, 44, apx ? u"~%ls" : u"%ls", {part});
    fmtText(dst, LEFT_TEXT, T(label), {approx});
    return left < 86400 ? 2 : 1;
}

void fmtLeft(char16_t* dst, const char16_t* prefix, long long seconds) {
    long long m = (seconds < 0 ? 0 : seconds) / 60;
    long long d = m / 1440, h = m % 1440 / 60;
    if (d == 0)
        fmtText(dst, LEFT_TEXT, u"%ls %lld%ls %02lldm", {prefix, h, T(260), m % 60});
    else
        fmtText(dst, LEFT_TEXT, u"%ls %lld%ls %lld%ls", {prefix, d, T(259), h, T(260)});
}

void evLocal(long long t, char16_t* dst) {
    if (evLocalHook) {
        dst[0] = 0;
        evLocalHook(t, dst, EV_TEXT);
        dst[EV_TEXT - 1] = 0;
    } else {
        defaultLocal(t, dst, EV_TEXT);
    }
}

void newsClear() {
    nNews = 0;
    newsDay[0] = 0;
    newsMinute = -1;
}
