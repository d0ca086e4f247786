#include "macro/fire_listing.h"

#include "macro/listing.h"
#include "macro/macro_name.h"

#include <algorithm>

namespace nivra::macro {

namespace {

long long clampedNumber(std::string_view text, long long lo, long long hi) {
    return std::clamp(numberOf(text).value_or(0), lo, hi);
}

}  // namespace

Listing BuildFireMacroListing(std::span<const std::uint8_t, kFireMacroBodySize> body) {
    Listing lines{"00"};
    const std::size_t length = fireMacroLength(body);
    // An instruction that starts before length - 1 is read whole: an operand may hold the
    // zero bytes that the length rule takes for the end. A body without an end marker may
    // fill its slot to the last byte; the walk stops at the instruction that leaves no room
    // for the end marker, so the listing always compiles back into the slot and never runs
    // into the next one.
    for (std::size_t at = 0; at + 1 < length;) {
        const std::uint8_t b = body[at];
        const std::size_t len = fireInstructionLength(b);
        if (len == 0 || at + len >= body.size()) break;
        switch (b) {
        case fire_op::kLeftPress:
        case fire_op::kLeftRelease:
            lines.push_back(b == fire_op::kLeftPress ? keyLine(true, "LeftKey", "00A1") : keyLine(false, "LeftKey", "0021"));
            break;
        case fire_op::kMove: lines.push_back(moveLine(body[at + 1], body[at + 2])); break;
        case fire_op::kLoopStart: lines.push_back(loopStartLine(body[at + 1])); break;
        case fire_op::kLoopEnd: lines.push_back(loopEndLine()); break;
        case fire_op::kDelay: lines.push_back(delayLine(static_cast<unsigned>(body[at + 1] << 8 | body[at + 2]))); break;
        default: break;
        }
        at += len;
    }
    return lines;
}

std::size_t fireListingLength(const Listing& listing) { return CompileMacroListing(listing).size(); }

std::optional<std::size_t> CompileFireMacroListing(const Listing& listing, FireMacroBody& body) {
    const std::vector<std::uint8_t> code = CompileMacroListing(listing);
    if (code.size() > body.size()) return std::nullopt;
    body.fill(0);
    std::copy(code.begin(), code.end(), body.begin());
    return code.size();
}

std::string fireInsertLine(FireInsertItem item, const FireInsertTexts& texts) {
    switch (item) {
    case FireInsertItem::DelayFront:
    case FireInsertItem::DelayBack:
        return delayLine(static_cast<unsigned>(clampedNumber(texts.delay, 1, 65535)));
    case FireInsertItem::MoveFront:
    case FireInsertItem::MoveBack:
        return moveLine(static_cast<std::uint8_t>(clampedNumber(texts.x, -128, 127)),
                        static_cast<std::uint8_t>(clampedNumber(texts.y, -128, 127)));
    case FireInsertItem::RepeatStart:
        return loopStartLine(static_cast<std::uint8_t>(clampedNumber(texts.repeat, 0, 255)));
    case FireInsertItem::RepeatStop: break;
    }
    return loopEndLine();
}

bool fireInsertAfter(FireInsertItem item) {
    return item == FireInsertItem::DelayBack || item == FireInsertItem::MoveBack || item == FireInsertItem::RepeatStop;
}

std::string ruleFireRepeatText(std::string_view text) { return std::to_string(clampedNumber(text, 0, 255)); }

bool fireMacroNameListed(const FireMacroName& name) {
    return !(name[0] == 0x00 && name[1] == 0x00) && !(name[0] == 0xFF && name[1] == 0xFF);
}

std::string fireMacroNameText(const FireMacroName& name) { return fireMacroNameListed(name) ? nameText(name) : std::string(); }

bool isFireMacroBody(std::span<const std::uint8_t, kFireMacroBodySize> body) {
    for (std::size_t at = 0; at < body.size();) {
        if (body[at] == op::kEnd) return true;
        const std::size_t len = fireInstructionLength(body[at]);
        if (len == 0) return false;
        at += len;
    }
    return false;
}

std::array<std::uint8_t, kFireMacroFileSize> fireMacroFileBytes(const FireMacroSet& set) {
    std::array<std::uint8_t, kFireMacroFileSize> file{};
    for (std::size_t i = 0; i < kFireMacroCount; ++i) {
        std::copy(set.names[i].begin(), set.names[i].end(), file.begin() + static_cast<std::ptrdiff_t>(16 * i));
        std::copy(set.bodies[i].begin(), set.bodies[i].end(), file.begin() + static_cast<std::ptrdiff_t>(160 + 32 * i));
    }
    return file;
}

std::optional<FireMacroSet> readFireMacroFile(std::span<const std::uint8_t> file) {
    if (file.size() != kFireMacroFileSize) return std::nullopt;
    FireMacroSet set;
    for (std::size_t i = 0; i < kFireMacroCount; ++i) {
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(16 * i), kFireMacroNameSize, set.names[i].begin());
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(160 + 32 * i), kFireMacroBodySize, set.bodies[i].begin());
        if (!isFireMacroBody(set.bodies[i])) return std::nullopt;
    }
    return set;
}

}  // namespace nivra::macro
