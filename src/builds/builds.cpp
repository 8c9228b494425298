#include "builds/builds.h"

#include <string>
#include <unordered_map>

#include "l10n/ui.h"

int nBuilds = 1;
int curBuild = 0;
std::u16string buildName[MAX_BUILDS];
std::vector<unsigned char> fav;
std::vector<unsigned char> owned;

namespace {

std::vector<std::u16string> keys;
std::unordered_map<std::u16string, int> byKey;  // first entry of each key

std::string buildSec(int k) { return "build" + std::to_string(k); }
std::string pieceKey(int n) { return "f" + std::to_string(n); }
std::string nameKey(int k) { return "nombre" + std::to_string(k); }

std::u16string trimmed(std::u16string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == u' ' || s[a] == u'\t')) a++;
    while (b > a && (s[b - 1] == u' ' || s[b - 1] == u'\t' || s[b - 1] == u'\r')) b--;
    return std::u16string(s.substr(a, b - a));
}

// The ASCII text of a key name, lower case; empty when it holds anything else.
std::string asciiKey(const std::u16string& k) {
    std::u16string t = trimmed(k);
    std::string r;
    for (char16_t c : t) {
        if (c == 0 || c > 0x7E) return "";
        r.push_back((c >= u'A' && c <= u'Z') ? char(c - u'A' + u'a') : char(c));
    }
    return r;
}

// n of a key "f<n>" (decimal, no leading zeros), or -1.
long pieceNumber(const std::string& k) {
    if (k.size() < 2 || k.size() > 9 || k[0] != 'f') return -1;
    if (k[1] == '0' && k.size() > 2) return -1;
    long n = 0;
    for (size_t i = 1; i < k.size(); i++) {
        if (k[i] < '0' || k[i] > '9') return -1;
        n = n * 10 + (k[i] - '0');
    }
    return n;
}

// The values of keys "f0", "f1", ... of a section, up to the first missing or empty one.
std::vector<std::u16string> pieceValues(Store& st, const std::string& sec) {
    auto all = st.section(sec.c_str());
    std::vector<const std::u16string*> at(all.size(), nullptr);
    for (auto& kv : all) {
        long n = pieceNumber(asciiKey(kv.first));
        if (n >= 0 && size_t(n) < at.size() && !at[size_t(n)]) at[size_t(n)] = &kv.second;
    }
    std::vector<std::u16string> out;
    for (auto* v : at) {
        if (!v) break;
        std::u16string t = trimmed(*v);
        if (t.empty()) break;
        out.push_back(std::move(t));
    }
    return out;
}

// Makes a section hold exactly the given keys and values, writing only what differs. The
// result is that of deleting the section and writing every key, without a moment where the
// section is gone. A section with keys the program does not write twice is rebuilt whole.
void writeSection(Store& st, const std::string& sec, const std::vector<std::pair<std::string, std::u16string>>& want) {
    StoreBatch batch(st);  // the keys of one change in one write
    auto have = st.section(sec.c_str());
    if (have.empty() && want.empty()) return;
    std::unordered_map<std::string, const std::u16string*> old;
    bool messy = false;
    for (auto& kv : have) {
        std::string k = asciiKey(kv.first);
        if (k.empty() || old.count(k)) messy = true;
        else old[k] = &kv.second;
    }
    if (messy || want.empty()) {
        st.delSection(sec.c_str());
        for (auto& kv : want) st.put(sec.c_str(), kv.first.c_str(), kv.second);
        return;
    }
    std::unordered_map<std::string, bool> wanted;
    for (auto& kv : want) {
        wanted[kv.first] = true;
        auto it = old.find(kv.first);
        if (it == old.end() || *it->second != kv.second) st.put(sec.c_str(), kv.first.c_str(), kv.second);
    }
    for (auto& kv : old)
        if (!wanted.count(kv.first)) st.delKey(sec.c_str(), kv.first.c_str());
}

// Simple case folding for comparing names: ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic.
char16_t foldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
    if (c < 0xC0) return c;
    if (c <= 0xDE && c != 0xD7) return char16_t(c + 32);
    if (c == 0x178) return 0xFF;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return char16_t(c | 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? char16_t(c + 1) : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return char16_t(c + 32);
    if (c >= 0x410 && c <= 0x42F) return char16_t(c + 32);
    if (c >= 0x400 && c <= 0x40F) return char16_t(c + 80);
    return c;
}

