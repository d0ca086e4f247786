// Code texts of the profile buttons and combo keys, and the refresh that rebuilds them.
#include "image/code_texts.h"

#include <stdexcept>

namespace nivra {

std::size_t buttonCodeOffset(int profile, int key) {
    if (key < 1 || key > static_cast<int>(kKeysPerProfile)) throw std::out_of_range("key number must be 1..12");
    return WorkingCopy::profileRegion(profile).offset + 4 * static_cast<std::size_t>(key - 1);
}

std::size_t comboKeyOffset(int n) {
    if (n < 1 || n > static_cast<int>(kComboKeyCount)) throw std::out_of_range("combo key number must be 1..9");
    return kComboKeyOffset + 4 * static_cast<std::size_t>(n - 1);
}

void CodeTexts::clear() {
    for (auto& p : profile)
        for (auto& t : p) t.clear();
    for (auto& t : combo) t.clear();
}

std::string hexCodeText(std::span<const std::uint8_t> fourBytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(8);
    for (std::size_t i = 0; i < 4 && i < fourBytes.size(); ++i) {
        text += kDigits[fourBytes[i] >> 4];
        text += kDigits[fourBytes[i] & 0x0F];
    }
    return text;
}

void rebuildCodeTexts(const WorkingCopy& work, CodeTexts& texts) {
    texts.clear();
    const std::span<const std::uint8_t> img(work.bytes);
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= static_cast<int>(kKeysPerProfile); ++k)
            texts.profile[p - 1][k - 1] = hexCodeText(img.subspan(buttonCodeOffset(p, k), 4));
    for (int n = 1; n <= static_cast<int>(kComboKeyCount); ++n)
        texts.combo[n - 1] = hexCodeText(img.subspan(comboKeyOffset(n), 4));
}

CodeTexts codeTexts(const WorkingCopy& work) {
    CodeTexts texts;
    rebuildCodeTexts(work, texts);
    return texts;
}

}  // namespace nivra
