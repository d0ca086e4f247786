// Reading a small binary file whole, with a read error (a folder, a device that went away)
// reported as a failure instead of the exception a stream iterator would let escape; and
// writing a file completely or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/file_access.h"

namespace nivra {

// Up to `limit` bytes of the file at `path`; nothing when it cannot be opened or read.
// A caller that must tell a longer file asks for one byte more than it accepts.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::size_t limit);

// Writes `bytes` to `path` completely or not at all: a temporary file in the same folder
// is written, flushed to disk and renamed over `path` (over the file a symbolic link names,
// when `path` is one). On failure `path` is untouched, no temporary file is left behind
// and `error` (when given) says what went wrong.
bool writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* error = nullptr);

// Reads a whole file (at most `limit` bytes). False with a message when it cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::string* error = nullptr, std::size_t limit = 1 << 20);

// The files of the local file system through the functions above, for the device layer.
FileAccess& diskFiles();

}  // namespace nivra
