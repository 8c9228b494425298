#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/utf.h"
#include "tools/dps.h"

namespace {

// The nine inputs from texts, as the window reads its edit boxes.
DpsOut calc(std::initializer_list<const char16_t*> texts) {
    double in[DPS_FIELDS];
    int k = 0;
    for (auto t : texts) in[k++] = dpsParse(t);
    return dpsCompute(in);
}

DpsOut withField(int field, const char16_t* text) {
    double in[DPS_FIELDS];
    for (int k = 0; k < DPS_FIELDS; k++) in[k] = dpsParse(k == field ? text : dpsDef[k]);
    return dpsCompute(in);
}

std::string shown(const DpsOut& o) {
    std::string s;
    for (int k = 0; k < DPS_RESULTS; k++) s += (k ? " | " : "") + w8u(dpsResultText(o, k));
    return s;
}

}  // namespace

TEST(DpsParse, TypedNumbersInEachLanguagesHabits) {
    struct {
        const char16_t* text;
        double want;
    } cases[] = {
        {u"2,2", 2.2},           {u"49.104", 49104},     {u"1,078,125", 1078125}, // decimal comma, thousands
        {u"49\u00a0104", 49104}, {u"49\u202f104", 49104}, {u"1\u2019250", 1250},   // fr spaces, apostrophes
        {u"1.234,5", 1234.5},    {u"1,234.5", 1234.5},   {u"0,125", 0.125},       // the last mark is decimal; 0 never grouped
        {u"1234.567", 1234.567}, {u"  +15 %", 15},       {u"2,4 s", 2.4},         // four digits before: decimal
        {u"abc", 0},             {u"-50", 0},            {u"1.2.3", 123},         // no number, negative, stray marks
        {u"1,2.3,4", 1.2},       {u"12 34", 12},         {nullptr, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.text ? w8u(c.text) : "null");
        EXPECT_NEAR(dpsParse(c.text), c.want, 1e-9 * std::fmax(1, c.want));
    }
}

TEST(DpsParse, ReadsThirtyNineCharactersAndSaturates) {
    std::u16string longText(38, u'0');
    longText += u"75";  // the 5 is the 40th character
    EXPECT_EQ(dpsParse(longText.c_str()), 7);
    EXPECT_EQ(dpsParse(u"9.999.999.999.999.999"), 1e15);
}

TEST(DpsCalc, CapsEdgesAndEmptyFields) {
    struct {
        int field;
        const char16_t* text;
        const char* want;
    } cases[] = {
        {DPS_C, u"80", "92.000 | 1.150.000 | 681.481 | 3.680.000 | 3.20 s"},     // crit counts up to 60 %
        {DPS_R, u"", "86.250 | 0 | 0 | 3.450.000 | 0.00 s"},                     // zero RPM: no shots at all
        {DPS_R, u"0,5", "86.250 | 719 | 718 | 3.450.000 | 4800.00 s"},           // one shot every two minutes
        {DPS_M, u"", "86.250 | 1.078.125 | 0 | 0 | 0.00 s"},                     // empty magazine
        {DPS_L, u"", "86.250 | 1.078.125 | 1.078.125 | 3.450.000 | 3.20 s"},     // no reload: sustained = burst
        {DPS_H, u"150", "117.875 | 1.473.438 | 873.148 | 4.715.000 | 3.20 s"},   // headshots count up to 100 %
        {DPS_W, u"-40", "75.000 | 937.500 | 555.556 | 3.000.000 | 3.20 s"},      // a negative bonus reads 0
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " = " + w8u(c.text));
        EXPECT_EQ(shown(withField(c.field, c.text)), c.want);
    }
}

TEST(DpsCalc, SustainedNeverExceedsBurst) {
    for (const char16_t* rpm : {u"0,01", u"1", u"60", u"750", u"1.200", u"99999"}) {
        DpsOut r = withField(DPS_R, rpm);
        EXPECT_LE(r.sustained, r.burst) << w8u(rpm);
        EXPECT_GT(r.sustained, 0) << w8u(rpm);
    }
    // nothing at all: every result 0, no division by zero
    EXPECT_EQ(shown(calc({u"", u"", u"", u"", u"", u"", u"", u"", u""})), "0 | 0 | 0 | 0 | 0.00 s");
}

