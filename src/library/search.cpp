#include "library/search.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "l10n/ui.h"
#include "library/db.h"

namespace {

// Latin-1 after lower-casing: accents off, separators to space; 0 = removed.
struct Latin1Fold {
    char16_t to[256];
    Latin1Fold() {
        for (int c = 0; c < 256; c++) to[c] = char16_t(c);
        auto set = [this](const char16_t* from, char16_t t) {
            for (; *from; from++) to[*from] = t;
        };
        set(u"àáâãä", u'a');
        set(u"ç", u'c');
        set(u"èéêë", u'e');
        set(u"ìíîï", u'i');
        set(u"ñ", u'n');
        set(u"òóôõö", u'o');
        set(u"ùúûü", u'u');
        set(u"\t\n\r-/_", u' ');
        to[u'\''] = 0;
    }
};
const Latin1Fold L1;

constexpr int UI_CAT_NAME = 77, UI_LIVE = 195;

// Name tokens of the database: each distinct token once, each entry a list of token ids.
std::u16string tokPool;
std::vector<unsigned> tokOff;  // token k is tokPool[tokOff[k], tokOff[k + 1])
std::vector<unsigned> entTok;  // entry i's tokens are entTok[entStart[i], entStart[i + 1])
std::vector<unsigned> entStart;
int indexGen = -1;

bool tokenBreak(char16_t c) { return c == u' ' || c == u'(' || c == u')' || c == u',' || c == u'.' || c == u':'; }

int tolerance(size_t len) { return len >= 6 ? 2 : len >= 4 ? 1 : 0; }

// One query word against every name token: the best distance, or tol + 1 for "too far".
struct WordDist {
    std::u16string word;
    int tol;
    std::vector<unsigned char> memo;  // per token, 255 = not computed yet

    int against(unsigned k) {
        unsigned char& m = memo[k];
        if (m != 255) return m;
        const char16_t* t = tokPool.data() + tokOff[k];
        int tl = int(tokOff[k + 1] - tokOff[k]);
        int wl = int(word.size());
        int d = 99;
        if (wl <= EDIT_MAX && wl < tl) d = editDist(word.data(), wl, t, wl);  // a prefix of the token
        // the whole token: only when it could be close enough (the distance is at least |tl - wl|)
        if (wl <= EDIT_MAX && tl <= EDIT_MAX && std::abs(tl - wl) <= tol && d > 0)
            d = std::min(d, editDist(word.data(), wl, t, tl));
        m = (unsigned char)std::min(d, tol + 1);
        return m;
    }
};

// The query's words (2 characters or more) and its alternatives: synonyms put in, letters and
// digits apart ("ak47" finds "AK-47", "9mm" finds "9 mm"), and for the typo-tolerant step only,
// the words run together ("head hunter" finds "Headhunter").
struct Query {
    std::u16string text;                      // folded, without leading spaces
    std::vector<std::u16string> variants;     // text, then the alternatives (exact step)
    std::vector<std::vector<int>> words;      // per variant: indexes into dists
    std::vector<WordDist> dists;
};

const std::vector<std::pair<std::u16string, std::u16string>>& foldedSynonyms() {
    static std::vector<std::pair<std::u16string, std::u16string>> s = [] {
        std::vector<std::pair<std::u16string, std::u16string>> v;
        for (int k = 0; k < SYN_N; k++) {
            std::u16string a = SYNONYMS[k].word, b = SYNONYMS[k].target;
            foldInPlace(a);
            foldInPlace(b);
            v.emplace_back(a, b);
        }
        return v;
    }();
    return s;
}

std::vector<std::u16string> splitWords(const std::u16string& s) {
    std::vector<std::u16string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == u' ') i++;
        size_t j = i;
        while (j < s.size() && s[j] != u' ') j++;
        if (j > i) out.emplace_back(s, i, j - i);
        i = j;
    }
    return out;
}

bool asciiLetter(char16_t c) { return c >= u'a' && c <= u'z'; }
bool digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// s with a space between a letter and a digit next to each other.
std::u16string digitsApart(const std::u16string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size(); i++) {
        if (i > 0 && ((asciiLetter(s[i - 1]) && digit(s[i])) || (digit(s[i - 1]) && asciiLetter(s[i])))) out += u' ';
        out += s[i];
    }
    return out;
}

