// Interface texts in six languages: the current language, the lookup T(id) with its
// per-language cache of UTF-16 strings, and the language codes and names.
#pragma once
#include "base/store.h"

constexpr int UI_COUNT = 277;
constexpr int LANG_COUNT = 6;

extern const char* const UI_TXT[UI_COUNT * LANG_COUNT];  // generated from data/ui/textos.txt
extern const char* const LANG_CODE[LANG_COUNT];           // "es", "en", "fr", "de", "it", "pt"
extern const char16_t* const LANG_NAME[LANG_COUNT];       // display names, in index order

extern int lang;  // 0..5, Spanish before the settings are loaded

// The text of id in the current language (fallback: English, then Spanish; Spanish never
// falls back). Owned by the cache until the next language change; "" for an unknown id.
const char16_t* T(int id);

// The UTF-8 text of one id's row (six languages) for language l, with T's fallback order.
const char* uiPick(const char* const* row, int l);

// Index of a two-letter code, case-insensitive, whole string only; -1 when unknown.
int langFromCode(const char16_t* code);

// The language chosen from the system's UI language id (primary language in the low 10 bits).
int langFromSystem(unsigned langId);

// Makes index the current language and empties the text cache.
void uiSetLang(int index);

// 1 when id is converted and cached (for tests).
int uiCached(int id);

// The stored language ("Idioma"); when missing or unknown, the one of the system's UI language
// id, which is then stored. Makes it the current language.
void uiLoadLang(Store& st, unsigned sysLangId);
