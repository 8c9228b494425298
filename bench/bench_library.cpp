// Library core: building the database (budget 20 ms, goal 5 ms) in Spanish and after a language
// switch, and one search keystroke over the whole library (budget 2 ms, goal 0.5 ms) for the
// worst kinds: a short query that reaches the typo-tolerant step, a long two-word misspelled
// query, a query that matches hundreds of entries, and a name typed letter by letter.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "datapack/install.h"
#include "datapack/pack.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/search.h"

namespace {

void builtInPack() {
    pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN);
    pkApplyHeader();
    uiSetLang(0);
}

void BM_DbInit(benchmark::State& s) {
    builtInPack();
    for (auto _ : s) {
        dbFree();
        dbInit(nullptr);
    }
    s.counters["entries"] = DBN;
    s.SetLabel("budget 20 ms, goal 5 ms");
}

void BM_DbInitAfterLanguageSwitch(benchmark::State& s) {
    builtInPack();
    int l = 0;
    for (auto _ : s) {
        uiSetLang(l = (l + 1) % LANG_COUNT);
        dbFree();
        dbInit(nullptr);
    }
    uiSetLang(0);
    s.SetLabel("budget 20 ms, goal 5 ms");
}

void keystroke(benchmark::State& s, const char16_t* q) {
    builtInPack();
    dbFree();
    dbInit(nullptr);
    std::vector<LibRow> rows;
    for (auto _ : s) listRows(q, 1, 0, rows);
    int fuzzy = 0;
    for (const LibRow& r : rows) fuzzy += r.fuzzy;
    s.counters["rows"] = double(rows.size());
    s.counters["fuzzy"] = fuzzy;
    s.SetLabel("budget 2 ms, goal 0.5 ms");
}

void BM_KeyFourLettersFuzzy(benchmark::State& s) { keystroke(s, u"egle"); }
void BM_KeyThirtyCharsTwoWords(benchmark::State& s) { keystroke(s, u"strikersbattlegear negotiatorz"); }
void BM_KeyHundredsOfMatches(benchmark::State& s) { keystroke(s, u"arma"); }
void BM_KeySynonym(benchmark::State& s) { keystroke(s, u"rpm"); }

// Every prefix of a misspelled name, as the box sends them while the player types.
void BM_KeyTypingAName(benchmark::State& s) {
    builtInPack();
    dbFree();
    dbInit(nullptr);
    const std::u16string name = u"chaterbox extendd mag";
    std::vector<LibRow> rows;
    for (auto _ : s)
        for (size_t n = 1; n <= name.size(); n++) listRows(name.substr(0, n).c_str(), 1, 0, rows);
    s.counters["keys"] = double(name.size());
    s.counters["per_key"] = benchmark::Counter(double(name.size()),
                                               benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_DbInit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbInitAfterLanguageSwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyFourLettersFuzzy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyThirtyCharsTwoWords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyHundredsOfMatches)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeySynonym)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyTypingAName)->Unit(benchmark::kMicrosecond);
