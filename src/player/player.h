// The video player's rules, apart from drawing and the browser's COM interfaces: the videos of a
// library entry with their captions, the address of the local player page and of the video site's
// watch page, the page itself, the browser host's states with its one waiting navigation, and
// where the window's controls go. The window is player_win, the browser host wvhost_win.
#pragma once
#include <string>
#include <vector>

struct LibEntry;

// The private host name the browser control maps onto the local web folder: it resolves nowhere
// else, so the page is served from disk and nothing of it reaches the network.
extern const char WV_HOST[];

// One video of the playing entry.
struct PVid {
    std::string id;          // the video site's id
    std::u16string caption;  // in the interface language
    int start = 0;           // second playback starts at
};

// The videos of entry e (references without a video are left out). Built-in captions are
// translated into language l as one segment; a pack video's caption is the entry's title.
std::vector<PVid> pVideosOf(const LibEntry& e, const std::u16string& title, int l);

// i wrapped into 0..n-1 (n > 0): -1 is the last, n the first.
int pWrap(int i, int n);
// The interface language's code for the video site: "es", "en", "fr", "de", "it", "pt-BR".
const char* pLangCode(int l);
// https://<WV_HOST>/player.html?v=<id>&t=<start>&hl=<code>; the id is cut to 31 characters.
std::u16string pPageUrl(const PVid& v, int l);
// The video on the video site: .../watch?v=<id>, with &t=<start>s when it has a start second.
std::u16string pWatchUrl(const PVid& v);
// The local player page ("player.html"), UTF-8.
const std::string& playerPage();
// "2 / 5   caption": the header line over the browser.
std::u16string pHeader(int idx, int n, const std::u16string& caption);
// A list notification: play the selected item when it is another video, or on a double-click.
int pShouldPlay(int sel, int playing, int doubleClick);

// The browser host's states: 0 not started, 1 creating, 2 ready, 3 failed (final, as 2 is).
enum { WV_IDLE = 0, WV_CREATING = 1, WV_READY = 2, WV_FAILED = 3 };
struct WvHost {
    int state = WV_IDLE;
    int hasPending = 0;
    std::u16string pending;  // the address to open once ready; the newest request replaces it
};
// A navigation request: 1 when the control is ready and opens it now; otherwise it waits.
int wvRequest(WvHost& h, const std::u16string& url);
// The controller is ready: state 2; 1 with the waiting address moved to *go when there is one.
int wvReady(WvHost& h, std::u16string* go);
// Creation failed or the browser is switched off: state 3, nothing waits any more.
void wvFailed(WvHost& h);
// The status text over the browser's place: UI text 112 while starting, 113 after a failure,
// 0 (none) when ready.
int pStatusText(int state);
// The loader file is (re)written from the program's copy when missing or of another size
// (a size of 4 GiB or more is never right).
int wvLoaderStale(int exists, unsigned long long fileSize, unsigned long long resSize);

// Where the window's parts go, in pixels, for a client area of cw x ch at scale sc.
struct PRect {
    int x = 0, y = 0, w = 0, h = 0;
};
struct PLayout {
    PRect list, open, install, browser;
    int listShown = 0, openShown = 0, installShown = 0;
};
PLayout pLayoutCalc(int cw, int ch, double sc, int full, int state);
// The window's size when first opened: 92 % of the screen width but at most 1280 units, 90 % of
// its height but at most 780 units.
void pOpenSize(int sw, int sh, double sc, int* w, int* h);
// The smallest window: 760 x 420 units.
constexpr int P_MIN_W = 760, P_MIN_H = 420;
