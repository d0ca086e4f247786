// The PC macro library: load or create, the operations of its menu, the file written whole,
// and the default library.
#include "macro/library.h"

#include "macro/device_area.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace nivra::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;
using nivra::testing::readBytes;

Bytes recordBytes(const std::string& name, const Bytes& code) {
    const NameBytes n = nameBytes(name);
    Bytes r(n.begin(), n.end());
    r.insert(r.end(), code.begin(), code.end());
    r.resize(kRecordSize, 0);
    return r;
}

class Library : public ::testing::Test {
protected:
    nivra::testing::TempDir dir;
    std::filesystem::path file = dir.path() / kLibraryFileName;

    // A library of the given names written to the file and loaded.
    MacroLibrary withNames(std::initializer_list<std::string> names) {
        Bytes all;
        for (const std::string& n : names) {
            const Bytes r = recordBytes(n, {0xA1, 0x21, 0x00});
            all.insert(all.end(), r.begin(), r.end());
        }
        all.resize(kLibrarySize, 0);
        EXPECT_TRUE(writeWhole(file, all, nullptr));
        MacroLibrary lib(file);
        EXPECT_EQ(lib.CheckPCMacro(), LibraryResult::Done);
        return lib;
    }
};

TEST_F(Library, FirstStartCreatesTheFileFromTheDefaultLibrary) {
    MacroLibrary lib(dir.path() / "sub" / kLibraryFileName);
    ASSERT_EQ(lib.CheckPCMacro(), LibraryResult::Done) << lib.error();
    const Bytes written = readBytes(lib.file());
    EXPECT_EQ(written, Bytes(defaultLibraryData().begin(), defaultLibraryData().end()));
    EXPECT_GE(lib.count(), 20u);
    EXPECT_EQ(lib.names().front(), "Copy");
}

TEST_F(Library, NewRenameDelete) {
    MacroLibrary lib = withNames({"One", "Two", "Three"});
    EXPECT_EQ(lib.rename(1, "Two"), LibraryResult::Exists) << "its own name is refused";
    EXPECT_EQ(lib.rename(1, "One"), LibraryResult::Exists);
    EXPECT_EQ(lib.rename(1, ""), LibraryResult::Ignored);
    EXPECT_EQ(lib.rename(1, "Deux"), LibraryResult::Done);
    EXPECT_EQ(lib.newMacro("Four"), LibraryResult::Done);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"One", "Deux", "Three", "Four"}));
    EXPECT_EQ(lib.macroLength(3), 1u) << "a new record's slot holds zeros: only the end marker";

    ASSERT_EQ(lib.remove(0), LibraryResult::Done);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"Deux", "Three", "Four"}));
    const Bytes file = readBytes(this->file);
    ASSERT_EQ(file.size(), kLibrarySize);
    EXPECT_EQ(Bytes(file.begin() + 99 * kRecordSize, file.end()), Bytes(kRecordSize, 0));
    EXPECT_EQ(file, lib.bytes());
}

