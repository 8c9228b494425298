// The About window's texts: its version line and the credits (the game-data compilation with its
// licence, the fonts, the icon), in the current language.
#pragma once
#include <string>

// Names the credits carry as they are, in every language.
constexpr const char16_t* CREDIT_DATA = u"game-data";
constexpr const char16_t* CREDIT_DATA_BY = u"div2hub";
constexpr const char16_t* CREDIT_LICENCE = u"CC BY 4.0";
constexpr const char16_t* CREDIT_FONT1 = u"Bahnschrift";
constexpr const char16_t* CREDIT_FONT2 = u"Segoe UI";

// UI texts of the three credit lines.
constexpr int TXT_CREDIT_DATA = 264, TXT_CREDIT_FONTS = 265, TXT_CREDIT_ICON = 266;

std::u16string aboutVersion();  // "Versión 0.0.9"
// One line each for the game data, the fonts and the icon, joined by line feeds.
std::u16string aboutCredits();
