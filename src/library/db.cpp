#include "library/db.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/store.h"
#include "datapack/install.h"
#include "datapack/news.h"
#include "datapack/pack.h"
#include "l10n/tr.h"
#include "l10n/ui.h"
#include "base/utf.h"
#include "library/search.h"
#include "library/videos.h"

const char* const CAT_KEY[CAT_COUNT] = {"guia",          "gearset",         "marca", "arma",  "equipo",
                                        "talentos_arma", "talentos_equipo", "mod",   "captura", "tabla",
                                        "video",         "novedad",         "creador", "credito"};

std::vector<LibEntry> DB;
int DBN, dbDone, dbGen;
std::vector<std::u16string> wTitle, wSub, wBody, wTitleEs, wFold, wNames;
std::vector<unsigned char> oldF, liveF;
std::vector<int> pkEntry;
int recent[RECENT_MAX];
int nRecent;

namespace {

constexpr int CAT_SHOT = 8;
constexpr int UI_CAT_NAME = 77, UI_WHEN = 253, UI_STARTS = 254, UI_ENDS = 255, UI_APPROX = 258;

std::vector<int> dbRec;  // per entry: the pack record behind it, -1 for built-in entries

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// The localized pack value of key in language l (pget reads the current language).
const char* pgetIn(const PackBlock* b, const char* key, int l) {
    int keep = lang;
    lang = l;
    const char* v = pget(b, key);
    lang = keep;
    return v;
}

// A pack entry's title in language l: "titulo", failing that "corto"; a creator's "nombre".
const char* packTitle(const PackBlock* b, int l) {
    if (std::strcmp(b->kind, "creador") == 0) return praw(b, "nombre");
    const char* t = pgetIn(b, "titulo", l);
    return t ? t : pgetIn(b, "corto", l);
}

const char* orEmpty(const char* s) { return s ? s : ""; }

// The display name of category c in language l (UTF-8), at most 80 characters.
std::string catName(int c, int l) {
    const char* s = uiPick(UI_TXT + (UI_CAT_NAME + c) * LANG_COUNT, l);
    size_t n = 0, chars = 0;
    while (s[n] && chars < 80) {
        n++;
        while ((s[n] & 0xC0) == 0x80) n++;  // a whole character at a time
        chars++;
    }
    return std::string(s, n);
}

// fmt (a UI text) with its first "%ls" replaced by arg.
std::u16string fill(const char16_t* fmt, const char16_t* arg) {
    std::u16string s = fmt;
    size_t at = s.find(u"%ls");
    if (at != std::u16string::npos) s.replace(at, 3, arg);
    return s;
}

// The largest number written right after "TU" in text, or -1.
int lastTu(const char* text) {
    int best = -1;
    for (const char* p = std::strstr(text, "TU"); p; p = std::strstr(p + 2, "TU")) {
        const char* q = p + 2;
        if (*q < '0' || *q > '9') continue;
        int v = 0;
        for (; *q >= '0' && *q <= '9'; q++)
            if (v < 100000) v = v * 10 + (*q - '0');
        if (v > best) best = v;
    }
    return best;
}

// "When (your time)" lines for a dated pack record, CR LF line ends; empty without dates.
std::u16string whenBlock(const PackBlock* b) {
    long long ini = pkTime(b, "inicio"), fin = pkTime(b, "fin");
    if (!ini && !fin) return u"";
    std::u16string s = std::u16string(T(UI_WHEN)) + u"\r\n";
    char16_t buf[EV_TEXT];
    if (ini) {
        evLocal(ini, buf);
        s += fill(T(UI_STARTS), buf) + u"\r\n";
    }
    if (fin && fin != ini) {
        evLocal(fin, buf);
        s += fill(T(UI_ENDS), buf) + u"\r\n";
    }
    if (pyes(b, "aprox")) s += std::u16string(T(UI_APPROX)) + u"\r\n";
    return s + u"\r\n";
}

void addPackEntries() {
    if (pkN < 2) return;
    for (int r = 1; r < pkN; r++) {
        const PackBlock* b = &pk[r];
        LibEntry e{};
        bool news = std::strcmp(b->kind, "noticia") == 0, guide = std::strcmp(b->kind, "guia") == 0;
        if (news || guide) {
            const char* t = packTitle(b, lang);
            if (!t) continue;
            e.cat = news ? CAT_NEWS : packCategory(praw(b, "cat"));
            e.title = t;
            e.link = praw(b, "enlace");
            e.table = pget(b, "tabla");
            // a guide may bring one video of its own: its id and the second it starts at
            int ref = guide ? vidPackAdd(praw(b, "video"), vidStartOf(praw(b, "segundo"))) : -1;
            if (ref >= 0) {
                e.vidFirst = ref;
                e.vidCount = 1;
            }
        } else if (std::strcmp(b->kind, "creador") == 0) {
            const char* n = praw(b, "nombre");
            if (!n || !*n) continue;
            e.cat = CAT_CREATOR;
            e.title = n;
        } else {
            continue;
        }
        e.sub = orEmpty(pget(b, "sub"));
        e.text = orEmpty(pget(b, "texto"));
        pkEntry[r] = int(DB.size());
        DB.push_back(e);
        dbRec.push_back(r);
    }
}

// Title and subtitle in language l, two spaces after each, then the category's name.
void appendNames(std::string& u8, int i, int l) {
    const LibEntry& e = DB[i];
    int r = dbRec[i];
    if (r >= 0) {
        const PackBlock* b = &pk[r];
        u8 += orEmpty(packTitle(b, l));
        u8 += "  ";
        u8 += orEmpty(pgetIn(b, "sub", l));
    } else {
        trSplitTo(u8, e.title, TR_WHOLE, l);
        u8 += "  ";
        trSplitTo(u8, e.sub, TR_SUB, l);
    }
    u8 += "  ";
}

void derive(int i) {
    const LibEntry& e = DB[i];
    int r = dbRec[i];
    const PackBlock* b = r >= 0 ? &pk[r] : nullptr;
    std::string u8;

    // The key and the outdated rule read the Spanish text, whatever the language.
    const char* titleEs = b ? orEmpty(packTitle(b, 0)) : e.title;
    const char* subEs = b ? orEmpty(pgetIn(b, "sub", 0)) : e.sub;
    u8wAppend(wTitleEs[i], titleEs, 0);
    oldF[i] = (unsigned char)isOutdated(titleEs, subEs, b ? praw(b, "temporada") : nullptr);

    trSplitTo(u8, e.title, TR_WHOLE, lang);
    u8wAppend(wTitle[i], u8, 0);
    u8.clear();
    trSplitTo(u8, e.sub, TR_SUB, lang);
    u8wAppend(wSub[i], u8, 0);
    u8.clear();
    trSplitTo(u8, e.text, TR_LINES, lang);
    if (b) wBody[i] = whenBlock(b);
    u8wAppend(wBody[i], u8, 1);

    // search text: title, subtitle, body and table on lines of their own, then the names
    std::u16string& f = wFold[i];
    f.reserve(wTitle[i].size() + wSub[i].size() + wBody[i].size() + 64);
    f = wTitle[i];
    f += u'\n';
    f += wSub[i];
    f += u'\n';
    f += wBody[i];
    f += u'\n';
    if (e.table) {
        u8.clear();
        trTableTo(u8, e.table, lang);
        u8wAppend(f, u8, 0);
    }
    f += u'\n';
    foldInPlace(f);

    std::u16string& names = wNames[i];
    for (int l = 0; l < LANG_COUNT; l++) {
        u8.clear();
        appendNames(u8, i, l);
        if (e.cat >= 0 && e.cat < CAT_COUNT) u8 += catName(e.cat, l);
        u8 += "  ";
        u8wAppend(names, u8, 0);
    }
    foldInPlace(names);
    f += names;
}

void readRecent(Store* st) {
    nRecent = 0;
    if (!st) return;
    for (int k = 0; k < RECENT_MAX; k++) {
        char key[16];
        std::snprintf(key, sizeof key, "r%d", k);
        std::u16string v = st->getStr("recientes", key, u"", 301);
        if (v.empty()) break;
        int i = entryByKey(v.c_str());
        bool dup = false;
        for (int j = 0; j < nRecent; j++) dup |= recent[j] == i;
        if (i >= 0 && !dup) recent[nRecent++] = i;
    }
}

}  // namespace