TEST_F(Library, NamesTheDeviceAreaCannotKeepAreRefusedWhereverTheyEnter) {
    // A first unit with a 0xFF byte: U+FF21 (FF 21), U+4EFF (4E FF). Later units may hold one.
    MacroLibrary lib = withNames({"One"});
    const Bytes before = readBytes(file);
    for (const std::string bad : {"\uFF21" "1", "\u4EFF"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(lib.newMacro(bad), LibraryResult::BadName);
        EXPECT_EQ(lib.rename(0, bad), LibraryResult::BadName);
        EXPECT_EQ(lib.importOne(recordBytes(bad, {0x00})), LibraryResult::BadName);
        Bytes all = recordBytes("Fine", {0x00});
        const Bytes r = recordBytes(bad, {0x00});
        all.insert(all.end(), r.begin(), r.end());
        EXPECT_EQ(lib.importAll(all), LibraryResult::BadName);
        EXPECT_EQ(lib.names(), (std::vector<std::string>{"One"}));
        EXPECT_EQ(readBytes(file), before);
    }
    EXPECT_EQ(lib.newMacro("A\uFF21"), LibraryResult::Done) << "only the first unit ends the area";

    DeviceMacros area;
    EXPECT_EQ(area.add(nameBytes("\uFF21" "1"), CodeSlot{}), AddResult::BadName);
    EXPECT_EQ(area.count(), 0u);
}

TEST_F(Library, HundredNamesAndNinetyNineForImport) {
    MacroLibrary lib = withNames({});
    for (int i = 0; i < 99; ++i) ASSERT_EQ(lib.newMacro("M" + std::to_string(i)), LibraryResult::Done);
    EXPECT_EQ(lib.importOne(recordBytes("Other", {0x00})), LibraryResult::Ignored) << "99 macros: no import";
    EXPECT_EQ(lib.newMacro("M99"), LibraryResult::Done);
    EXPECT_EQ(lib.count(), 100u);
    EXPECT_EQ(lib.newMacro("M100"), LibraryResult::Ignored);
}

TEST_F(Library, ExportOneAndImportItBack) {
    MacroLibrary lib = withNames({"One", "Two"});
    const Bytes one = lib.recordBytes(0);
    ASSERT_EQ(one.size(), 272u);
    EXPECT_EQ(lib.importOne(one), LibraryResult::Exists);
    ASSERT_EQ(lib.rename(0, "Uno"), LibraryResult::Done);
    EXPECT_EQ(lib.importOne(one), LibraryResult::Done);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"Uno", "Two", "One"}));
    EXPECT_EQ(lib.importOne(Bytes(271, 1)), LibraryResult::BadFile);
    EXPECT_EQ(lib.importOne(Bytes(272, 0)), LibraryResult::BadFile) << "a record without a name";
}