bool sameName(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

bool nameTaken(const std::u16string& shown, int except) {
    for (int k = 0; k < nBuilds; k++)
        if (k != except && sameName(buildShown(k), shown)) return true;
    return false;
}

// name without a trailing " (n)" for n in 2..99.
std::u16string withoutSuffix(const std::u16string& name) {
    size_t n = name.size();
    if (n < 4 || name[n - 1] != u')') return name;
    size_t open = name.rfind(u" (");
    if (open == std::u16string::npos || open + 2 >= n - 1) return name;
    int v = 0;
    for (size_t i = open + 2; i < n - 1; i++) {
        if (name[i] < u'0' || name[i] > u'9' || v > 9) return name;
        v = v * 10 + (name[i] - u'0');
    }
    if (v < 2 || v > 99 || name[open + 2] == u'0') return name;
    return name.substr(0, open);
}

void uniqueNameExcept(std::u16string& name, int except) {
    std::u16string shown = name.empty() ? std::u16string(T(169)) : name;
    if (!nameTaken(shown, except)) return;
    std::u16string base = trimmed(cutUnits(withoutSuffix(shown), 50));
    for (int n = 2; n <= 99; n++) {
        name = base + u" (" + u16num(n) + u")";
        if (!nameTaken(name, except)) return;
    }
}

void clearFlags() {
    std::fill(fav.begin(), fav.end(), 0);
    std::fill(owned.begin(), owned.end(), 0);
}

}  // namespace

void buildsAttach(std::vector<std::u16string> k) {
    keys = std::move(k);
    byKey.clear();
    byKey.reserve(keys.size());
    for (size_t i = 0; i < keys.size(); i++) byKey.emplace(keys[i], int(i));
    fav.assign(keys.size(), 0);
    owned.assign(keys.size(), 0);
}

int buildEntries() { return int(keys.size()); }

const std::u16string& buildEntryKey(int i) {
    static const std::u16string none;
    return (i >= 0 && size_t(i) < keys.size()) ? keys[size_t(i)] : none;
}

int buildEntryByKey(const std::u16string& key) {
    auto it = byKey.find(key);
    return it == byKey.end() ? -1 : it->second;
}

void buildsReset() {
    nBuilds = 1;
    curBuild = 0;
    for (auto& n : buildName) n.clear();
    buildsAttach({});
}

std::u16string cutUnits(std::u16string_view s, size_t max) {
    if (s.size() <= max) return std::u16string(s);
    size_t n = max;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) n--;
    return std::u16string(s.substr(0, n));
}

std::u16string buildCleanName(std::u16string_view name) {
    std::u16string r;
    for (size_t i = 0; i < name.size(); i++) {
        char16_t c = name[i];
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) {
            r.push_back(u' ');
            continue;
        }
        // direction marks, embeddings, overrides and isolates; invisible formatting
        if (c == 0x061C || c == 0x200B || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
            (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB))
            continue;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
                r.push_back(c);
                r.push_back(name[++i]);
            }
            continue;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) continue;
        r.push_back(c);
    }
    return trimmed(cutUnits(trimmed(r), BUILD_NAME_MAX));
}

void buildsLoad(Store& st) {
    StoreBatch batch(st);  // the keys of one change in one write
    for (auto& n : buildName) n.clear();
    int n = st.getInt("builds", "n", 0);
    if (n >= 1) {
        nBuilds = n < MAX_BUILDS ? n : MAX_BUILDS;
        for (int k = 0; k < nBuilds; k++) buildName[k] = cutUnits(st.getStr("builds", nameKey(k).c_str(), u"", 200), BUILD_NAME_MAX);
        int a = st.getInt("builds", "actual", 0);
        buildLoad(st, (a < 0 || a >= nBuilds) ? 0 : a);
        return;
    }
    // No index yet. Build sections left without their index (a damaged file) are kept as
    // unnamed builds rather than overwritten.
    nBuilds = 1;
    while (nBuilds < MAX_BUILDS && !st.section(buildSec(nBuilds).c_str()).empty()) nBuilds++;
    buildLoad(st, 0);
    if (keys.empty()) return;  // nothing to match the old pieces against: leave them for later
    // the old single build: entry keys only, no marks. Without one there is nothing to move,
    // and nothing is written: the index comes with the player's first change.
    auto old = pieceValues(st, "mibuild");
    if (old.empty()) return;
    for (auto& v : old) {
        int i = buildEntryByKey(v);
        if (i >= 0) fav[size_t(i)] = 1;
    }
    favSave(st);
    st.delSection("mibuild");
}

void buildLoad(Store& st, int k) {
    StoreBatch batch(st);  // the keys of one change in one write
    clearFlags();
    curBuild = k;
    if (keys.empty()) return;
    for (auto& v : pieceValues(st, buildSec(k))) {
        if (v.size() < 2 || v[1] != u'|') continue;
        int i = buildEntryByKey(v.substr(2));
        if (i < 0) continue;
        fav[size_t(i)] = 1;
        owned[size_t(i)] = v[0] == u'1';
    }
}

void favSave(Store& st) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (!keys.empty()) {
        std::vector<std::pair<std::string, std::u16string>> want;
        for (size_t i = 0; i < keys.size(); i++)
            if (fav[i]) want.emplace_back(pieceKey(int(want.size())), (owned[i] ? u"1|" : u"0|") + keys[i]);
        writeSection(st, buildSec(curBuild), want);
    }
    buildsIndexSave(st);
}

