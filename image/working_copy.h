// The working copy that every editor changes (five sections and the identity and fire-key
// block, plus side copies of the other regions), and the moves between it and the
// 2048-byte transfer buffer: distribute (with section repair) and assemble.
#pragma once

#include "image/image.h"
#include "image/types.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace nivra {

inline constexpr std::size_t kFireMacroCount = 10;
inline constexpr std::size_t kFireMacroNameSize = 16;
inline constexpr std::size_t kFireMacroBodySize = 32;
using FireMacroName = std::array<std::uint8_t, kFireMacroNameSize>;
using FireMacroBody = std::array<std::uint8_t, kFireMacroBodySize>;

// Every byte sits at its image offset, so editors address fields by image offset. The
// sections and the identity block are the working part; reserved block, device macro
// area, patch-code header, patch code and the raw fire-macro block are side copies.
// Bytes 380..483 are never filled from an image and never assembled into one.
struct WorkingCopy {
    Image bytes;
    std::array<FireMacroName, kFireMacroCount> fireMacroNames{};
    std::array<FireMacroBody, kFireMacroCount> fireMacroBodies{};

    WorkingCopy() { bytes.fill(0xFF); }

    std::span<std::uint8_t, 164> vendor() { return view<164>(region::kVendor); }
    std::span<const std::uint8_t, 164> vendor() const { return view<164>(region::kVendor); }
    std::span<std::uint8_t, 28> user() { return view<28>(region::kUser); }
    std::span<const std::uint8_t, 28> user() const { return view<28>(region::kUser); }
    // Profile section p = 1..3.
    std::span<std::uint8_t, 49> profile(int p) { return view<49>(profileRegion(p)); }
    std::span<const std::uint8_t, 49> profile(int p) const { return view<49>(profileRegion(p)); }
    std::span<std::uint8_t, 12> identity() { return view<12>(region::kIdentity); }
    std::span<const std::uint8_t, 12> identity() const { return view<12>(region::kIdentity); }
    std::span<std::uint8_t, 41> reserved() { return view<41>(region::kReserved); }
    std::span<std::uint8_t, 512> deviceMacros() { return view<512>(region::kDeviceMacros); }
    std::span<const std::uint8_t, 512> deviceMacros() const { return view<512>(region::kDeviceMacros); }
    std::span<std::uint8_t, 16> patchHeader() { return view<16>(region::kPatchHeader); }
    std::span<const std::uint8_t, 16> patchHeader() const { return view<16>(region::kPatchHeader); }
    std::span<std::uint8_t, 512> patchCode() { return view<512>(region::kPatchCode); }
    std::span<const std::uint8_t, 512> patchCode() const { return view<512>(region::kPatchCode); }
    std::span<std::uint8_t, 512> fireMacroBlock() { return view<512>(region::kFireMacroBlock); }
    std::span<const std::uint8_t, 512> fireMacroBlock() const { return view<512>(region::kFireMacroBlock); }

    static Region profileRegion(int p);

private:
    template <std::size_t N>
    std::span<std::uint8_t, N> view(Region r) { return std::span<std::uint8_t, N>(bytes.data() + r.offset, N); }
    template <std::size_t N>
    std::span<const std::uint8_t, N> view(Region r) const {
        return std::span<const std::uint8_t, N>(bytes.data() + r.offset, N);
    }
};

// What the default generators depend on besides the bytes they write.
struct DefaultInputs {
    MemoryType memory = MemoryType::None;      // the connected mouse's memory type
    LedType led = LedType::None;               // as last set by a refresh
    PackageChoice package = PackageChoice::None;  // cb_Package item
};

// Section checks: when the stored check byte differs from the computed one, the section is
// rebuilt by its default generator and given a correct check byte. Returns true when it
// repaired the section (no message is ever shown for it).
bool CheckVendorSection(WorkingCopy& work, const DefaultInputs& in);
bool CheckUserSection(WorkingCopy& work, const DefaultInputs& in);
bool CheckProfile1Section(WorkingCopy& work, const DefaultInputs& in);
bool CheckProfile2Section(WorkingCopy& work, const DefaultInputs& in);
bool CheckProfile3Section(WorkingCopy& work, const DefaultInputs& in);

// Recomputes and stores the check byte of a section of the working copy.
void setSectionCheckByte(std::span<std::uint8_t> section);

// Which sections a distribution repaired.
struct SectionRepairs {
    bool vendor = false;
    bool user = false;
    std::array<bool, 3> profile{};
    bool any() const { return vendor || user || profile[0] || profile[1] || profile[2]; }
};

// Called by distribute once the device macro area copy (step 6) and the fire-macro names
// and bodies (step 9) are in place, so the device macro listing and the fire-macro name
// list can be rebuilt from them. Either may be empty.
struct DistributeHooks {
    std::function<void(WorkingCopy&)> deviceMacrosCopied;
    std::function<void(WorkingCopy&)> fireMacroNamesCopied;
};

// Copies the transfer buffer into the working copy and side copies, checking each section
// on the way. The transfer buffer is not changed: repairs touch the working copy only.
SectionRepairs distributeImage(const Image& transfer, WorkingCopy& work, const DefaultInputs& in,
                               const DistributeHooks& hooks = {});

// The reverse copy; bytes 380..483 of the transfer buffer keep what they held.
void assembleImage(const WorkingCopy& work, Image& transfer);

// Writes the fire-macro names and bodies into the raw fire-macro block (names at 16n,
// bodies at 160 + 32n); its last 32 bytes keep what they held.
void rebuildFireMacroBlock(WorkingCopy& work);

}  // namespace nivra
