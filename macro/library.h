// The PC macro library: 100 records of a 16-byte name and a 256-byte code slot, kept in the
// file "Nivra-Macro.bin" (27200 bytes) and written whole, atomically, after every change.
// Used records stand together from record 0, so list item i is record i.
#pragma once

#include "macro/byte_code.h"
#include "macro/device_area.h"
#include "macro/macro_name.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nivra::macro {

inline constexpr std::size_t kLibraryRecords = 100;
inline constexpr std::size_t kRecordSize = kNameSize + kSlotSize;  // 272
inline constexpr std::size_t kLibrarySize = kLibraryRecords * kRecordSize;  // 27200
inline constexpr char kLibraryFileName[] = "Nivra-Macro.bin";

struct LibraryRecord {
    NameBytes name{};
    CodeSlot code{};
    bool used() const { return nameUsed(name); }
};

// The default library shipped with the program (the resource "PCMacroData"), 27200 bytes.
std::span<const std::uint8_t> defaultLibraryData();

// Where the library file lives: `pathKey` (the layout key "Path", a prefix of the file name)
// when it is set, otherwise the program's data folder ($XDG_DATA_HOME/nivra, or
// ~/.local/share/nivra).
std::filesystem::path libraryFilePath(const std::string& pathKey);

// The name a save dialog's answer stands for: ".bin" is always appended.
std::string withBinSuffix(const std::string& chosen);

enum class LibraryResult {
    Done,
    Ignored,    // nothing to do: no selection, an empty name, the list is full
    Exists,     // "Str106": that name is already in the library
    BadFile,    // a file that is too short to hold what it should
    BadName,    // a name the mouse's device macro area could not keep (nameFitsDeviceArea)
    FileError,  // the file could not be read or written; error() says why
    Damaged,    // the library file is damaged or no macro library; error() says why. It is
                // left as it is: nothing is written to it until it is replaced
};

// Why `bytes` cannot be a library file (its size, a used record without a complete macro);
// empty for a sound one.
std::string libraryFileFault(std::span<const std::uint8_t> bytes);

class MacroLibrary {
public:
    explicit MacroLibrary(std::filesystem::path file = {});

    const std::filesystem::path& file() const { return file_; }
    void setFile(std::filesystem::path file) { file_ = std::move(file); }
    const std::string& error() const { return error_; }

    // CheckPCMacro: loads the file, or creates it from the default library when it does not
    // exist. A damaged or foreign file is refused (Damaged): the library is then empty and
    // refuses every change until replace() or importAll() replaces the file.
    LibraryResult CheckPCMacro();
    // RefreshPCMacro: writes the whole file, completely or not at all.
    LibraryResult RefreshPCMacro();
    // True while the file was refused as damaged and not yet replaced.
    bool damaged() const { return damaged_; }
    // Replaces the library file, damaged or not, with the default library.
    LibraryResult replaceWithDefault();

    // Replaces the records the bytes reach whole (record i at 272·i); the others keep their
    // content. Used records are then moved together, in order.
    void loadBytes(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> bytes() const;

    // RefreshPCMacroName: the names of the used records, in order.
    std::vector<std::string> names() const;
    std::size_t count() const;
    const LibraryRecord& record(std::size_t i) const { return records_.at(i); }
    // The macro length of record i (found by the scan); 0 when the slot holds no end marker.
    std::size_t macroLength(std::size_t i) const;
    // The listing of record i (empty lines when its code is only the end marker).
    BuiltListing listing(std::size_t i) const;

    // Each operation writes the file when it changed the library.
    // ApplyMacroName for a new macro: record n = count() gets the name.
    LibraryResult newMacro(const std::string& name);
    // ApplyMacroName for a rename of record i.
    LibraryResult rename(std::size_t i, const std::string& name);
    // Btn_DelPCMacroClick: records i+1..99 move down, record 99 becomes zero.
    LibraryResult remove(std::size_t i);
    // A listing compiled into record i's slot (every edit of the listing commits this way).
    // Ignored when the code does not fit the slot.
    LibraryResult storeListing(std::size_t i, const Listing& listing);
    // Record i's code slot zeroed in memory only (a recording refills it and then writes).
    void clearCode(std::size_t i) { records_.at(i).code.fill(0); }
    // Btn_ImportOneClick with the file's bytes: Ignored with 99 or more macros; BadFile for
    // fewer than 272 bytes or an unused name; Exists when a used record has those name bytes;
    // BadName for a name the device macro area could not keep (as newMacro and rename).
    LibraryResult importOne(std::span<const std::uint8_t> fileBytes);
    // Btn_ImportClick with the file's bytes; BadName, importing nothing, when a used record's
    // name could not be kept by the device macro area.
    LibraryResult importAll(std::span<const std::uint8_t> fileBytes);
    // The 272 bytes of record i, and the whole 27200 bytes, for the exports.
    std::vector<std::uint8_t> recordBytes(std::size_t i) const;
    // True when the name text is that of a used record.
    bool hasName(const std::string& name) const;

private:
    void compact();

    std::filesystem::path file_;
    std::array<LibraryRecord, kLibraryRecords> records_{};
    std::string error_;
    bool damaged_ = false;
};

// Writes bytes to a file completely or not at all.
bool writeWhole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::string* error);

}  // namespace nivra::macro
