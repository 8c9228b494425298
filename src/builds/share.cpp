#include "builds/share.h"

#include <unordered_map>

#include "base/utf.h"
#include "builds/builds.h"
#include "l10n/ui.h"

namespace {

const char B64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr size_t MAX_CANDIDATES = 32;  // "ZV1-" places tried in one text
constexpr size_t LINE_MAX = 200;        // units of one piece line in a message

int b64v(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c - u'A';
    if (c >= u'a' && c <= u'z') return c - u'a' + 26;
    if (c >= u'0' && c <= u'9') return c - u'0' + 52;
    if (c == u'-') return 62;
    if (c == u'_') return 63;
    return -1;
}

bool isBreak(char16_t c) { return c == u'\r' || c == u'\n' || c == 0x85 || c == 0x2028 || c == 0x2029; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0; }

// Payload bytes the header read so far asks for.
size_t needed(const std::vector<uint8_t>& b) {
    if (b.size() < 2) return 3;
    size_t l = b[1];
    if (b.size() < 3 + l) return 3 + l;
    return 3 + l + 4 * size_t(b[2 + l]);
}

// Decodes base64url from t[i] on. A code ends at the first other character; only when the
// payload still lacks bytes and the code ran to the end of its line does it go on, and then
// only into a line that holds nothing but code characters after quoting marks (a forum that
// wrapped a long code). false when the payload would pass SHARE_MAX_BYTES.
bool decodeFrom(std::u16string_view t, size_t i, std::vector<uint8_t>& out) {
    uint32_t acc = 0;
    int bits = 0;
    for (;;) {
        for (; i < t.size(); i++) {
            int v = b64v(t[i]);
            if (v < 0) break;
            acc = (acc << 6) | uint32_t(v);
            bits += 6;
            if (bits >= 8) {
                bits -= 8;
                out.push_back(uint8_t(acc >> bits));
                if (out.size() > SHARE_MAX_BYTES) return false;
            }
        }
        if ((!out.empty() && out[0] != SHARE_VERSION) || out.size() >= needed(out)) return true;
        size_t j = i;
        while (j < t.size() && isBlank(t[j])) j++;
        if (j >= t.size() || !isBreak(t[j])) return true;
        j += (t[j] == u'\r' && j + 1 < t.size() && t[j + 1] == u'\n') ? 2 : 1;
        while (j < t.size() && (isBlank(t[j]) || t[j] == u'>')) j++;
        size_t k = j;
        while (k < t.size() && b64v(t[k]) >= 0) k++;
        if (k == j) return true;
        while (k < t.size() && isBlank(t[k])) k++;
        if (k < t.size() && !isBreak(t[k])) return true;
        i = j;
    }
}

// Drops a multi-byte character cut off at the end.
void dropCutTail(std::string& s) {
    size_t n = s.size();
    for (size_t back = 1; back <= 4 && back <= n; back++) {
        unsigned char c = (unsigned char)s[n - back];
        if ((c & 0xC0) == 0x80) continue;
        size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        if (back < len) s.erase(s.begin() + long(n - back), s.end());
        return;
    }
}

int keyCategory(const std::u16string& key) {
    int v = 0;
    size_t i = 0;
    for (; i < key.size() && i < 3 && key[i] >= u'0' && key[i] <= u'9'; i++) v = v * 10 + (key[i] - u'0');
    return (i > 0 && i < key.size() && key[i] == u'|') ? v : -1;
}

}  // namespace

std::u16string fillText(std::u16string_view fmt, const std::vector<std::u16string>& args) {
    std::u16string r;
    size_t a = 0;
    for (size_t i = 0; i < fmt.size(); i++) {
        if (fmt[i] == u'%' && i + 1 < fmt.size()) {
            if (fmt[i + 1] == u'%') { r.push_back(u'%'); i++; continue; }
            size_t len = fmt.compare(i, 3, u"%ls") == 0 ? 3 : fmt[i + 1] == u'd' ? 2 : 0;
            if (len) {
                if (a < args.size()) r += args[a++];
                i += len - 1;
                continue;
            }
        }
        r.push_back(fmt[i]);
    }
    return r;
}

