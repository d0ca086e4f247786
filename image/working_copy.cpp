// Section checks with repair, distribution of an image into the working copy and its
// assembly back into the transfer buffer.
#include "image/working_copy.h"

#include "image/defaults.h"

#include <algorithm>
#include <stdexcept>

namespace nivra {

Region WorkingCopy::profileRegion(int p) {
    switch (p) {
        case 1: return region::kProfile1;
        case 2: return region::kProfile2;
        case 3: return region::kProfile3;
    }
    throw std::out_of_range("profile number must be 1..3");
}

void setSectionCheckByte(std::span<std::uint8_t> section) {
    section.back() = sectionCheckByte(section);
}

namespace {

bool checkOrRepair(std::span<std::uint8_t> section, const std::function<void()>& regenerate) {
    if (section.back() == sectionCheckByte(section)) return false;
    regenerate();
    setSectionCheckByte(section);
    return true;
}

bool checkProfile(WorkingCopy& work, int p, const DefaultInputs& in) {
    auto section = work.profile(p);
    return checkOrRepair(section, [&] { defaultProfileSection(section, in.package); });
}

template <std::size_t N>
void copyIn(const Image& from, Region r, std::span<std::uint8_t, N> to) {
    std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(r.offset), N, to.begin());
}

void copyOut(std::span<const std::uint8_t> from, Image& to, std::size_t at) {
    std::copy(from.begin(), from.end(), to.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

bool CheckVendorSection(WorkingCopy& work, const DefaultInputs& in) {
    auto section = work.vendor();
    return checkOrRepair(section, [&] { defaultVendorSection(section, in); });
}

bool CheckUserSection(WorkingCopy& work, const DefaultInputs& in) {
    auto section = work.user();
    return checkOrRepair(section, [&] { defaultUserSection(section, in.led); });
}

bool CheckProfile1Section(WorkingCopy& work, const DefaultInputs& in) { return checkProfile(work, 1, in); }
bool CheckProfile2Section(WorkingCopy& work, const DefaultInputs& in) { return checkProfile(work, 2, in); }
bool CheckProfile3Section(WorkingCopy& work, const DefaultInputs& in) { return checkProfile(work, 3, in); }

SectionRepairs distributeImage(const Image& transfer, WorkingCopy& work, const DefaultInputs& in,
                               const DistributeHooks& hooks) {
    SectionRepairs repairs;
    copyIn(transfer, region::kVendor, work.vendor());
    repairs.vendor = CheckVendorSection(work, in);
    copyIn(transfer, region::kUser, work.user());
    repairs.user = CheckUserSection(work, in);
    copyIn(transfer, region::kProfile1, work.profile(1));
    repairs.profile[0] = CheckProfile1Section(work, in);
    copyIn(transfer, region::kProfile2, work.profile(2));
    repairs.profile[1] = CheckProfile2Section(work, in);
    copyIn(transfer, region::kProfile3, work.profile(3));
    repairs.profile[2] = CheckProfile3Section(work, in);

    copyIn(transfer, region::kReserved, work.reserved());
    copyIn(transfer, region::kIdentity, work.identity());

    copyIn(transfer, region::kDeviceMacros, work.deviceMacros());
    if (hooks.deviceMacrosCopied) hooks.deviceMacrosCopied(work);

    copyIn(transfer, region::kPatchHeader, work.patchHeader());
    copyIn(transfer, region::kPatchCode, work.patchCode());

    copyIn(transfer, region::kFireMacroBlock, work.fireMacroBlock());
    const auto block = work.fireMacroBlock();
    for (std::size_t n = 0; n < kFireMacroCount; ++n) {
        std::copy_n(block.begin() + 16 * n, kFireMacroNameSize, work.fireMacroNames[n].begin());
        std::copy_n(block.begin() + 160 + 32 * n, kFireMacroBodySize, work.fireMacroBodies[n].begin());
    }
    if (hooks.fireMacroNamesCopied) hooks.fireMacroNamesCopied(work);
    return repairs;
}

void assembleImage(const WorkingCopy& work, Image& transfer) {
    copyOut(std::span(work.bytes).first(region::kReserved.end()), transfer, 0);  // sections and reserved block
    copyOut(work.identity(), transfer, region::kIdentity.offset);
    copyOut(work.deviceMacros(), transfer, region::kDeviceMacros.offset);
    copyOut(work.patchHeader(), transfer, region::kPatchHeader.offset);
    copyOut(work.patchCode(), transfer, region::kPatchCode.offset);
    copyOut(work.fireMacroBlock(), transfer, region::kFireMacroBlock.offset);
}

void rebuildFireMacroBlock(WorkingCopy& work) {
    auto block = work.fireMacroBlock();
    for (std::size_t n = 0; n < kFireMacroCount; ++n) {
        std::copy(work.fireMacroNames[n].begin(), work.fireMacroNames[n].end(), block.begin() + 16 * n);
        std::copy(work.fireMacroBodies[n].begin(), work.fireMacroBodies[n].end(), block.begin() + 160 + 32 * n);
    }
}

}  // namespace nivra
