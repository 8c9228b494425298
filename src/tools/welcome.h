// The welcome tour's content: four pages of a title and a body, the buttons each page shows,
// and the key caps of its second page, which name the player's own keys.
#pragma once
#include <string>

constexpr int WEL_PAGES = 4;

int welTitleId(int page);     // UI text of the page's title
int welBodyId(int page);      // UI text of the page's body
int welNextTextId(int page);  // "Siguiente", on the last page "¡A jugar!"
int welBackShown(int page);   // 1 on every page but the first
// The page after pressing Next (-1: the tour ends and the window closes) or Back.
int welAfterNext(int page);
int welAfterBack(int page);

// The four keys in the order the tour shows them: expand or collapse (F8), hide (F7), library
// (F9), quit (F10).
enum { WEL_KEY_EDIT, WEL_KEY_HIDE, WEL_KEY_LIB, WEL_KEY_QUIT };

// The page's body in the current language. On the key page each line that names a default key
// ("F8  despliega…") names the player's key instead.
std::u16string welBody(int page, const char16_t* const keys[4]);

// Key caps of the key page, in units. The usual caps are 58 x 40 in two rows of two; when a
// label is wider than a cap holds (textW, in units, measured by the caller), the caps stand in
// one column, all as wide as the widest label needs, at most 172.
struct WelCap {
    int x, y, w, h;
};
constexpr int WEL_CAP_W = 58, WEL_CAP_H = 40, WEL_CAP_PAD = 6, WEL_CAP_MAXW = 172;
void welCaps(const double textW[4], WelCap out[4]);