uint32_t entryHash(std::u16string_view key) {
    uint32_t h = 0x811C9DC5u;
    for (unsigned char c : w8u(key)) {
        h ^= c;
        h *= 0x01000193u;
    }
    return h;
}

std::string utf8Cut(std::string_view s, size_t max) {
    if (s.size() <= max) return std::string(s);
    size_t n = max;
    while (n > 0 && ((unsigned char)s[n] & 0xC0) == 0x80) n--;
    return std::string(s.substr(0, n));
}

std::vector<uint8_t> sharePayload(std::u16string_view name, const std::vector<uint32_t>& hashes) {
    std::string nm = utf8Cut(w8u(name), SHARE_NAME_BYTES);
    size_t n = hashes.size() < size_t(SHARE_MAX_PIECES) ? hashes.size() : size_t(SHARE_MAX_PIECES);
    std::vector<uint8_t> p;
    p.reserve(3 + nm.size() + 4 * n);
    p.push_back(SHARE_VERSION);
    p.push_back(uint8_t(nm.size()));
    p.insert(p.end(), nm.begin(), nm.end());
    p.push_back(uint8_t(n));
    for (size_t i = 0; i < n; i++)
        for (int s = 24; s >= 0; s -= 8) p.push_back(uint8_t(hashes[i] >> s));
    return p;
}

std::u16string shareCodeText(const std::vector<uint8_t>& p) {
    std::u16string r = u"ZV1-";
    size_t i = 0;
    for (; i + 3 <= p.size(); i += 3) {
        uint32_t v = uint32_t(p[i]) << 16 | uint32_t(p[i + 1]) << 8 | p[i + 2];
        for (int s = 18; s >= 0; s -= 6) r.push_back(char16_t(B64[(v >> s) & 63]));
    }
    if (p.size() - i == 1) {
        r.push_back(char16_t(B64[p[i] >> 2]));
        r.push_back(char16_t(B64[(p[i] & 3) << 4]));
    } else if (p.size() - i == 2) {
        uint32_t v = uint32_t(p[i]) << 8 | p[i + 1];
        r.push_back(char16_t(B64[v >> 10]));
        r.push_back(char16_t(B64[(v >> 4) & 63]));
        r.push_back(char16_t(B64[(v & 15) << 2]));
    }
    return r;
}

std::u16string shareMessage(std::u16string_view shownName, const std::vector<SharePiece>& pieces,
                            std::u16string_view code, std::u16string_view site) {
    std::u16string msg = fillText(T(188), {std::u16string(shownName)}) + u"\r\n";
    std::u16string tail = u"\r\n" + std::u16string(code) + u"\r\n" + T(189) + u"\r\n" +
                          fillText(T(190), {std::u16string(site)});
    // the code and the instructions always fit: piece lines take only the room they leave
    for (auto& p : pieces) {
        if (msg.size() + LINE_MAX + tail.size() >= SHARE_MESSAGE_MAX) break;
        std::u16string cat = (p.cat >= 0 && p.cat <= 13) ? T(77 + p.cat) : u"";
        std::u16string end = u" (" + cat + u")\r\n";
        size_t room = LINE_MAX - 2 - end.size();
        msg += u"• " + cutUnits(p.title, room) + end;
    }
    return msg + tail;
}

std::vector<int> sharePieces() {
    std::vector<int> r;
    for (size_t i = 0; i < fav.size() && r.size() < size_t(SHARE_MAX_PIECES); i++)
        if (fav[i]) r.push_back(int(i));
    return r;
}

