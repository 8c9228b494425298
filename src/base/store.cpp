#include "base/store.h"

namespace {

char16_t fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool eqName(const std::u16string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; i++)
        if (fold(a[i]) != fold(char16_t((unsigned char)b[i]))) return false;
    return i == a.size() && !b[i];
}

std::u16string trimmed(const std::u16string& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == u' ' || s[a] == u'\t')) a++;
    while (b > a && (s[b - 1] == u' ' || s[b - 1] == u'\t' || s[b - 1] == u'\r')) b--;
    return s.substr(a, b - a);
}

}  // namespace

int profileInt(const std::u16string& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) i++;
    bool neg = false;
    if (i < s.size() && s[i] == u'-') { neg = true; i++; }
    unsigned int v = 0;  // wraps like the profile API's 32-bit arithmetic
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; i++) v = v * 10u + unsigned(s[i] - u'0');
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

MemStore::Sec* MemStore::find(const char* sec) {
    for (auto& s : secs)
        if (eqName(s.name, sec)) return &s;
    return nullptr;
}

std::u16string MemStore::getStr(const char* sec, const char* key, const char16_t* def, int size) {
    std::u16string v = def ? def : u"";
    if (Sec* s = find(sec))
        for (auto& kv : s->keys)
            if (eqName(kv.first, key)) { v = kv.second; break; }
    if (size <= 0) return u"";
    if ((int)v.size() > size - 1) v.resize(size - 1);
    return v;
}

int MemStore::getInt(const char* sec, const char* key, int def) {
    if (!has(sec, key)) return def;
    return profileInt(getStr(sec, key, u"", 4096));
}

bool MemStore::has(const char* sec, const char* key) {
    if (Sec* s = find(sec))
        for (auto& kv : s->keys)
            if (eqName(kv.first, key)) return true;
    return false;
}

void MemStore::put(const char* sec, const char* key, const std::u16string& val) {
    created = true;
    writes++;
    Sec* s = find(sec);
    if (!s) {
        secs.push_back({u16of(sec), {}});
        s = &secs.back();
    }
    for (auto& kv : s->keys)
        if (eqName(kv.first, key)) { kv.second = val; return; }
    s->keys.emplace_back(u16of(key), val);
}

void MemStore::delKey(const char* sec, const char* key) {
    if (Sec* s = find(sec))
        for (size_t i = 0; i < s->keys.size(); i++)
            if (eqName(s->keys[i].first, key)) { s->keys.erase(s->keys.begin() + long(i)); return; }
}

void MemStore::delSection(const char* sec) {
    for (size_t i = 0; i < secs.size(); i++)
        if (eqName(secs[i].name, sec)) { secs.erase(secs.begin() + long(i)); return; }
}

std::vector<std::pair<std::u16string, std::u16string>> MemStore::section(const char* sec) {
    if (Sec* s = find(sec)) return s->keys;
    return {};
}

std::u16string MemStore::text() const {
    std::u16string r;
    for (auto& s : secs) {
        r += u"[" + s.name + u"]\r\n";
        for (auto& kv : s.keys) r += kv.first + u"=" + kv.second + u"\r\n";
    }
    return r;
}

void MemStore::load(const std::u16string& text) {
    secs.clear();
    created = true;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(u'\n', pos);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == u';') continue;
        if (line[0] == u'[') {
            size_t close = line.find(u']');
            secs.push_back({trimmed(line.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1)), {}});
            continue;
        }
        size_t eq = line.find(u'=');
        if (eq == std::u16string::npos || secs.empty()) continue;
        secs.back().keys.emplace_back(trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1)));
    }
}