TEST_F(Library, ImportAllFromShortAndGappedFiles) {
    MacroLibrary lib = withNames({"One", "Two", "Three"});
    ASSERT_EQ(lib.importAll(recordBytes("New", {0xA2, 0x22, 0x00})), LibraryResult::Done);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"New", "Two", "Three"}));
    EXPECT_EQ(lib.macroLength(0), 3u);

    // A file with an unused record before used ones lists the used ones in order.
    Bytes gapped = recordBytes("A", {0x00});
    const Bytes empty(kRecordSize, 0), b = recordBytes("B", {0x00});
    gapped.insert(gapped.end(), empty.begin(), empty.end());
    gapped.insert(gapped.end(), b.begin(), b.end());
    gapped.resize(kLibrarySize, 0);
    lib.importAll(gapped);
    EXPECT_EQ(lib.names(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(Library, StoreListingCompilesIntoTheSlot) {
    MacroLibrary lib = withNames({"One"});
    ASSERT_EQ(lib.storeListing(0, {"10", "0 300", "3 04FF05"}), LibraryResult::Done);
    EXPECT_EQ(lib.macroLength(0), 7u);
    EXPECT_EQ(lib.listing(0).lines, (Listing{"10", "0 300", "3 04FF05"}));
    ASSERT_EQ(lib.storeListing(0, {"00"}), LibraryResult::Done);
    EXPECT_TRUE(lib.listing(0).lines.empty()) << "only the end marker: an empty listing";
}

TEST_F(Library, AWriteThatFailsLeavesTheOldFile) {
    MacroLibrary lib = withNames({"One"});
    const Bytes before = readBytes(file);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    if (::access(dir.path().c_str(), W_OK) == 0) {
        ::chmod(dir.path().c_str(), 0700);
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    EXPECT_EQ(lib.newMacro("Two"), LibraryResult::FileError);
    EXPECT_FALSE(lib.error().empty());
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(readBytes(file), before);
}

// A library file that is damaged (cut short, grown) or foreign (a record whose code has no
// end) is refused, never cut to the records read: every change is refused and the file
// stays byte for byte until it is replaced.
TEST_F(Library, ADamagedOrForeignFileIsRefusedAndKeptUntilReplaced) {
    const Bytes sound = Bytes(defaultLibraryData().begin(), defaultLibraryData().end());
    ASSERT_EQ(libraryFileFault(sound), "");
    Bytes foreign = sound;
    std::fill(foreign.begin() + kNameSize, foreign.begin() + kRecordSize, 0x82);  // record 1: key presses only
    Bytes longer = sound;
    longer.push_back(0);
    const struct {
        Bytes bytes;
        std::string says;
    } cases[] = {
        {Bytes(sound.begin(), sound.end() - 200), "it holds 27000 bytes, not 27200"},
        {longer, "it is longer than 27200 bytes"},
        {foreign, "record 1 holds no complete macro"},
        {Bytes(100, 0x41), "it holds 100 bytes"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(writeWhole(file, c.bytes, nullptr));
        MacroLibrary lib(file);
        EXPECT_EQ(lib.CheckPCMacro(), LibraryResult::Damaged) << c.says;
        EXPECT_TRUE(lib.damaged());
        EXPECT_NE(lib.error().find(file.string()), std::string::npos) << lib.error();
        EXPECT_NE(lib.error().find(c.says), std::string::npos) << lib.error();
        EXPECT_EQ(lib.count(), 0u);
        EXPECT_EQ(lib.newMacro("New"), LibraryResult::Damaged);
        EXPECT_EQ(lib.importOne(recordBytes("One", {0x00})), LibraryResult::Damaged);
        EXPECT_EQ(lib.remove(0), LibraryResult::Ignored);
        EXPECT_EQ(readBytes(file), c.bytes) << c.says;
    }

    // The user's choices: the default library, or a whole library imported over it.
    MacroLibrary lib(file);
    ASSERT_EQ(lib.CheckPCMacro(), LibraryResult::Damaged);
    ASSERT_EQ(lib.replaceWithDefault(), LibraryResult::Done) << lib.error();
    EXPECT_FALSE(lib.damaged());
    EXPECT_EQ(readBytes(file), sound);
    ASSERT_TRUE(writeWhole(file, foreign, nullptr));
    ASSERT_EQ(lib.CheckPCMacro(), LibraryResult::Damaged);
    ASSERT_EQ(lib.importAll(recordBytes("Only", {0xA1, 0x21, 0x00})), LibraryResult::Done);
    EXPECT_EQ(lib.names(), std::vector<std::string>{"Only"});
    EXPECT_EQ(lib.CheckPCMacro(), LibraryResult::Done);
}

TEST(LibraryPath, PathKeyPrefixAndBinSuffix) {
    EXPECT_EQ(libraryFilePath("/media/stick/"), std::filesystem::path("/media/stick/Nivra-Macro.bin"));
    EXPECT_EQ(libraryFilePath("").filename(), "Nivra-Macro.bin");
    EXPECT_EQ(withBinSuffix("abc"), "abc.bin");
    EXPECT_EQ(withBinSuffix("abc.bin"), "abc.bin.bin");
}

// Every used record of the default library builds to a listing that compiles back to the
// same bytes, and has a name a user can read.
TEST(DefaultLibrary, EveryMacroRoundTrips) {
    const auto data = defaultLibraryData();
    ASSERT_EQ(data.size(), kLibrarySize);
    MacroLibrary lib;
    lib.loadBytes(data);
    ASSERT_GE(lib.count(), 20u);
    for (std::size_t i = 0; i < lib.count(); ++i) {
        const LibraryRecord& r = lib.record(i);
        const std::size_t len = lib.macroLength(i);
        ASSERT_GT(len, 1u) << lib.names()[i];
        const BuiltListing built = lib.listing(i);
        Bytes want(r.code.begin(), r.code.begin() + static_cast<std::ptrdiff_t>(len));
        EXPECT_EQ(CompileMacroListing(built.lines), want) << lib.names()[i];
        EXPECT_TRUE(std::all_of(r.code.begin() + static_cast<std::ptrdiff_t>(len), r.code.end(),
                                [](std::uint8_t b) { return b == 0; }));
        EXPECT_FALSE(lib.names()[i].empty());
    }
    EXPECT_EQ(lib.bytes(), Bytes(data.begin(), data.end())) << "used records stand together from record 0";
}

}  // namespace
}  // namespace nivra::macro