TEST(DpsCalc, HugeValuesStayFiniteAndReadable) {
    const char16_t* big = u"9999999999";  // ten characters, what an edit box holds
    DpsOut o = calc({big, big, big, big, big, u"100", big, u"100", big});  // (finite, short texts: fuzz)
    EXPECT_EQ(w8u(dpsResultText(o, 0)), "1.60e+26");
    // the largest value still written in full, and the first in exponent form
    EXPECT_EQ(w8u(dpsFormatWhole(999999999999999.0)), "999.999.999.999.999");
    EXPECT_EQ(w8u(dpsFormatWhole(1e15)), "1.00e+15");
    EXPECT_EQ(w8u(dpsFormatWhole(1e300 * 1e300)) + w8u(dpsFormatWhole(NAN)), "00");
}

TEST(DpsFormat, GroupsThousandsAndRoundsHalfUp) {
    struct {
        double v;
        const char* want;
    } cases[] = {{0.49, "0"}, {0.5, "1"}, {999.5, "1.000"}, {123456, "123.456"}, {-1234, "-1.234"}, {-0.3, "0"}};
    for (auto& c : cases) EXPECT_EQ(w8u(dpsFormatWhole(c.v)), c.want) << c.v;
}

TEST(DpsPrefill, ReadsTheBaseStatsOfAWeaponEntry) {
    const char* body =
        "Arma exótica: un fusil de asalto de la familia F2000.\nESTADÍSTICAS BASE\n49.104\nDaño base\n850\n"
        "Disparos por minuto\n30\nBalas por cargador\n2,4 s\nTiempo de recarga\n31 m\nAlcance óptimo\n55%\n"
        "Daño por disparo a la cabeza\nATRIBUTOS\n- Principal: daño con fusiles de asalto, hasta +15%\n"
        "TALENTO: PERTURB\n10 s\nTiempo de recarga\n";
    DpsPrefill p;
    EXPECT_EQ(dpsFromEntry(body, &p), 5);
    const char* want[DPS_FIELDS] = {"49104", "850", "30", "2.4", "", "", "", "", "55"};
    for (int k = 0; k < DPS_FIELDS; k++) {
        EXPECT_EQ(p.have[k], want[k][0] ? 1 : 0) << k;
        EXPECT_EQ(w8u(p.text[k]), want[k]) << k;
    }
}

TEST(DpsPrefill, MissingFiguresAndOtherEntries) {
    DpsPrefill p;
    // a weapon that never reloads: four figures, reload left alone
    EXPECT_EQ(dpsFromEntry("x\nESTADÍSTICAS BASE\n54.604\nDaño base\n750\nDisparos por minuto\n1.000\n"
                           "Balas por cargador\n40 m\nAlcance óptimo\n65%\nDaño por disparo a la cabeza\n",
                           &p),
              5 - 1);
    EXPECT_EQ(p.have[DPS_L], 0);
    EXPECT_EQ(w8u(p.text[DPS_M]), "1000");
    // a value that is no number is not used
    EXPECT_EQ(dpsFromEntry("ESTADÍSTICAS BASE\nvaría\nDaño base\n600\nDisparos por minuto\n", &p), 1);
    EXPECT_EQ(p.have[DPS_D], 0);
    // no stats block, nothing, or a truncated body
    EXPECT_EQ(dpsFromEntry("Un conjunto de equipo.\n850\nDisparos por minuto", &p), 0);
    EXPECT_EQ(dpsFromEntry(nullptr, &p), 0);
    EXPECT_EQ(dpsFromEntry("ESTADÍSTICAS BASE\n49.104\nDaño ba", &p), 0);
    EXPECT_EQ(dpsFromEntry("ESTADÍSTICAS BASE\n49.104\nDaño base", &p), 1);
}
