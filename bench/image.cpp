// Speed and heap use of the image layer: distributing an image into the working copy (with
// and without section repairs) and assembling it back, the section check byte, rebuilding
// the 45 code texts and naming every one of them.
#include "bench/alloc_counter.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "image/builtin.h"
#include "device/image_state.h"
#include "image/code_texts.h"
#include "image/codes.h"
#include "image/image.h"
#include "image/working_copy.h"
#include "skin/language_table.h"

namespace {

using namespace nivra;

constexpr DefaultInputs kI2cInputs{MemoryType::I2C, LedType::None, PackageChoice::None};

// Built-in image 1 with the check byte of every section wrong, so that each distribution
// rebuilds all five sections from their default generators.
Image imageWithBrokenSections() {
    Image image = builtinImage(1);
    for (Region r : {region::kVendor, region::kUser, region::kProfile1, region::kProfile2, region::kProfile3})
        image[r.end() - 1] = static_cast<std::uint8_t>(image[r.end() - 1] ^ 0xFF);
    return image;
}

// Arg 0: built-in image 1 as it is (every section valid); arg 1: every section repaired.
void BM_DistributeImage(benchmark::State& state) {
    const Image image = state.range(0) == 0 ? builtinImage(1) : imageWithBrokenSections();
    WorkingCopy work;
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        const SectionRepairs repairs = distributeImage(image, work, kI2cInputs);
        benchmark::DoNotOptimize(repairs);
        benchmark::DoNotOptimize(work);
    }
    allocs.report(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kImageSize));
    state.SetLabel(state.range(0) == 0 ? "valid sections" : "all five repaired");
}
BENCHMARK(BM_DistributeImage)->Arg(0)->Arg(1);

// Distribution as the transfers call it: both hooks set, as the window's list rebuilds are.
void BM_DistributeImageWithHooks(benchmark::State& state) {
    const Image& image = builtinImage(1);
    WorkingCopy work;
    int calls = 0;
    DistributeHooks hooks;
    hooks.deviceMacrosCopied = [&calls](WorkingCopy&) { ++calls; };
    hooks.fireMacroNamesCopied = [&calls](WorkingCopy&) { ++calls; };
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        benchmark::DoNotOptimize(distributeImage(image, work, kI2cInputs, hooks));
        benchmark::ClobberMemory();
    }
    allocs.report(state);
    benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_DistributeImageWithHooks);

void BM_AssembleImage(benchmark::State& state) {
    WorkingCopy work;
    distributeImage(builtinImage(2), work, kI2cInputs);
    Image transfer{};
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        assembleImage(work, transfer);
        benchmark::DoNotOptimize(transfer);
        benchmark::ClobberMemory();
    }
    allocs.report(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kImageSize));
}
BENCHMARK(BM_AssembleImage);

// The check byte over a section of each length the image has: user (28), profile (49),
// vendor (164).
void BM_SectionCheckByte(benchmark::State& state) {
    const Image& image = builtinImage(1);
    const auto length = static_cast<std::size_t>(state.range(0));
    const std::span<const std::uint8_t> section(image.data(), length);
    for (auto _ : state) {
        benchmark::DoNotOptimize(section.data());
        benchmark::DoNotOptimize(sectionCheckByte(section));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SectionCheckByte)->Arg(28)->Arg(49)->Arg(164);

void BM_RebuildCodeTexts(benchmark::State& state) {
    WorkingCopy work;
    distributeImage(builtinImage(1), work, kI2cInputs);
    CodeTexts texts;
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        rebuildCodeTexts(work, texts);
        benchmark::DoNotOptimize(texts);
    }
    allocs.report(state);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 45);
}
BENCHMARK(BM_RebuildCodeTexts);

