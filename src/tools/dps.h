// The DPS calculator's arithmetic: reading the numbers a player types (in any of the six
// languages' habits), the five results, their texts, and the figures a library weapon entry
// gives the calculator.
#pragma once
#include <string>

constexpr int DPS_FIELDS = 9;    // edit boxes 1500..1508
constexpr int DPS_RESULTS = 5;   // average per bullet, burst, sustained, per magazine, time to empty
constexpr int DPS_TEXT_MAX = 47; // a result's text is cut to this many characters

// Field order: damage per shot D, rate of fire R (rounds per minute), magazine M, reload L (s),
// extra weapon damage W, critical chance C, critical damage K, headshot share H, headshot damage Q
// (the last five in percent).
enum DpsField { DPS_D, DPS_R, DPS_M, DPS_L, DPS_W, DPS_C, DPS_K, DPS_H, DPS_Q };

extern const int dpsLbl[DPS_FIELDS];             // UI text id of each field's label
extern const char16_t* const dpsDef[DPS_FIELDS]; // default text of each field
extern const int dpsResLbl[DPS_RESULTS];         // UI text id of each result's label
constexpr int TXT_USE_IN_DPS = 263;              // "Usar en la calculadora", a library weapon's action

// Reads a typed number: at most the first 39 characters, the leading number only (text that is
// no number reads 0; so do negative numbers). Both "," and "." work as the decimal mark; a mark
// that repeats, or one that is followed by exactly three digits after one to three digits
// ("49.104", "1,250"), groups thousands, as do spaces, no-break spaces and apostrophes between
// groups of three digits; with both marks present, the last one is the decimal mark.
// Values saturate at 1e15.
double dpsParse(const char16_t* text);

struct DpsOut {
    double perBullet, burst, sustained, perMag, emptyTime;
};

// The five results for the nine inputs (see DpsField). Inputs below 0 count as 0; critical
// chance counts at most 60 %, headshot share at most 100 %. Without a rate of fire the burst and
// sustained DPS and the time to empty are 0.
DpsOut dpsCompute(const double in[DPS_FIELDS]);

// A whole result: rounded, "." between groups of three digits ("1.078.125"). Values of 1e15 and
// above are written in exponent form ("2.50e+18"), what is no finite number as "0".
std::u16string dpsFormatWhole(double v);
// The time to empty the magazine: "3.20 s".
std::u16string dpsFormatTime(double seconds);
// Result k (0..4) of out as shown.
std::u16string dpsResultText(const DpsOut& out, int k);

// What a library weapon entry gives the calculator: its body (Spanish, with the block
// "ESTADÍSTICAS BASE" of value lines each followed by its label line) fills damage per shot,
// rate of fire, magazine, reload and headshot damage. have[i] is 1 for each field found; text[i]
// holds it as the player would type it ("49104", "2.4"). Returns the number of fields found.
struct DpsPrefill {
    int have[DPS_FIELDS];
    std::u16string text[DPS_FIELDS];
};
int dpsFromEntry(const char* body, DpsPrefill* out);
