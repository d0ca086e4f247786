// The PC macro library from outside: any bytes checked as a library file, loaded, listed and
// exported without fault; a file found sound loads to records whose bytes are written back
// as read (once compacted); one record imported from the bytes and a whole library imported.
// The library's file lies in a folder that cannot exist, so every write fails at once and
// only the library in memory is exercised.
#include "fuzz/fuzz_check.h"
#include "macro/library.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

using namespace nivra::macro;

namespace {

void checkLibrary(const MacroLibrary& lib) {
    const std::vector<std::string> names = lib.names();
    FUZZ_CHECK(names.size() == lib.count());
    FUZZ_CHECK(lib.count() <= kLibraryRecords);
    for (std::size_t i = 0; i < lib.count(); ++i) {
        FUZZ_CHECK(lib.record(i).used());
        FUZZ_CHECK(lib.macroLength(i) <= kSlotSize);
        FUZZ_CHECK(lib.recordBytes(i).size() == kRecordSize);
        (void)lib.listing(i);
    }
    for (std::size_t i = lib.count(); i < kLibraryRecords; ++i) FUZZ_CHECK(!lib.record(i).used());
    FUZZ_CHECK(lib.bytes().size() == kLibrarySize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::filesystem::path nowhere = "/proc/nivra-fuzz/Nivra-Macro.bin";

    MacroLibrary lib(nowhere);
    lib.loadBytes(bytes);
    checkLibrary(lib);
    if (libraryFileFault(bytes).empty()) {
        // A sound file: loading it again from its own written form changes nothing.
        MacroLibrary again(nowhere);
        again.loadBytes(lib.bytes());
        FUZZ_CHECK(again.bytes() == lib.bytes());
        FUZZ_CHECK(libraryFileFault(lib.bytes()).empty());
    }

    MacroLibrary defaults(nowhere);
    defaults.loadBytes(defaultLibraryData());
    const std::size_t before = defaults.count();
    const LibraryResult one = defaults.importOne(bytes);
    FUZZ_CHECK(one != LibraryResult::Done);  // the write cannot succeed
    FUZZ_CHECK(defaults.count() <= before + 1);
    checkLibrary(defaults);

    MacroLibrary all(nowhere);
    all.loadBytes(defaultLibraryData());
    (void)all.importAll(bytes);
    checkLibrary(all);
    return 0;
}
