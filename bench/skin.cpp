// Speed and memory of the skin layer: reading the three language tables, FindLanguageId,
// and the layout pass ApplySkinAndLanguage for languages 1 and 3 (with the tables read in
// each pass, as a language switch does, and on tables read beforehand).
#include "bench/alloc_counter.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <optional>

#include "skin/ini_reader.h"
#include "skin/language_table.h"
#include "skin/layout_pass.h"
#include "skin/resources.h"
#include "skin/skin_layout.h"

#if defined(__SANITIZE_ADDRESS__)
// In a sanitizer build, fontconfig's caches (kept for the life of the process) are no leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

using namespace nivra;
using namespace nivra::skin;

// One QGuiApplication for the run, headless unless the caller chose a platform: the layout
// pass checks installed fonts, which needs one.
void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "bench_skin";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() != nullptr) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
    new QGuiApplication(argc, argv);  // kept for the whole run, as Qt wants one
}

QByteArray languageBytes(int number) {
    const std::optional<QByteArray> bytes = resource(QStringLiteral("LANG%1").arg(number));
    return bytes.value_or(QByteArray());
}

// Parsing table N from bytes already in memory: decoding, tokens, the ini section and the
// search index.
void BM_ParseLanguageTable(benchmark::State& state) {
    const int number = static_cast<int>(state.range(0));
    const QByteArray bytes = languageBytes(number);
    if (!LanguageTable::parse(number, bytes)) {
        state.SkipWithError("the built-in table does not parse");
        return;
    }
    const bench::AllocationScope allocs;
    for (auto _ : state) benchmark::DoNotOptimize(LanguageTable::parse(number, bytes));
    allocs.report(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes.size());
    bench::reportPeakResident(state);
}
BENCHMARK(BM_ParseLanguageTable)->DenseRange(1, 3);

// All three built-in tables as the program reads them at start (resource lookup included).
void BM_LoadLanguageSet(benchmark::State& state) {
    const bench::AllocationScope allocs;
    for (auto _ : state) benchmark::DoNotOptimize(LanguageSet::loadBuiltIn());
    allocs.report(state);
    // The heap a loaded set holds for the run.
    const bench::HeldHeap heap;
    const Checked<LanguageSet> held = LanguageSet::loadBuiltIn();
    heap.report(state, "held_KiB");
    benchmark::DoNotOptimize(held);
    bench::reportPeakResident(state);
}
BENCHMARK(BM_LoadLanguageSet);

// Range: 0 a text of the last table (English, Str210), 1 a text of the first table
// (Str600), 2 a text no table holds, 3 the empty text.
void BM_FindLanguageId(benchmark::State& state) {
    const Checked<LanguageSet>& set = builtInLanguages();
    if (!set) {
        state.SkipWithError("the built-in tables do not load");
        return;
    }
    QString text;
    switch (state.range(0)) {
        case 0: text = set->table(3).text(u"Str210"); break;
        case 1: text = set->table(1).text(u"Str600"); break;
        case 2: text = QStringLiteral("No caption of this program"); break;
        default: break;
    }
    const bench::AllocationScope allocs;
    for (auto _ : state) benchmark::DoNotOptimize(set->FindLanguageId(text));
    allocs.report(state);
    static const char* const kLabels[] = {"English hit", "first-table hit", "miss", "empty"};
    state.SetLabel(kLabels[state.range(0)]);
}
BENCHMARK(BM_FindLanguageId)->DenseRange(0, 3);

// What the window holds before a language switch: the office page, the global layout and
// the key captions of table 1 (the pass translates each of them).
SkinState windowState() {
    SkinState s;
    if (const auto global = LoadGlobalLayout()) s.global = *global;
    const Checked<LanguageSet>& set = builtInLanguages();
    static const char16_t* const kIds[] = {u"Str210", u"Str211", u"Str212", u"Str213", u"Str214", u"Str221",
                                           u"Str222", u"Str260", u"Str261", u"Str262", u"Str264", u"Str277"};
    for (std::size_t i = 0; i < s.keyCaptions.size(); ++i)
        if (set) s.keyCaptions[i] = set->table(1).text(QStringView(kIds[i]));
    return s;
}

// The pass as a language switch runs it: the layout table ORGn read and parsed each time.
void BM_ApplySkinAndLanguage(benchmark::State& state) {
    ensureGuiApplication();
    const int language = static_cast<int>(state.range(0));
    const SkinState s = windowState();
    const SkinResult first = ApplySkinAndLanguage(language, s);
    if (!first.ok()) {
        state.SkipWithError(first.error.toStdString().c_str());
        return;
    }
    const bench::AllocationScope allocs;
    for (auto _ : state) benchmark::DoNotOptimize(ApplySkinAndLanguage(language, s));
    allocs.report(state);
    state.counters["controls"] = static_cast<double>(first.controls.size());
    // The heap one result holds while the window applies it.
    const bench::HeldHeap heap;
    const SkinResult held = ApplySkinAndLanguage(language, s);
    heap.report(state, "result_KiB");
    benchmark::DoNotOptimize(held);
    bench::reportPeakResident(state);
}
BENCHMARK(BM_ApplySkinAndLanguage)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// The pass alone, on a layout table and language tables read beforehand.
void BM_ApplySkinAndLanguagePreloaded(benchmark::State& state) {
    ensureGuiApplication();
    const int language = static_cast<int>(state.range(0));
    const SkinState s = windowState();
    const Checked<IniTable> layout = loadLayoutTable(QStringLiteral("ORG%1").arg(language));
    const Checked<LanguageSet>& set = builtInLanguages();
    if (!layout || !set) {
        state.SkipWithError("the built-in tables do not load");
        return;
    }
    const bench::AllocationScope allocs;
    for (auto _ : state)
        benchmark::DoNotOptimize(ApplySkinAndLanguage(language, s, *layout, set->table(language), *set));
    allocs.report(state);
    bench::reportPeakResident(state);
}
BENCHMARK(BM_ApplySkinAndLanguagePreloaded)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// Reading and parsing one layout table ORGn (the share of a switch not in the pass itself).
void BM_LoadLayoutTable(benchmark::State& state) {
    const QString name = QStringLiteral("ORG%1").arg(state.range(0));
    const bench::AllocationScope allocs;
    for (auto _ : state) benchmark::DoNotOptimize(loadLayoutTable(name));
    allocs.report(state);
}
BENCHMARK(BM_LoadLayoutTable)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
