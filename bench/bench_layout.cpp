// Overlay layout (budget: under 10 microseconds), run after every change of what it shows:
// a full catalogue with news and the update banner, and compact mode.
#include <benchmark/benchmark.h>

#include "checklist/catalogue.h"
#include "datapack/news.h"
#include "l10n/ui.h"
#include "overlay/layout.h"

namespace {

void fullCatalogue() {
    uiSetLang(0);
    catReset();
    while (catAdd(NT % 3, u"Tarea propia") >= 0) {
    }
    nNews = NEWS_MAX;
}

void BM_LayoutNormal(benchmark::State& s) {
    fullCatalogue();
    for (auto _ : s) benchmark::DoNotOptimize(ovLayout(0, 1));
}
BENCHMARK(BM_LayoutNormal);

void BM_LayoutCompact(benchmark::State& s) {
    fullCatalogue();
    for (int i = 0; i < NT; i += 2) checked[i] = 1;
    for (auto _ : s) benchmark::DoNotOptimize(ovLayout(1, 0));
}
BENCHMARK(BM_LayoutCompact);

}  // namespace
