#include "base/store.h"

#include "base/utf.h"

namespace {

char16_t fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool eqName(const std::u16string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; i++)
        if (fold(a[i]) != fold(char16_t((unsigned char)b[i]))) return false;
    return i == a.size() && !b[i];
}

bool space(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f'; }

std::u16string trimmed(const std::u16string& s) {
    size_t a = 0, b = s.size();
    while (a < b && space(s[a])) a++;
    while (b > a && space(s[b - 1])) b--;
    return s.substr(a, b - a);
}

// A value as the profile API hands it out: a pair of matching quotes around it is dropped.
std::u16string unquoted(const std::u16string& v) {
    if (v.size() >= 2 && (v[0] == u'"' || v[0] == u'\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
    return v;
}

// A value as it may be written on one line: line breaks would start new lines (and could
// forge sections), so they become spaces.
std::u16string oneLine(const std::u16string& v) {
    std::u16string r = v;
    for (auto& c : r)
        if (c == u'\r' || c == u'\n') c = u' ';
    return r;
}

}  // namespace

int profileInt(const std::u16string& s) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] <= u' ') i++;
    bool neg = false;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) neg = s[i++] == u'-';
    unsigned base = 10;
    if (i + 1 < n && s[i] == u'0') {
        if (s[i + 1] == u'x') base = 16;
        else if (s[i + 1] == u'o') base = 8;
        else if (s[i + 1] == u'b') base = 2;
        if (base != 10) i += 2;
    }
    unsigned int v = 0;  // wraps like the profile API's 32-bit arithmetic
    for (; i < n; i++) {
        char16_t c = s[i];
        unsigned d;
        if (c >= u'0' && c <= u'9') d = unsigned(c - u'0');
        else if (c >= u'a' && c <= u'z') d = unsigned(c - u'a') + 10;
        else if (c >= u'A' && c <= u'Z') d = unsigned(c - u'A') + 10;
        else break;
        if (d >= base) break;
        v = v * base + d;
    }
    return neg ? int(0u - v) : int(v);
}

std::u16string u16of(const char* ascii) {
    std::u16string r;
    while (*ascii) r.push_back(char16_t((unsigned char)*ascii++));
    return r;
}

std::u16string u16num(long long v) { return u16of(std::to_string(v).c_str()); }

long long u16toll(const std::u16string& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) i++;
    bool neg = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) { neg = s[i] == u'-'; i++; }
    unsigned long long v = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; i++) v = v * 10u + unsigned(s[i] - u'0');
    return neg ? (long long)(0ull - v) : (long long)v;
}

// ---- IniDoc ---------------------------------------------------------------------------------

void IniDoc::parse(const std::u16string& text) {
    clear();
    size_t pos = 0, n = text.size();
    if (n && text[0] == 0xFEFF) pos = 1;
    while (pos < n) {
        // a line ends at CR LF, LF or a lone CR, as the profile API reads it
        size_t end = text.find_first_of(u"\r\n", pos);
        if (end == std::u16string::npos) end = n;
        std::u16string raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < n && text[end] == u'\r' && pos < n && text[pos] == u'\n') pos++;
        std::u16string line = trimmed(raw);
        if (!line.empty() && line[0] == u'[') {
            size_t close = line.find(u']');
            std::u16string name = line.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1);
            secs.push_back({trimmed(name), raw, {}});
            continue;
        }
        Line l{raw, {}, {}};
        size_t eq = line.find(u'=');
        if (eq != std::u16string::npos && eq > 0) {
            l.key = trimmed(line.substr(0, eq));
            l.value = trimmed(line.substr(eq + 1));
        }
        (secs.empty() ? pre : secs.back().lines).push_back(l);
    }
}

std::u16string IniDoc::text() const {
    std::u16string r;
    for (auto& l : pre) r += l.raw + u"\r\n";
    for (auto& s : secs) {
        r += s.raw + u"\r\n";
        for (auto& l : s.lines) r += l.raw + u"\r\n";
    }
    return r;
}

IniDoc::Sec* IniDoc::findSec(const char* sec) {
    for (auto& s : secs)
        if (eqName(s.name, sec)) return &s;
    return nullptr;
}

