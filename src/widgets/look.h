// The dark look every window shares, as rules without drawing: the palette, which face,
// border and text colour an owner-drawn button gets in each state, the check mark of the
// check-box buttons, and the question dialog's size and trimming rule.
#pragma once
#include <cstdint>

// Colours in the Windows COLORREF layout (0x00BBGGRR), so the shell uses them as they are.
constexpr uint32_t rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr uint32_t COL_BG = rgb(13, 15, 17);           // window background
constexpr uint32_t COL_PANEL = rgb(24, 27, 31);        // panels, button faces, key caps
constexpr uint32_t COL_BORDER = rgb(40, 45, 51);       // borders, pressed faces, disabled text
constexpr uint32_t COL_ACCENT = rgb(255, 109, 16);     // the orange accent
constexpr uint32_t COL_ACCENT_DOWN = rgb(200, 85, 10); // the accent while pressed
constexpr uint32_t COL_TEXT = rgb(222, 226, 230);      // main text
constexpr uint32_t COL_DIM = rgb(128, 137, 146);       // secondary text, unchecked boxes
constexpr uint32_t COL_GOOD = rgb(95, 191, 138);       // an owned item
constexpr uint32_t COL_WARN = rgb(230, 120, 110);      // a failed download
constexpr uint32_t COL_DISC = rgb(30, 34, 39);         // disc behind category glyphs
constexpr uint32_t COL_KEYFOCUS = rgb(48, 36, 26);     // a focused key box
constexpr uint32_t COL_NONE = 0xFFFFFFFFu;             // no border

enum BtnLook { BTN_PRIMARY, BTN_SECONDARY, BTN_CHECK };

// Ids that other windows pass to get a look: 308 primary, 306 secondary.
constexpr int BTN_AS_PRIMARY = 308;
constexpr int BTN_AS_SECONDARY = 306;
constexpr int BTN_OWNED = 317;  // secondary, green text while the library's entry is owned

// The look of an owner-drawn button by its control id: 308, 309, 312 and 318 are primary,
// 313 is the check box, every other id secondary.
BtnLook btnLook(int id);

struct BtnColours {
    uint32_t face;
    uint32_t border;  // COL_NONE: no border
    uint32_t text;
};
// Face, border and text of a primary or secondary button; owned turns a secondary's text green.
BtnColours btnColours(BtnLook look, bool pressed, bool disabled, bool owned = false);

// The check mark inside a 14-unit box: three points relative to the box's corner.
struct MarkPt {
    int x, y;
};
constexpr MarkPt CHECK_MARK[3] = {{3, 7}, {6, 10}, {11, 4}};

// Question dialog: the client area in units (the edit row only with a text field), the edit
// box's limit and the buffer the caller provides.
constexpr int ASK_W = 460;
constexpr int ASK_EDIT_LIMIT = 40;
constexpr int ASK_BUF = 64;
constexpr int askHeight(bool withEdit) { return 24 + 70 + (withEdit ? 40 : 0) + 64; }

// Strips leading and trailing spaces (U+0020 only) from buf in place.
void askTrim(char16_t* buf);
// The dialog's answer: without a buffer, whether it ended with OK; with one, the buffer is
// trimmed whatever the outcome and the answer is OK with a non-empty text.
int askResult(bool endedOk, char16_t* buf);