// The working copy of built-in image 1, or (MIXED) the same with its 45 code slots filled
// from every entry of the function menu in turn, so that each kind of name is composed.
WorkingCopy namingWorkingCopy(bool mixed) {
    WorkingCopy work;
    distributeImage(builtinImage(1), work, kI2cInputs);
    if (!mixed) return work;
    const auto functions = menuFunctions();
    MenuCodeInputs menu;
    menu.memory = MemoryType::I2C;
    std::size_t next = 0;
    auto fill = [&](std::size_t offset) {
        for (std::size_t tries = 0; tries < functions.size(); ++tries) {
            const std::string text = CodeForMenuFunction(functions[next++ % functions.size()].id, menu);
            if (const auto code = parseCodeText(text)) {
                storeCode(*code, std::span(work.bytes).subspan(offset, 4));
                return;
            }
        }
    };
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= static_cast<int>(kKeysPerProfile); ++k) fill(buttonCodeOffset(p, k));
    for (int n = 1; n <= static_cast<int>(kComboKeyCount); ++n) fill(comboKeyOffset(n));
    return work;
}

// Every text the window names after a refresh: 36 buttons and 9 combo keys.
std::array<std::string, 45> allCodeTexts(const CodeTexts& texts) {
    std::array<std::string, 45> out;
    std::size_t i = 0;
    for (const auto& profile : texts.profile)
        for (const auto& t : profile) out[i++] = t;
    for (const auto& t : texts.combo) out[i++] = t;
    return out;
}

// Range 0: 0 built-in image 1, 1 every kind of code. Range 1: 1 names looked up in the
// built-in English table (as nivractl and the window do), 0 without a language lookup.
void BM_NameAllCodes(benchmark::State& state) {
    const WorkingCopy work = namingWorkingCopy(state.range(0) == 1);
    CodeTexts texts;
    rebuildCodeTexts(work, texts);
    const auto codes = allCodeTexts(texts);
    NameInputs in = nameInputsFromImage(work.bytes, MemoryType::I2C);
    if (state.range(1) == 1) in.language = [](std::string_view id) { return skin::builtInText(3, id); };
    for (const auto& t : codes) benchmark::DoNotOptimize(NameOfCode(t, in));  // tables read before timing
    const bench::AllocationScope allocs;
    for (auto _ : state)
        for (const auto& t : codes) benchmark::DoNotOptimize(NameOfCode(t, in));
    allocs.report(state);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 45);
    state.SetLabel(std::string(state.range(0) == 1 ? "mixed codes" : "image 1") +
                   (state.range(1) == 1 ? ", English lookup" : ", no lookup"));
}
BENCHMARK(BM_NameAllCodes)->ArgsProduct({{0, 1}, {0, 1}});

// describeCode over the 45 texts with the naming context taken from the image, as the
// image report of nivractl builds it (context included in each iteration).
void BM_DescribeAllCodes(benchmark::State& state) {
    const WorkingCopy work = namingWorkingCopy(true);
    CodeTexts texts;
    rebuildCodeTexts(work, texts);
    const auto codes = allCodeTexts(texts);
    benchmark::DoNotOptimize(skin::builtInText(3, "Str210"));
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        NameInputs in = nameInputsFromImage(work.bytes, MemoryType::I2C);
        in.language = [](std::string_view id) { return skin::builtInText(3, id); };
        for (const auto& t : codes) benchmark::DoNotOptimize(describeCode(t, in));
    }
    allocs.report(state);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 45);
}
BENCHMARK(BM_DescribeAllCodes);

void BM_NameInputsFromImage(benchmark::State& state) {
    const Image& image = builtinImage(1);
    const bench::AllocationScope allocs;
    for (auto _ : state) benchmark::DoNotOptimize(nameInputsFromImage(image, MemoryType::I2C));
    allocs.report(state);
}
BENCHMARK(BM_NameInputsFromImage);

// The refresh after a whole-image read, without the window: distribute, then DataBufToUI.
void BM_DistributeAndRefresh(benchmark::State& state) {
    ImageState s;
    s.deviceMemory = MemoryType::I2C;
    s.transfer = builtinImage(1);
    const bench::AllocationScope allocs;
    for (auto _ : state) {
        distributeImage(s.transfer, s.work, s.defaultInputs());
        DataBufToUI(s);
        benchmark::DoNotOptimize(codeTexts(s.work));
    }
    allocs.report(state);
    state.counters["state_bytes"] = static_cast<double>(sizeof(ImageState));
}
BENCHMARK(BM_DistributeAndRefresh);

}  // namespace
