// News on the checklist: which "noticia" records of the pack are shown today (at most three),
// their texts and start/end instants, the countdown texts drawn next to them, the overlay's
// remaining-time line, and local date-time texts for instants. The shell lays out and paints
// the rows and supplies the system's localized date formatter through evLocalHook.
#pragma once

constexpr int NEWS_MAX = 3;
constexpr int NEWS_TEXT = 200;  // characters of an item's text, terminator included
constexpr int LEFT_TEXT = 64;   // fmtLeft and newsCountdown buffers
constexpr int EV_TEXT = 120;    // evLocal buffer
constexpr long long NEWS_LEAD = 604800;  // an item with a start shows this long before it

extern int nNews;
extern char16_t newsTxt[NEWS_MAX][NEWS_TEXT];
extern int newsHot[NEWS_MAX];        // "destacado": drawn highlighted
extern long long newsIni[NEWS_MAX];  // start instant, 0 for none
extern long long newsFin[NEWS_MAX];  // end instant, 0 for none
extern int newsApx[NEWS_MAX];        // the instants are approximate
extern int newsBlk[NEWS_MAX];        // record index in pk
extern char newsDay[11];             // local date of the last selection

// Selects the items shown on the checklist from the pack in force.
void newsRefresh(long long now);

// What the 2-second timer must do about the news: 2 select again (the local date changed or
// a selected item has ended), 1 redraw the countdowns (once a minute while any is shown),
// 0 nothing.
int newsTick(long long now);

// An item's countdown ("in 2 d 3 h", "~5 h 20 min left") into dst (LEFT_TEXT characters); the day
// and hour marks are the language's (UI texts 259 and 260: "2 j 3 h" in French).
// Returns 0 when there is none (dst empty), 2 when less than a day remains, else 1.
int newsCountdown(char16_t* dst, long long ini, long long fin, int apx, long long now);

// "prefix 5h 07m", or "prefix 3d 4h" from a day on, into dst (LEFT_TEXT characters), with the
// language's day and hour marks.
void fmtLeft(char16_t* dst, const char16_t* prefix, long long seconds);

// Instant t as local date and time in the current language, into dst (EV_TEXT characters).
// Goes through evLocalHook when the shell has set one; otherwise "YYYY-MM-DD HH:MM".
extern void (*evLocalHook)(long long t, char16_t* dst, int cap);
void evLocal(long long t, char16_t* dst);

// Forgets the selection (for tests).
void newsClear();
