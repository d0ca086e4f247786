// Reading and checking the two file kinds the user loads into the mouse: configuration
// files (the whole 2048-byte image) and patch files (patch-code header and patch code).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "image/image.h"

namespace nivra {

// The message shown for a file that cannot be loaded; the same text in every language.
inline constexpr std::string_view kLoadBinErrorText = "Loading .bin is error!";

// A patch file: the 16-byte patch-code header followed by the 512-byte patch code, the
// same bytes as image 1008..1535.
inline constexpr std::size_t kPatchFileSize = region::kPatchHeader.length + region::kPatchCode.length;
using PatchHeader = std::array<std::uint8_t, region::kPatchHeader.length>;
using PatchCode = std::array<std::uint8_t, region::kPatchCode.length>;

// Reads a configuration file into `image`. Accepted when the file holds at least 2048 bytes
// and its memory-type marker (byte 495) is 0xE0; only the first 2048 bytes are used.
// Otherwise false with a reason in `error`, and `image` is untouched.
bool readConfigurationFile(const std::filesystem::path& path, Image& image, std::string* error = nullptr);

// Reads a patch file into `header` and `code`. Accepted when the file holds at least 528
// bytes; the content is not judged (the check is computed before writing). Otherwise false
// with a reason, and both copies are untouched.
bool readPatchFile(const std::filesystem::path& path, PatchHeader& header, PatchCode& code,
                   std::string* error = nullptr);

// The patch-code check: (16-bit sum of the 512 bytes) XOR 0x015A.
std::uint16_t patchCodeCheck(std::span<const std::uint8_t, region::kPatchCode.length> code);

// CheckEEPatchCodeSection: header bytes 0..7 = 04 00 02 00 00 1A and the check, high byte
// first; bytes 8..15 are kept.
void CheckEEPatchCodeSection(PatchHeader& header, const PatchCode& code);

}  // namespace nivra