int packCategory(const char* v) {
    if (!v || !*v) return CAT_NEWS;
    if (*v >= '0' && *v <= '9') {
        long n = 0;
        for (const char* p = v; *p >= '0' && *p <= '9'; p++)
            if (n < 1000) n = n * 10 + (*p - '0');
        return n < CAT_COUNT && n != CAT_SHOT ? int(n) : CAT_NEWS;
    }
    for (int c = 0; c < CAT_COUNT; c++) {
        const char* k = CAT_KEY[c];
        size_t n = std::strlen(k), j = 0;
        while (j < n && v[j] && lowerAscii(v[j]) == k[j]) j++;
        if (j == n) return c == CAT_SHOT ? CAT_NEWS : c;
    }
    return CAT_NEWS;
}

int isOutdated(const char* title, const char* sub, const char* season) {
    char text[1200];
    std::snprintf(text, sizeof text, "%s | %s", orEmpty(title), orEmpty(sub));
    static const char* const marks[] = {"No actualizado", "antigua", "Antigua", "versi\xC3\xB3n anterior",
                                        "Archivo de builds"};
    for (const char* m : marks)
        if (std::strstr(text, m)) return 1;
    int s = season ? seasonIdx(season) : -1;
    if (s < 0) s = seasonIdx(text);
    if (s >= 0 && s < pkSeason - pkWindow + 1) return 1;
    int tu = lastTu(text);
    return tu >= 0 && tu < pkTu - pkWindow + 1 ? 1 : 0;
}

