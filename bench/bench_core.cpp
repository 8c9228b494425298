// Benchmarks of the core's hot paths: the built-in pack parse (budget 0.2 ms), the text
// lookup that painting calls many times a frame, key parsing and a whole settings load.
#include <benchmark/benchmark.h>

#include "l10n/keys.h"
#include "base/state.h"
#include "datapack/pack.h"
#include "l10n/ui.h"
#include "app/startup.h"

static void BM_PackParseBuiltin(benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN));
    s.SetBytesProcessed(int64_t(s.iterations()) * PACK_BUILTIN_LEN);
}
BENCHMARK(BM_PackParseBuiltin)->Unit(benchmark::kMicrosecond);

static void BM_TextLookupCached(benchmark::State& s) {
    uiSetLang(2);
    for (auto _ : s)
        for (int id = 0; id < UI_COUNT; id++) benchmark::DoNotOptimize(T(id));
}
BENCHMARK(BM_TextLookupCached);

static void BM_TextLookupAfterLanguageSwitch(benchmark::State& s) {
    for (auto _ : s) {
        uiSetLang(int(s.iterations() % 6));
        for (int id = 0; id < UI_COUNT; id++) benchmark::DoNotOptimize(T(id));
    }
}
BENCHMARK(BM_TextLookupAfterLanguageSwitch)->Unit(benchmark::kMicrosecond);

static void BM_ParseKey(benchmark::State& s) {
    unsigned m, v;
    for (auto _ : s) benchmark::DoNotOptimize(parseKey(u"Ctrl + Mayús + RePag", &m, &v));
}
BENCHMARK(BM_ParseKey);

static void BM_LoadState(benchmark::State& s) {
    MemStore st;
    loadState(st, 0x0C0A);
    st.put("checklist", "n", u"35");
    for (int i = 0; i < 35; i++) st.put("checklist", ("t" + std::to_string(i)).c_str(), u"1|Tarea propia");
    for (auto _ : s) loadState(st, 0x0C0A);
}
BENCHMARK(BM_LoadState)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
