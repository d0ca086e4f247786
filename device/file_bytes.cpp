// Whole-file reads through istream::read, which turns a failing read into a bad stream.
#include "device/file_bytes.h"

#include <algorithm>
#include <fstream>

namespace nivra {

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kChunk = 4096;
    while (bytes.size() < limit) {
        const std::size_t at = bytes.size();
        const std::size_t want = std::min(kChunk, limit - at);
        bytes.resize(at + want);
        in.read(reinterpret_cast<char*>(bytes.data() + at), static_cast<std::streamsize>(want));
        if (in.bad()) return std::nullopt;
        bytes.resize(at + static_cast<std::size_t>(in.gcount()));
        if (!in) break;   // end of file
    }
    return bytes;
}

}  // namespace nivra