// Replaces every whole-word occurrence of from in s by to.
std::u16string replaceWord(const std::u16string& s, const std::u16string& from, const std::u16string& to) {
    std::u16string out;
    size_t i = 0;
    while (i < s.size()) {
        size_t j = i;
        while (j < s.size() && s[j] != u' ') j++;
        if (s.compare(i, j - i, from) == 0) out += to;
        else out.append(s, i, j - i);
        if (j < s.size()) out += u' ';
        i = j + 1;
    }
    return out;
}

void prepare(Query& q, const char16_t* box) {
    size_t n = 0;
    while (box && box[n] && n < QUERY_MAX) n++;
    q.text.assign(box ? box : u"", n);
    foldInPlace(q.text);
    q.text.erase(0, q.text.find_first_not_of(u' ') == std::u16string::npos ? q.text.size()
                                                                              : q.text.find_first_not_of(u' '));
    if (q.text.empty()) return;
    q.variants.push_back(q.text);
    for (const auto& [from, to] : foldedSynonyms()) {
        for (const std::u16string& w : splitWords(q.text))
            if (w == from && q.variants.size() < 8) {
                q.variants.push_back(replaceWord(q.text, from, to));
                break;
            }
    }
    std::u16string apart = digitsApart(q.text);
    if (apart != q.text) q.variants.push_back(apart);
    std::vector<std::u16string> fuzzy = q.variants;
    std::vector<std::u16string> words = splitWords(q.text);
    if (words.size() >= 2) {
        std::u16string joined;
        for (const std::u16string& w : words) joined += w;
        fuzzy.push_back(joined);
    }
    for (const std::u16string& v : fuzzy) {
        std::vector<int> ids;
        for (const std::u16string& w : splitWords(v)) {
            if (w.size() < 2) continue;
            size_t k = 0;
            while (k < q.dists.size() && q.dists[k].word != w) k++;
            if (k == q.dists.size()) q.dists.push_back({w, tolerance(w.size()), std::vector<unsigned char>(tokOff.empty() ? 0 : tokOff.size() - 1, 255)});
            ids.push_back(int(k));
        }
        q.words.push_back(std::move(ids));
    }
}

// The folded search texts again as one byte per character (characters above U+00FF as 0x01),
// entry after entry with a NUL between them, so a query of Latin-1 characters is found with
// a byte search; entry i is foldByte[foldAt[i], foldAt[i + 1] - 1).
std::string foldByte;
std::vector<size_t> foldAt;
size_t byteFreq[256];  // how often each byte occurs in a sample of foldByte

void buildFoldBytes() {
    size_t total = 0;
    for (int i = 0; i < DBN; i++) total += wFold[i].size() + 1;
    foldByte.resize(total);
    foldAt.assign(1, 0);
    char* o = foldByte.data();
    for (int i = 0; i < DBN; i++) {
        for (char16_t c : wFold[i]) *o++ = char(c < 256 ? c : 1);
        *o++ = 0;
        foldAt.push_back(size_t(o - foldByte.data()));
    }
    // a sample is enough to tell rare bytes from common ones
    std::fill(std::begin(byteFreq), std::end(byteFreq), 0);
    for (size_t k = 0; k < foldByte.size(); k += 7) byteFreq[(unsigned char)foldByte[k]]++;
}

// One variant of the query, ready to be looked for in every entry's search text.
struct Finder {
    std::u16string p;
    std::string bytes;  // p as bytes, when every character is in 2..255
    bool narrow = true;
    size_t anchor = 0;  // the pattern's rarest byte: memchr looks for it, then the rest is compared
    explicit Finder(const std::u16string& pat) : p(pat) {
        for (char16_t c : p) {
            if (c < 2 || c > 255) narrow = false;
            bytes.push_back(char(c));
        }
        for (size_t k = 1; k < bytes.size(); k++)
            if (byteFreq[(unsigned char)bytes[k]] < byteFreq[(unsigned char)bytes[anchor]]) anchor = k;
    }
    bool in(int i) const {
        if (!narrow) return std::u16string_view(wFold[i]).find(p) != std::u16string_view::npos;
        const char* h = foldByte.data() + foldAt[i];
        size_t n = foldAt[i + 1] - 1 - foldAt[i], m = bytes.size();
        if (m > n) return false;
        const char* last = h + (n - m);  // the last place a match can start
        for (const char* at = h; at <= last;) {
            const void* a = std::memchr(at + anchor, bytes[anchor], size_t(last - at) + 1);
            if (!a) return false;
            const char* start = (const char*)a - anchor;
            if (start[0] == bytes[0] && start[m - 1] == bytes[m - 1] && std::memcmp(start, bytes.data(), m) == 0)
                return true;
            at = start + 1;
        }
        return false;
    }
};

