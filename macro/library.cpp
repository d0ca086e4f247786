#include "macro/library.h"

#include "files/file_bytes.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace nivra::macro {

std::filesystem::path libraryFilePath(const std::string& pathKey) {
    if (!pathKey.empty()) return std::filesystem::path(pathKey + kLibraryFileName);
    std::filesystem::path folder;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
        folder = std::filesystem::path(data) / "nivra";
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::filesystem::path(home) / ".local" / "share" / "nivra";
    } else {
        folder = std::filesystem::current_path();
    }
    return folder / kLibraryFileName;
}

std::string withBinSuffix(const std::string& chosen) { return chosen + ".bin"; }

bool writeWhole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::string* error) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    return writeFileAtomically(path, bytes, error);
}

MacroLibrary::MacroLibrary(std::filesystem::path file) : file_(std::move(file)) {}

std::string libraryFileFault(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kLibrarySize) return "it is longer than " + std::to_string(kLibrarySize) + " bytes";
    if (bytes.size() < kLibrarySize)
        return "it holds " + std::to_string(bytes.size()) + " bytes, not " + std::to_string(kLibrarySize);
    for (std::size_t i = 0; i < kLibraryRecords; ++i) {
        const auto record = bytes.subspan(i * kRecordSize, kRecordSize);
        if (!nameUsed(record.first<kNameSize>())) continue;
        // Every macro this program stores ends with its end marker inside the slot.
        const auto code = record.subspan(kNameSize);
        const std::optional<std::size_t> len = scanMacroLength(code);
        if (!len || code[*len - 1] != op::kEnd)
            return "record " + std::to_string(i + 1) + " holds no complete macro";
    }
    return {};
}

LibraryResult MacroLibrary::CheckPCMacro() {
    error_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec) && !std::filesystem::is_symlink(file_, ec)) {
        records_ = {};
        damaged_ = false;
        loadBytes(defaultLibraryData());
        return RefreshPCMacro();
    }
    std::vector<std::uint8_t> bytes;
    // One byte more than a library tells a longer file from one of the right size.
    if (!readWholeFile(file_, bytes, &error_, kLibrarySize + 1)) return LibraryResult::FileError;
    records_ = {};
    if (const std::string fault = libraryFileFault(bytes); !fault.empty()) {
        // Loading what can be loaded and writing it back would cut the file to the records
        // read: the user's file stays untouched until the user replaces it.
        damaged_ = true;
        error_ = "the macro library " + file_.string() + " is damaged or not a macro library (" + fault +
                 "); it is left as it is until it is replaced";
        return LibraryResult::Damaged;
    }
    damaged_ = false;
    loadBytes(bytes);
    return LibraryResult::Done;
}

LibraryResult MacroLibrary::RefreshPCMacro() {
    error_.clear();
    if (damaged_) {
        // The change is undone too: the refused library stays empty in memory.
        records_ = {};
        error_ = "the macro library " + file_.string() + " is damaged and is not changed until it is replaced";
        return LibraryResult::Damaged;
    }
    if (!writeWhole(file_, bytes(), &error_)) return LibraryResult::FileError;
    return LibraryResult::Done;
}

LibraryResult MacroLibrary::replaceWithDefault() {
    records_ = {};
    loadBytes(defaultLibraryData());
    damaged_ = false;
    return RefreshPCMacro();
}

void MacroLibrary::loadBytes(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < kLibraryRecords; ++i) {
        const std::size_t at = i * kRecordSize;
        if (at + kRecordSize > bytes.size()) break;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kNameSize, records_[i].name.begin());
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at + kNameSize), kSlotSize, records_[i].code.begin());
    }
    compact();
}

void MacroLibrary::compact() {
    std::stable_partition(records_.begin(), records_.end(), [](const LibraryRecord& r) { return r.used(); });
    for (LibraryRecord& r : records_)
        if (!r.used()) r = {};
}

std::vector<std::uint8_t> MacroLibrary::bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(kLibrarySize);
    for (const LibraryRecord& r : records_) {
        out.insert(out.end(), r.name.begin(), r.name.end());
        out.insert(out.end(), r.code.begin(), r.code.end());
    }
    return out;
}

std::vector<std::string> MacroLibrary::names() const {
    std::vector<std::string> out;
    for (const LibraryRecord& r : records_) {
        if (!r.used()) break;
        out.push_back(nameText(r.name));
    }
    return out;
}

