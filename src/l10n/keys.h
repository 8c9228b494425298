// The four global keys as text: parsing a stored combination ("Ctrl+Shift+F5", "Mayús+Inicio", "Strg+F5")
// into a virtual-key code and hotkey modifiers, and rendering one back in the current language.
#pragma once
#include <cstdint>

constexpr unsigned MODK_ALT = 1, MODK_CONTROL = 2, MODK_SHIFT = 4, MODK_WIN = 8;

// Non-zero when a key was found; mods and vk are set to 0 first.
int parseKey(const char16_t* text, unsigned* mods, unsigned* vk);

// Writes the text of a combination into out (64 characters at least) and returns out.
char16_t* keyToStr(unsigned mods, unsigned vk, char16_t* out);

// Repeat filter of the keyboard hook: 1 when a key-down of vk at time (ms) is a repeat of
// the last key acted on (same key within 400 ms). Updates the remembered time either way;
// the caller records an accepted key with kbAccept.
struct KbRepeat {
    unsigned lastVk = 0;
    uint32_t lastTime = 0;
};
int kbIsRepeat(KbRepeat& st, unsigned vk, uint32_t time);
void kbAccept(KbRepeat& st, unsigned vk, uint32_t time);

// Parses the four stored key texts into codes; a text without a key falls back to its default
// (F8, F7, F9, F10) for this run.
void keysParse();

// Re-renders the four key texts in the current language (after a language switch).
void keysRender();