// Fuzzy score of entry i (sum of the words' best distances), or -1 when a word is too far.
int fuzzyScore(Query& q, int i) {
    int best = -1;
    for (const std::vector<int>& ids : q.words) {
        if (ids.empty()) continue;
        int sum = 0;
        bool ok = true;
        for (int id : ids) {
            WordDist& wd = q.dists[id];
            int b = 99;
            for (unsigned t = entStart[i]; t < entStart[i + 1] && b > 0; t++) b = std::min(b, wd.against(entTok[t]));
            if (b > wd.tol) {
                ok = false;
                break;
            }
            sum += b;
        }
        if (ok && (best < 0 || sum < best)) best = sum;
    }
    return best;
}

}  // namespace

size_t foldInPlace(char16_t* s) {
    char16_t* o = s;
    for (const char16_t* p = s; *p; p++) {
        char16_t c = lowerBmp(*p);
        if (c < 256) {
            c = L1.to[c];
            if (!c) continue;
        } else if (c == u'\u2018' || c == u'\u2019') {
            continue;
        }
        *o++ = c;
    }
    *o = 0;
    return size_t(o - s);
}

void foldInPlace(std::u16string& s) {
    if (s.empty()) return;
    s.resize(foldInPlace(s.data()));
}

int editDist(const char16_t* a, int la, const char16_t* b, int lb) {
    if (la < 0 || lb < 0) return 99;
    la = std::min(la, EDIT_MAX);
    lb = std::min(lb, EDIT_MAX);
    unsigned char d[EDIT_MAX + 1][EDIT_MAX + 1];
    for (int i = 0; i <= la; i++) d[i][0] = (unsigned char)i;
    for (int j = 0; j <= lb; j++) d[0][j] = (unsigned char)j;
    for (int i = 1; i <= la; i++)
        for (int j = 1; j <= lb; j++) {
            int v = std::min(std::min(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + (a[i - 1] != b[j - 1]));
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) v = std::min(v, d[i - 2][j - 2] + 1);
            d[i][j] = (unsigned char)v;
        }
    return d[la][lb];
}

void searchIndex() {
    tokPool.clear();
    tokOff.assign(1, 0);
    entTok.clear();
    entStart.assign(1, 0);
    std::unordered_map<std::u16string_view, unsigned> ids;
    // views into wNames stay valid: nothing changes the names while the index is built
    std::vector<unsigned> mine;
    std::vector<std::u16string_view> chunks;
    for (int i = 0; i < DBN; i++) {
        const std::u16string& s = wNames[i];
        mine.clear();
        chunks.clear();
        // The names repeat per language (a title without a translation is the same six times):
        // a chunk between double spaces that was seen already adds no token.
        size_t c = 0;
        while (c < s.size()) {
            size_t e = s.find(u"  ", c);
            if (e == std::u16string::npos) e = s.size();
            std::u16string_view chunk(s.data() + c, e - c);
            c = e + 2;
            if (chunk.empty() || std::find(chunks.begin(), chunks.end(), chunk) != chunks.end()) continue;
            chunks.push_back(chunk);
            size_t a = 0;
            while (a < chunk.size()) {
                while (a < chunk.size() && tokenBreak(chunk[a])) a++;
                size_t b = a;
                while (b < chunk.size() && !tokenBreak(chunk[b])) b++;
                if (b > a) {
                    std::u16string_view tok = chunk.substr(a, b - a);
                    auto [it, added] = ids.try_emplace(tok, unsigned(tokOff.size() - 1));
                    if (added) {
                        tokPool.append(tok);
                        tokOff.push_back(unsigned(tokPool.size()));
                    }
                    if (std::find(mine.begin(), mine.end(), it->second) == mine.end()) mine.push_back(it->second);
                }
                a = b;
            }
        }
        entTok.insert(entTok.end(), mine.begin(), mine.end());
        entStart.push_back(unsigned(entTok.size()));
    }
    buildFoldBytes();
    indexGen = dbGen;
}