const IniDoc::Sec* IniDoc::findSec(const char* sec) const {
    for (auto& s : secs)
        if (eqName(s.name, sec)) return &s;
    return nullptr;
}

// As with the profile API, only the first section of a name counts when a file has it twice
// (delSection removes them all, so a later one never comes back to life).
const std::u16string* IniDoc::find(const char* sec, const char* key) const {
    if (const Sec* s = findSec(sec))
        for (auto& l : s->lines)
            if (!l.key.empty() && eqName(l.key, key)) return &l.value;
    return nullptr;
}

bool IniDoc::put(const char* sec, const char* key, const std::u16string& val) {
    std::u16string v = oneLine(val);
    Sec* s = findSec(sec);
    if (s)
        for (auto& l : s->lines)
            if (!l.key.empty() && eqName(l.key, key)) {
                if (l.value == trimmed(v)) return false;  // reads the same: nothing to write
                l.value = trimmed(v);
                l.raw = l.key + u"=" + v;
                return true;
            }
    if (!s) {
        secs.push_back({u16of(sec), u"[" + u16of(sec) + u"]", {}});
        s = &secs.back();
    }
    // after the section's last key, so blank lines and comments that close it stay last
    size_t at = s->lines.size();
    while (at > 0 && s->lines[at - 1].key.empty()) at--;
    if (at == 0) at = s->lines.size();
    std::u16string k = u16of(key);
    s->lines.insert(s->lines.begin() + long(at), Line{k + u"=" + v, k, trimmed(v)});
    return true;
}

bool IniDoc::delKey(const char* sec, const char* key) {
    bool any = false;
    if (Sec* s = findSec(sec))
        for (size_t i = 0; i < s->lines.size();) {
            if (!s->lines[i].key.empty() && eqName(s->lines[i].key, key)) {
                s->lines.erase(s->lines.begin() + long(i));
                any = true;
            } else {
                i++;
            }
        }
    return any;
}

bool IniDoc::delSection(const char* sec) {
    bool any = false;
    for (size_t i = 0; i < secs.size();) {
        if (eqName(secs[i].name, sec)) {
            secs.erase(secs.begin() + long(i));
            any = true;
        } else {
            i++;
        }
    }
    return any;
}

std::vector<std::pair<std::u16string, std::u16string>> IniDoc::section(const char* sec) const {
    std::vector<std::pair<std::u16string, std::u16string>> out;
    if (const Sec* s = findSec(sec))
        for (auto& l : s->lines)  // comments (";") are no part of the listing
            if (!l.key.empty() && l.key[0] != u';') out.emplace_back(l.key, l.value);
    return out;
}

// ---- DocStore ---------------------------------------------------------------------------------

std::u16string DocStore::getStr(const char* sec, const char* key, const char16_t* def, int size) {
    if (size <= 0) return u"";
    const std::u16string* v = doc.find(sec, key);
    std::u16string r = v ? unquoted(*v) : std::u16string(def ? def : u"");
    return cutText(r, size_t(size - 1));
}

int DocStore::getInt(const char* sec, const char* key, int def) {
    // the profile API reads the number through a 30-character buffer
    std::u16string v = getStr(sec, key, u"", 30);
    return v.empty() ? def : profileInt(v);
}

void DocStore::changed() {
    dirty = true;
    if (depth == 0) {
        dirty = false;
        save();
    }
}

void DocStore::put(const char* sec, const char* key, const std::u16string& val) {
    if (depth == 0) sync();
    if (doc.put(sec, key, val)) changed();
}

void DocStore::delKey(const char* sec, const char* key) {
    if (depth == 0) sync();
    if (doc.delKey(sec, key)) changed();
}

void DocStore::delSection(const char* sec) {
    if (depth == 0) sync();
    if (doc.delSection(sec)) changed();
}

std::vector<std::pair<std::u16string, std::u16string>> DocStore::section(const char* sec) {
    return doc.section(sec);
}

void DocStore::begin() {
    if (depth++ == 0) sync();
}

void DocStore::commit() {
    if (depth == 0) return;
    if (--depth == 0 && dirty) {
        dirty = false;
        save();
    }
}

void MemStore::load(const std::u16string& text) {
    doc.parse(text);
    created = true;
}
