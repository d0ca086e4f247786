// Reading configuration and patch files, and the patch-code check.
#include "files/config_file.h"

#include <algorithm>
#include <vector>

#include "files/file_bytes.h"

namespace nivra {

namespace {
// The memory-type marker of an image: 0xE0 at 495 marks an I2C EEPROM.
constexpr std::size_t kMarkerAt = 495;
constexpr std::uint8_t kI2cMarkerByte = 0xE0;

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}
}  // namespace

bool readConfigurationFile(const std::filesystem::path& path, Image& image, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes, error, kImageSize)) return false;
    if (bytes.size() < kImageSize) {
        setError(error, path.string() + " holds " + std::to_string(bytes.size()) + " bytes, not " +
                            std::to_string(kImageSize));
        return false;
    }
    if (bytes[kMarkerAt] != kI2cMarkerByte) {
        setError(error, path.string() + " is not a configuration of an I2C mouse (byte 495 is not E0)");
        return false;
    }
    std::copy_n(bytes.begin(), kImageSize, image.begin());
    return true;
}

bool readPatchFile(const std::filesystem::path& path, PatchHeader& header, PatchCode& code, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes, error, kPatchFileSize)) return false;
    if (bytes.size() < kPatchFileSize) {
        setError(error, path.string() + " holds " + std::to_string(bytes.size()) + " bytes, not " +
                            std::to_string(kPatchFileSize));
        return false;
    }
    std::copy_n(bytes.begin(), header.size(), header.begin());
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(header.size()), code.size(), code.begin());
    return true;
}

std::uint16_t patchCodeCheck(std::span<const std::uint8_t, region::kPatchCode.length> code) {
    std::uint16_t sum = 0;
    for (std::uint8_t b : code) sum = static_cast<std::uint16_t>(sum + b);
    return static_cast<std::uint16_t>(sum ^ 0x015A);
}

void CheckEEPatchCodeSection(PatchHeader& header, const PatchCode& code) {
    const std::uint16_t check = patchCodeCheck(code);
    header[0] = 0x04;
    header[1] = 0x00;
    header[2] = 0x02;
    header[3] = 0x00;
    header[4] = 0x00;
    header[5] = 0x1A;
    header[6] = static_cast<std::uint8_t>(check >> 8);
    header[7] = static_cast<std::uint8_t>(check & 0xFF);
}

}  // namespace nivra