void dbInit(Store* st) {
    DB.assign(DB_BUILTIN, DB_BUILTIN + DB_BUILTIN_N);
    dbRec.assign(DB.size(), -1);
    pkEntry.assign(size_t(pkN > 0 ? pkN : 0) + 1, -1);
    vidPackClear();
    addPackEntries();
    DBN = int(DB.size());
    dbGen++;
    dbDone = 1;
    size_t n = size_t(DBN);
    for (auto* v : {&wTitle, &wSub, &wBody, &wTitleEs, &wFold, &wNames}) v->assign(n, std::u16string());
    for (auto* v : {&oldF, &liveF}) v->assign(n, 0);
    for (int i = 0; i < DBN; i++) derive(i);
    searchIndex();
    std::vector<std::u16string> keys;
    keys.reserve(n);
    for (int i = 0; i < DBN; i++) keys.push_back(entryKey(i));
    buildsAttach(std::move(keys));
    if (st) buildsLoad(*st);
    readRecent(st);
}

void dbFree() {
    for (auto* v : {&wTitle, &wSub, &wBody, &wTitleEs, &wFold, &wNames}) std::vector<std::u16string>().swap(*v);
    for (auto* v : {&oldF, &liveF}) std::vector<unsigned char>().swap(*v);
    buildsAttach({});
    DB.clear();
    dbRec.clear();
    pkEntry.clear();
    vidPackClear();
    DBN = 0;
    nRecent = 0;
    dbDone = 0;
    searchIndex();
}

std::u16string entryKey(int i) {
    if (i < 0 || i >= DBN) return u"";
    char num[16];
    std::snprintf(num, sizeof num, "%d|", DB[i].cat);
    return u8w(num) + wTitleEs[i];
}

int entryByKey(const char16_t* key) {
    if (!key) return -1;
    // "cat|title": the number as %d writes it, then the title exactly
    const char16_t* bar = key;
    while (*bar && *bar != u'|') bar++;
    if (!*bar) return -1;
    std::string num;
    for (const char16_t* p = key; p < bar; p++) num.push_back(char(*p < 128 ? *p : '?'));
    std::u16string_view title(bar + 1);
    char want[16];
    for (int i = 0; i < DBN; i++) {
        std::snprintf(want, sizeof want, "%d", DB[i].cat);
        if (num == want && title == wTitleEs[i]) return i;
    }
    return -1;
}

int libPackEntry(int rec, Store* st) {
    if (!dbDone) dbInit(st);
    if (rec < 0 || rec >= pkN || size_t(rec) >= pkEntry.size()) return -1;
    return pkEntry[rec];
}

void recentPush(int i, Store* st) {
    if (i < 0 || i >= DBN) return;
    int j = 0;
    while (j < nRecent && recent[j] != i) j++;
    if (j == nRecent && nRecent < RECENT_MAX) nRecent++;
    if (j >= RECENT_MAX) j = RECENT_MAX - 1;  // full: the oldest drops
    for (; j > 0; j--) recent[j] = recent[j - 1];
    recent[0] = i;
    if (!st) return;
    StoreBatch batch(*st);  // the whole list in one write
    st->delSection("recientes");
    for (int k = 0; k < nRecent; k++) {
        char key[16];
        std::snprintf(key, sizeof key, "r%d", k);
        st->put("recientes", key, entryKey(recent[k]));
    }
}
