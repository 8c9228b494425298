#include "player/player.h"

#include <cstdio>
#include <cstring>

#include "base/endpoints.h"
#include "base/utf.h"
#include "l10n/tr.h"
#include "library/libentry.h"
#include "library/videos.h"

const char WV_HOST[] = "reproductor.zenvoral";

namespace {

int scaled(double v, double sc) { return (int)(v * sc + 0.5); }

std::string ascii(const char16_t* s) {
    std::string out;
    for (; *s; s++) out.push_back(char(*s));
    return out;
}

}  // namespace

std::vector<PVid> pVideosOf(const LibEntry& e, const std::u16string& title, int l) {
    std::vector<PVid> out;
    for (int k = 0; k < e.vidCount && k < 1000; k++) {
        VideoInfo v;
        if (!vidAt(e.vidFirst + k, &v)) continue;
        PVid p;
        p.id = v.id;
        p.start = v.start;
        if (v.capEs) {
            const char* t = trSegL(v.capEs, std::strlen(v.capEs), l);
            p.caption = u8w(t ? t : v.capEs);
        } else {
            p.caption = title;
        }
        out.push_back(std::move(p));
    }
    return out;
}

int pWrap(int i, int n) { return n > 0 ? ((i % n) + n) % n : 0; }

const char* pLangCode(int l) {
    static const char* const CODES[6] = {"es", "en", "fr", "de", "it", "pt-BR"};
    return l >= 0 && l < 6 ? CODES[l] : "en";
}

std::u16string pPageUrl(const PVid& v, int l) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "https://%s/player.html?v=%.31s&t=%d&hl=%s", WV_HOST, v.id.c_str(), v.start,
                  pLangCode(l));
    return u8w(buf);
}

std::u16string pWatchUrl(const PVid& v) {
    std::u16string s = EP_VIDEO_WATCH + u8w(v.id);
    if (v.start != 0) s += u"&t=" + u8w(std::to_string(v.start)) + u"s";
    return s;
}

const std::string& playerPage() {
    static const std::string page =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
        "<meta name=\"referrer\" content=\"strict-origin-when-cross-origin\">\n"
        "<style>html,body{margin:0;height:100%;background:#0d0f11;overflow:hidden}"
        "iframe{border:0;width:100%;height:100%;display:block}</style></head>\n<body><script>\n"
        "var q=new URLSearchParams(location.search),v=q.get('v')||'',t=parseInt(q.get('t'),10),"
        "hl=q.get('hl')||'en';\nif(!(t>=0))t=0;\n"
        "var s='" + ascii(EP_VIDEO_EMBED) + "'+encodeURIComponent(v)+'?autoplay=1&rel=0&playsinline=1&start='+t"
        "+'&hl='+encodeURIComponent(hl);\n"
        "if(hl!='en')s+='&cc_load_policy=1&cc_lang_pref='+encodeURIComponent(hl);\n"
        "s+='&origin='+encodeURIComponent(location.origin);\n"
        "var f=document.createElement('iframe');f.src=s;"
        "f.allow='autoplay; encrypted-media; picture-in-picture; fullscreen; web-share';"
        "f.allowFullscreen=true;f.referrerPolicy='strict-origin-when-cross-origin';"
        "document.body.appendChild(f);\n</script></body></html>\n";
    return page;
}

std::u16string pHeader(int idx, int n, const std::u16string& caption) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d / %d   ", idx + 1, n);
    return u8w(buf) + caption;
}

int pShouldPlay(int sel, int playing, int doubleClick) { return sel >= 0 && (doubleClick || sel != playing); }

int wvRequest(WvHost& h, const std::u16string& url) {
    if (h.state == WV_READY) return 1;
    if (h.state == WV_FAILED) return 0;  // a failed host never opens anything
    h.pending = url;
    h.hasPending = 1;
    return 0;
}

int wvReady(WvHost& h, std::u16string* go) {
    h.state = WV_READY;
    int had = h.hasPending;
    if (had && go) *go = std::move(h.pending);
    h.pending.clear();
    h.hasPending = 0;
    return had;
}

void wvFailed(WvHost& h) {
    h.state = WV_FAILED;
    h.pending.clear();
    h.hasPending = 0;
}

int pStatusText(int state) { return state == WV_READY ? 0 : state == WV_FAILED ? 113 : 112; }

int wvLoaderStale(int exists, unsigned long long fileSize, unsigned long long resSize) {
    return !exists || fileSize >= (1ull << 32) || fileSize != resSize;
}

PLayout pLayoutCalc(int cw, int ch, double sc, int full, int state) {
    PLayout L;
    if (full) {
        L.browser = PRect{0, 0, cw, ch};
        return L;
    }
    L.listShown = L.openShown = 1;
    L.list = PRect{scaled(10, sc), scaled(52, sc), scaled(280, sc), ch - scaled(62, sc)};
    L.open = PRect{cw - scaled(220, sc), scaled(10, sc), scaled(210, sc), scaled(32, sc)};
    L.install = PRect{scaled(320, sc), scaled(170, sc), scaled(210, sc), scaled(34, sc)};
    L.installShown = state == WV_FAILED;
    int left = scaled(300, sc), top = scaled(52, sc);
    L.browser = PRect{left, top, cw - left, ch - top};
    if (L.list.h < 0) L.list.h = 0;
    if (L.browser.w < 0) L.browser.w = 0;
    if (L.browser.h < 0) L.browser.h = 0;
    return L;
}

void pOpenSize(int sw, int sh, double sc, int* w, int* h) {
    int mw = scaled(1280, sc), mh = scaled(780, sc);
    int a = sw * 92 / 100, b = sh * 90 / 100;
    *w = a < mw ? a : mw;
    *h = b < mh ? b : mh;
}