void buildsIndexSave(Store& st) {
    StoreBatch batch(st);  // the keys of one change in one write
    std::vector<std::pair<std::string, std::u16string>> want;
    want.emplace_back("n", u16num(nBuilds));
    want.emplace_back("actual", u16num(curBuild));
    for (int k = 0; k < nBuilds; k++) want.emplace_back(nameKey(k), buildName[k]);
    writeSection(st, "builds", want);
}

std::u16string buildShown(int k) {
    if (k >= 0 && k < MAX_BUILDS && !buildName[k].empty()) return buildName[k];
    return T(169);
}

void uniqueName(std::u16string& name) { uniqueNameExcept(name, -1); }

int buildNew(Store& st, std::u16string_view name, bool copy) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (nBuilds >= MAX_BUILDS) return 0;
    // Every change is stored when it is made, so the current build is on file already; it is
    // left as it is there, pieces this library lacks included, and a copy takes it from there.
    std::u16string nm = buildCleanName(name);
    uniqueName(nm);
    std::vector<std::pair<std::string, std::u16string>> pieces;
    if (copy)
        for (auto& kv : st.section(buildSec(curBuild).c_str())) {
            std::string key = asciiKey(kv.first);
            if (!key.empty()) pieces.emplace_back(key, kv.second);
        }
    int k = nBuilds++;
    buildName[k] = nm;
    st.delSection(buildSec(k).c_str());
    writeSection(st, buildSec(k), pieces);
    buildLoad(st, k);
    buildsIndexSave(st);
    return 1;
}

int buildSwitch(Store& st, int k) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (k < 0 || k >= nBuilds || k == curBuild) return 0;
    buildLoad(st, k);
    buildsIndexSave(st);
    return 1;
}

void buildRename(Store& st, std::u16string_view name) {
    StoreBatch batch(st);  // the keys of one change in one write
    std::u16string nm = buildCleanName(name);
    uniqueNameExcept(nm, curBuild);
    buildName[curBuild] = nm;
    buildsIndexSave(st);
}

int buildDuplicate(Store& st) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (nBuilds >= MAX_BUILDS) return 0;
    return buildNew(st, buildShown(curBuild), true);
}

void buildDelete(Store& st) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (nBuilds <= 1) {
        clearFlags();
        buildName[0].clear();
        curBuild = 0;
        favSave(st);
        return;
    }
    for (int k = curBuild; k + 1 < nBuilds; k++) {
        std::vector<std::pair<std::string, std::u16string>> next;
        for (auto& kv : st.section(buildSec(k + 1).c_str())) {
            std::string key = asciiKey(kv.first);
            if (!key.empty()) next.emplace_back(key, kv.second);
        }
        writeSection(st, buildSec(k), next);
        buildName[k] = buildName[k + 1];
    }
    st.delSection(buildSec(nBuilds - 1).c_str());
    buildName[nBuilds - 1].clear();
    nBuilds--;
    buildLoad(st, curBuild < nBuilds ? curBuild : nBuilds - 1);
    buildsIndexSave(st);
}

int buildToggle(Store& st, int i) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (i < 0 || size_t(i) >= fav.size()) return -1;
    fav[size_t(i)] ^= 1;
    if (!fav[size_t(i)]) owned[size_t(i)] = 0;
    favSave(st);
    return fav[size_t(i)];
}

int buildToggleOwned(Store& st, int i) {
    StoreBatch batch(st);  // the keys of one change in one write
    if (i < 0 || size_t(i) >= fav.size() || !fav[size_t(i)]) return -1;
    owned[size_t(i)] ^= 1;
    favSave(st);
    return owned[size_t(i)];
}

int buildPieces() {
    int n = 0;
    for (unsigned char f : fav) n += f;
    return n;
}

int buildOwnedCount() {
    int n = 0;
    for (size_t i = 0; i < fav.size(); i++) n += fav[i] && owned[i];
    return n;
}

std::u16string buildButtonLabel(int i) {
    bool in = i >= 0 && size_t(i) < fav.size() && fav[size_t(i)];
    std::u16string fmt = T(in ? 186 : 185), name = buildShown(curBuild);
    size_t p = fmt.find(u"%ls");
    return p == std::u16string::npos ? fmt : fmt.replace(p, 3, name);
}

std::u16string ownedButtonLabel(int i) {
    return T(i >= 0 && size_t(i) < owned.size() && fav[size_t(i)] && owned[size_t(i)] ? 184 : 183);
}

std::u16string buildCountLabel() {
    int n = buildPieces();
    return n ? u16num(buildOwnedCount()) + u"/" + u16num(n) : u"0";
}

int buildMenuEnabled(int cmd) {
    switch (cmd) {
    case BM_NEW:
    case BM_DUPLICATE: return nBuilds < MAX_BUILDS;
    case BM_SHARE: return buildPieces() > 0;
    case BM_RENAME:
    case BM_DELETE:
    case BM_IMPORT: return 1;
    }
    return 0;
}

std::u16string buildNewSuggestion() { return std::u16string(T(169)) + u" " + u16num(nBuilds + 1); }
