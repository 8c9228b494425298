// Share codes on hostile and large input: a megabyte of code characters is refused after the
// first 2048 bytes, a pasted chat of a few kilobytes is scanned once, and the worst share
// message (255 pieces) is composed; loading a large build from the settings store.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "builds/builds.h"
#include "builds/share.h"
#include "l10n/ui.h"

namespace {

std::vector<std::u16string> keys(int n) {
    std::vector<std::u16string> k;
    for (int i = 0; i < n; i++) k.push_back(u"3|Arma con nombre número " + u16num(i));
    return k;
}

}  // namespace

static void BM_DecodeMegabyteOfCode(benchmark::State& s) {
    std::u16string text = u"ZV1-AQ" + std::u16string(1 << 20, u'A');
    for (auto _ : s) {
        ShareCode c;
        benchmark::DoNotOptimize(shareDecode(text, c));
    }
}
BENCHMARK(BM_DecodeMegabyteOfCode)->Unit(benchmark::kMicrosecond);

static void BM_DecodeMegabyteOfPrefixes(benchmark::State& s) {
    std::u16string text;
    while (text.size() < (1 << 20)) text += u"ZV1-";
    for (auto _ : s) {
        ShareCode c;
        benchmark::DoNotOptimize(shareDecode(text, c));
    }
}
BENCHMARK(BM_DecodeMegabyteOfPrefixes)->Unit(benchmark::kMicrosecond);

static void BM_ImportFromChat(benchmark::State& s) {
    uiSetLang(0);
    buildsReset();
    buildsAttach(keys(806));
    MemStore st;
    buildsLoad(st);
    for (int i = 0; i < 806; i += 3) fav[size_t(i)] = 1;
    std::u16string chat = std::u16string(2000, u'.') + u"\r\n" + buildShareCode() + u"\r\n" + std::u16string(2000, u'.');
    for (auto _ : s) {
        s.PauseTiming();
        MemStore fresh;
        buildsLoad(fresh);
        s.ResumeTiming();
        ImportResult r;
        benchmark::DoNotOptimize(buildImportText(fresh, chat, r));
    }
}
BENCHMARK(BM_ImportFromChat)->Unit(benchmark::kMicrosecond);

static void BM_ShareMessage255(benchmark::State& s) {
    uiSetLang(0);
    buildsReset();
    std::vector<std::u16string> k = keys(300);
    buildsAttach(k);
    for (auto& f : fav) f = 1;
    for (auto _ : s) benchmark::DoNotOptimize(buildShareMessage([&](int i) { return k[size_t(i)]; }, u"https://zenvoral.app/"));
}
BENCHMARK(BM_ShareMessage255)->Unit(benchmark::kMicrosecond);

static void BM_LoadBuildOf700(benchmark::State& s) {
    buildsReset();
    buildsAttach(keys(806));
    MemStore st;
    buildsLoad(st);
    for (int i = 0; i < 700; i++) fav[size_t(i)] = 1;
    favSave(st);
    for (auto _ : s) buildLoad(st, 0);
}
BENCHMARK(BM_LoadBuildOf700)->Unit(benchmark::kMicrosecond);