std::u16string buildShareCode() {
    std::vector<uint32_t> h;
    for (int i : sharePieces()) h.push_back(entryHash(buildEntryKey(i)));
    return shareCodeText(sharePayload(buildShown(curBuild), h));
}

std::u16string buildShareMessage(const std::function<std::u16string(int)>& title, std::u16string_view site) {
    std::vector<SharePiece> pieces;
    for (int i : sharePieces()) pieces.push_back({title(i), keyCategory(buildEntryKey(i))});
    return shareMessage(buildShown(curBuild), pieces, buildShareCode(), site);
}

int shareDecode(std::u16string_view text, ShareCode& out) {
    std::vector<uint8_t> b;
    size_t pos = 0;
    for (size_t tries = 0; tries < MAX_CANDIDATES; tries++, pos += 4) {
        pos = text.find(u"ZV1-", pos);
        if (pos == std::u16string_view::npos) return 0;
        b.clear();
        if (!decodeFrom(text, pos + 4, b)) continue;
        if (b.size() <= 2 || b[0] != SHARE_VERSION || 2 + size_t(b[1]) >= b.size()) continue;
        size_t l = b[1];
        std::string nm(b.begin() + 2, b.begin() + 2 + long(l));
        dropCutTail(nm);
        out.name = buildCleanName(u8w(nm));
        out.count = b[2 + l];
        size_t have = (b.size() - 3 - l) / 4;
        if (have > size_t(out.count)) have = size_t(out.count);
        out.hashes.clear();
        for (size_t k = 0; k < have; k++) {
            const uint8_t* q = b.data() + 3 + l + 4 * k;
            out.hashes.push_back(uint32_t(q[0]) << 24 | uint32_t(q[1]) << 16 | uint32_t(q[2]) << 8 | q[3]);
        }
        return 1;
    }
    return 0;
}

int buildImportText(Store& st, std::u16string_view text, ImportResult& r) {
    r = ImportResult{};
    ShareCode c;
    if (!shareDecode(text, c)) return r.outcome = IMPORT_NONE;
    StoreBatch batch(st);  // the new build, its pieces and the index in one write
    if (nBuilds >= MAX_BUILDS || !buildNew(st, c.name.empty() ? std::u16string(T(169)) : c.name, false))
        return r.outcome = IMPORT_FULL;
    std::unordered_map<uint32_t, int> byHash;  // the lowest index wins a collision
    for (int i = buildEntries() - 1; i >= 0; i--) byHash[entryHash(buildEntryKey(i))] = i;
    r.unknown = c.count - int(c.hashes.size());
    for (uint32_t h : c.hashes) {
        auto it = byHash.find(h);
        if (it == byHash.end()) {
            r.unknown++;
        } else if (!fav[size_t(it->second)]) {
            fav[size_t(it->second)] = 1;
            owned[size_t(it->second)] = 0;
            r.matched++;
        }
    }
    favSave(st);
    r.name = buildShown(curBuild);
    return r.outcome = IMPORT_DONE;
}

std::u16string importMessage(const ImportResult& r) {
    if (r.outcome == IMPORT_NONE) return T(182);
    if (r.outcome != IMPORT_DONE) return u"";
    std::u16string m = fillText(T(180), {r.name, u16num(r.matched)});
    if (r.unknown > 0) m += u"\n\n" + fillText(T(181), {u16num(r.unknown)});
    return m;
}

int importArg(std::u16string_view cmd, std::u16string& code) {
    static constexpr std::u16string_view OPT = u"--importar-build=";
    size_t p = cmd.find(OPT);
    if (p == std::u16string_view::npos) return 0;
    p += OPT.size();
    if (p < cmd.size() && cmd[p] == u'"') p++;
    size_t e = p;
    while (e < cmd.size() && e - p < SHARE_MESSAGE_MAX && cmd[e] != u'"' && cmd[e] != u' ' && cmd[e] != u'\t') e++;
    code = std::u16string(cmd.substr(p, e - p));
    return 1;
}