std::size_t MacroLibrary::count() const {
    std::size_t n = 0;
    while (n < kLibraryRecords && records_[n].used()) ++n;
    return n;
}

std::size_t MacroLibrary::macroLength(std::size_t i) const {
    if (i >= kLibraryRecords) return 0;
    return scanMacroLength(records_[i].code).value_or(0);
}

BuiltListing MacroLibrary::listing(std::size_t i) const {
    const std::size_t len = macroLength(i);
    if (len <= 1) return {};
    return BuildMacroListing(records_[i].code, len);
}

bool MacroLibrary::hasName(const std::string& name) const {
    const std::vector<std::string> all = names();
    return std::find(all.begin(), all.end(), name) != all.end();
}

LibraryResult MacroLibrary::newMacro(const std::string& name) {
    const std::size_t n = count();
    if (name.empty() || n >= kLibraryRecords) return LibraryResult::Ignored;
    if (hasName(name)) return LibraryResult::Exists;
    const NameBytes bytes = nameBytes(name);
    if (!nameUsed(bytes)) return LibraryResult::Ignored;
    if (!nameFitsDeviceArea(bytes)) return LibraryResult::BadName;
    records_[n].name = bytes;
    return RefreshPCMacro();
}

LibraryResult MacroLibrary::rename(std::size_t i, const std::string& name) {
    if (name.empty() || i >= count()) return LibraryResult::Ignored;
    if (hasName(name)) return LibraryResult::Exists;
    const NameBytes bytes = nameBytes(name);
    if (!nameUsed(bytes)) return LibraryResult::Ignored;
    if (!nameFitsDeviceArea(bytes)) return LibraryResult::BadName;
    records_[i].name = bytes;
    return RefreshPCMacro();
}

LibraryResult MacroLibrary::remove(std::size_t i) {
    if (i >= count()) return LibraryResult::Ignored;
    std::move(records_.begin() + static_cast<std::ptrdiff_t>(i) + 1, records_.end(),
              records_.begin() + static_cast<std::ptrdiff_t>(i));
    records_.back() = {};
    return RefreshPCMacro();
}

LibraryResult MacroLibrary::storeListing(std::size_t i, const Listing& listing) {
    if (i >= count()) return LibraryResult::Ignored;
    if (!CompileMacroListing(listing, records_[i].code)) return LibraryResult::Ignored;
    return RefreshPCMacro();
}

LibraryResult MacroLibrary::importOne(std::span<const std::uint8_t> fileBytes) {
    const std::size_t n = count();
    if (n >= kLibraryRecords - 1) return LibraryResult::Ignored;
    if (fileBytes.size() < kRecordSize) return LibraryResult::BadFile;
    LibraryRecord r;
    std::copy_n(fileBytes.begin(), kNameSize, r.name.begin());
    std::copy_n(fileBytes.begin() + kNameSize, kSlotSize, r.code.begin());
    if (!r.used()) return LibraryResult::BadFile;
    if (!nameFitsDeviceArea(r.name)) return LibraryResult::BadName;
    for (std::size_t i = 0; i < n; ++i)
        if (records_[i].name == r.name) return LibraryResult::Exists;
    records_[n] = r;
    return RefreshPCMacro();
}

LibraryResult MacroLibrary::importAll(std::span<const std::uint8_t> fileBytes) {
    for (std::size_t at = 0; at + kNameSize <= fileBytes.size(); at += kRecordSize) {
        const std::span<const std::uint8_t, kNameSize> name(fileBytes.data() + at, kNameSize);
        if (nameUsed(name) && !nameFitsDeviceArea(name)) return LibraryResult::BadName;
    }
    // Importing a whole library onto a refused file replaces that file: the imported
    // records start from an empty library rather than the unread damaged one.
    if (damaged_) records_ = {};
    damaged_ = false;
    loadBytes(fileBytes);
    return RefreshPCMacro();
}

std::vector<std::uint8_t> MacroLibrary::recordBytes(std::size_t i) const {
    if (i >= kLibraryRecords) return {};
    const LibraryRecord& r = records_[i];
    std::vector<std::uint8_t> out(r.name.begin(), r.name.end());
    out.insert(out.end(), r.code.begin(), r.code.end());
    return out;
}

}  // namespace nivra::macro
