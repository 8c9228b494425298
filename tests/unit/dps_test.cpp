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
        {u"50000", 50000},       {u"2.2", 2.2},          {u"2,2", 2.2},           // decimal point or comma
        {u"49.104", 49104},      {u"49,104", 49104},     {u"1.078.125", 1078125}, // es/de/it/pt and en thousands
        {u"1,078,125", 1078125}, {u"49 104", 49104},     {u"49\u00a0104", 49104}, // fr: space, no-break space
        {u"49\u202f104", 49104}, {u"1'250", 1250},       {u"1\u2019250", 1250},   // narrow space, apostrophes
        {u"1.234,5", 1234.5},    {u"1,234.5", 1234.5},   {u"1 234,5", 1234.5},    // both marks: the last is decimal
        {u"0,125", 0.125},       {u"0.125", 0.125},      {u"12,5", 12.5},         // a leading 0 is never grouped
        {u"1234.567", 1234.567}, {u"2,345", 2345},       {u",5", 0.5},            // four digits before: decimal
        {u"  +15 %", 15},        {u"15%", 15},           {u"2,4 s", 2.4},         // units and signs players add
        {u"2 s", 2},             {u"100 000", 100000},   {u"1 000 000", 1000000},
        {u"", 0},                {u"abc", 0},            {u"-50", 0},             // no number, negative
        {u"15.", 15},            {u"1.2.3", 123},        {u"1,2.3,4", 1.2},      // stray marks
        {u"12 34", 12},          {u"7e5", 7},            {nullptr, 0},
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
    EXPECT_EQ(dpsParse(u"99999999999999999999999999999"), 1e15);
    EXPECT_EQ(dpsParse(u"9.999.999.999.999.999"), 1e15);
}

TEST(DpsCalc, DefaultsGiveTheHandComputedFigures) {
    double in[DPS_FIELDS];
    for (int k = 0; k < DPS_FIELDS; k++) in[k] = dpsParse(dpsDef[k]);
    DpsOut o = dpsCompute(in);
    // 50000 x 1.15 x (1 + 0.5 x 1) = 86250; x 12.5 shots/s; x 40; 40 / 12.5 = 3.2 s; 3450000 / 5.4
    EXPECT_EQ(shown(o), "86.250 | 1.078.125 | 638.889 | 3.450.000 | 3.20 s");
}

TEST(DpsCalc, CapsEdgesAndEmptyFields) {
    struct {
        int field;
        const char16_t* text;
        const char* want;
    } cases[] = {
        {DPS_C, u"60", "92.000 | 1.150.000 | 681.481 | 3.680.000 | 3.20 s"},     // 57500 x (1 + 0.6)
        {DPS_C, u"80", "92.000 | 1.150.000 | 681.481 | 3.680.000 | 3.20 s"},     // crit counts up to 60 %
        {DPS_C, u"100", "92.000 | 1.150.000 | 681.481 | 3.680.000 | 3.20 s"},    // 100 % crit chance too
        {DPS_L, u"2,2", "86.250 | 1.078.125 | 638.889 | 3.450.000 | 3.20 s"},    // decimal comma
        {DPS_R, u"", "86.250 | 0 | 0 | 3.450.000 | 0.00 s"},                     // zero RPM: no shots at all
        {DPS_R, u"0", "86.250 | 0 | 0 | 3.450.000 | 0.00 s"},
        {DPS_R, u"0,5", "86.250 | 719 | 718 | 3.450.000 | 4800.00 s"},           // one shot every two minutes
        {DPS_M, u"", "86.250 | 1.078.125 | 0 | 0 | 0.00 s"},                     // empty magazine
        {DPS_D, u"", "0 | 0 | 0 | 0 | 3.20 s"},
        {DPS_L, u"", "86.250 | 1.078.125 | 1.078.125 | 3.450.000 | 3.20 s"},     // no reload: sustained = burst
        {DPS_H, u"100", "117.875 | 1.473.438 | 873.148 | 4.715.000 | 3.20 s"},   // 57500 x (1.5 + 0.55)
        {DPS_H, u"150", "117.875 | 1.473.438 | 873.148 | 4.715.000 | 3.20 s"},   // headshots count up to 100 %
        {DPS_W, u"-40", "75.000 | 937.500 | 555.556 | 3.000.000 | 3.20 s"},      // a negative bonus reads 0
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " = " + w8u(c.text));
        EXPECT_EQ(shown(withField(c.field, c.text)), c.want);
    }
}

TEST(DpsCalc, SustainedNeverExceedsBurst) {
    // without shots the magazine over the reload alone would claim 1.568.182 per second
    DpsOut o = withField(DPS_R, u"");
    EXPECT_EQ(o.sustained, 0);
    EXPECT_EQ(o.emptyTime, 0);
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
    DpsOut o = calc({big, big, big, big, big, u"100", big, u"100", big});
    for (double v : {o.perBullet, o.burst, o.sustained, o.perMag, o.emptyTime}) EXPECT_TRUE(std::isfinite(v));
    for (int k = 0; k < DPS_RESULTS; k++) {
        std::string t = w8u(dpsResultText(o, k));
        SCOPED_TRACE(t);
        EXPECT_EQ(t.find("inf"), std::string::npos);
        EXPECT_EQ(t.find("nan"), std::string::npos);
        EXPECT_LE(t.size(), size_t(DPS_TEXT_MAX));
        EXPECT_NE(t[0], '-');
    }
    EXPECT_EQ(w8u(dpsResultText(o, 0)), "1.60e+26");
    // the largest value still written in full, and the first in exponent form
    EXPECT_EQ(w8u(dpsFormatWhole(999999999999999.0)), "999.999.999.999.999");
    EXPECT_EQ(w8u(dpsFormatWhole(1e15)), "1.00e+15");
    EXPECT_EQ(w8u(dpsFormatWhole(1e300 * 1e300)), "0");
    EXPECT_EQ(w8u(dpsFormatWhole(NAN)), "0");
    EXPECT_EQ(w8u(dpsFormatTime(1e20)), "1.00e+20 s");
}

TEST(DpsFormat, GroupsThousandsAndRoundsHalfUp) {
    struct {
        double v;
        const char* want;
    } cases[] = {{0, "0"},         {0.49, "0"},       {0.5, "1"},     {999, "999"},           {999.5, "1.000"},
                 {1000, "1.000"},  {12345, "12.345"}, {123456, "123.456"}, {1078125, "1.078.125"}, {-1234, "-1.234"}, {-0.3, "0"}};
    for (auto& c : cases) EXPECT_EQ(w8u(dpsFormatWhole(c.v)), c.want) << c.v;
    EXPECT_EQ(w8u(dpsFormatTime(3.2)), "3.20 s");
    EXPECT_EQ(w8u(dpsFormatTime(0.004)), "0.00 s");
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
    // the text it writes reads back as the same figure
    EXPECT_EQ(dpsParse(p.text[DPS_D].c_str()), 49104);
    EXPECT_DOUBLE_EQ(dpsParse(p.text[DPS_L].c_str()), 2.4);
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
    EXPECT_EQ(dpsFromEntry("", &p), 0);
    EXPECT_EQ(dpsFromEntry(nullptr, &p), 0);
    EXPECT_EQ(dpsFromEntry("ESTADÍSTICAS BASE\n49.104\nDaño ba", &p), 0);
    EXPECT_EQ(dpsFromEntry("ESTADÍSTICAS BASE\n49.104\nDaño base", &p), 1);
}