void listRows(const char16_t* box, int curCat, int hideOld, std::vector<LibRow>& rows) {
    rows.clear();
    if (indexGen != dbGen) searchIndex();
    Query q;
    prepare(q, box);
    std::vector<unsigned char> added(size_t(DBN), 0);
    // the build's flags are sized by the builds; read them defensively
    auto inBuild = [](int i) { return size_t(i) < fav.size() && fav[i]; };
    auto isOwned = [](int i) { return size_t(i) < owned.size() && owned[i]; };
    bool catCol = true;
    auto add = [&](int i, bool fuzzy) {
        added[i] = 1;
        LibRow r{i, COL_SUB, oldF[i], 0, 0, (unsigned char)fuzzy};
        r.live = DB[i].cat == CAT_CREATOR && liveF[i];
        if (r.live) r.col = COL_LIVE;
        else if (curCat == ROW_BUILD && inBuild(i)) r.col = COL_BUILD, r.owned = isOwned(i);
        else r.col = catCol ? COL_CATEGORY : COL_SUB;
        rows.push_back(r);
    };

    if (q.text.empty()) {
        if (curCat == ROW_RECENT) {
            for (int k = 0; k < nRecent; k++)
                if (recent[k] >= 0 && recent[k] < DBN && !added[recent[k]]) add(recent[k], false);
            return;
        }
        if (curCat == ROW_BUILD) {
            for (int i = 0; i < DBN; i++)
                if (inBuild(i)) add(i, false);
            return;
        }
        catCol = false;
        int cat = curCat == ROW_CREATORS ? CAT_CREATOR : curCat - 1;
        for (int pass = curCat == ROW_CREATORS ? 0 : 1; pass < 2; pass++)
            for (int i = 0; i < DBN; i++)
                if (DB[i].cat == cat && !(hideOld && oldF[i]) && !added[i] &&
                    (curCat != ROW_CREATORS || pass == 1 || liveF[i]))
                    add(i, false);
        return;
    }

    bool build = curCat == ROW_BUILD;
    auto candidate = [&](int i) { return build ? inBuild(i) : !(hideOld && oldF[i]); };
    std::vector<Finder> finders(q.variants.begin(), q.variants.end());
    for (int i = 0; i < DBN; i++) {
        if (!candidate(i)) continue;
        for (const Finder& f : finders)
            if (f.in(i)) {
                add(i, false);
                break;
            }
    }
    if (rows.size() >= FUZZY_BELOW || q.text.size() <= 3) return;
    // A query of single letters would score every entry 0: no typo-tolerant step without a word.
    bool anyWord = false;
    for (const auto& ids : q.words) anyWord |= !ids.empty();
    if (!anyWord) return;
    std::vector<std::pair<int, int>> cand;  // (score, entry)
    for (int i = 0; i < DBN; i++) {
        if (added[i] || !candidate(i)) continue;
        int s = fuzzyScore(q, i);
        if (s >= 0) cand.emplace_back(s, i);
    }
    size_t n = std::min(cand.size(), size_t(FUZZY_ROWS));
    std::partial_sort(cand.begin(), cand.begin() + n, cand.end());
    for (size_t k = 0; k < n; k++) add(cand[k].second, true);
}

std::u16string rowText2(const LibRow& r) {
    if (r.entry < 0 || r.entry >= DBN) return u"";
    int cat = DB[r.entry].cat;
    std::u16string name = cat >= 0 && cat < CAT_COUNT ? T(UI_CAT_NAME + cat) : u"";
    switch (r.col) {
        case COL_LIVE: return T(UI_LIVE);
        case COL_BUILD: return std::u16string(r.owned ? u"\u2713" : u"\u25CB") + u" " + name;
        case COL_CATEGORY: return name;
        default: return wSub[r.entry];
    }
}

RowColours rowColours(const LibRow& r, int selected) {
    auto rgb = [](unsigned R, unsigned G, unsigned B) { return R | G << 8 | B << 16; };
    RowColours c;
    c.bg = selected ? rgb(24, 27, 31) : rgb(13, 15, 17);
    c.text1 = selected ? rgb(255, 109, 16) : r.old ? rgb(112, 119, 127) : rgb(222, 226, 230);
    c.text2 = r.old ? rgb(78, 84, 91) : rgb(128, 137, 146);
    if (r.col == COL_BUILD && r.owned) c.text2 = rgb(95, 191, 138);
    if (r.live) c.text2 = rgb(240, 72, 72);
    return c;
}
