// Reading a small file whole and writing a file completely or not at all, for every file the
// program reads from or writes for the user. Reads never block (a FIFO or a device is
// refused, not waited on), take regular files only and refuse a file longer than its kind
// can be; writes replace regular files only. Every failure names the file and the reason.
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

// The largest listing file read (a macro listing, the pointer settings): far beyond any
// real one, small enough that a wrong file cannot exhaust memory.
inline constexpr std::size_t kMaxTextFileSize = 1 << 20;

// Up to `limit` bytes of the regular file at `path`; nothing (with `error` naming the file
// and the reason) when it cannot be opened, is not a regular file or cannot be read.
// A caller that must tell a longer file asks for one byte more than it accepts.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::size_t limit,
                                                       std::string* error = nullptr);

// Writes `bytes` to `path` completely or not at all: a temporary file in the same folder
// is written, flushed to disk and renamed over `path`. A symbolic link to a regular file is
// followed and that file replaced (the link stays); a link to anything else, a folder, a
// device, a FIFO or a socket is refused. "-" writes to standard output. Temporary files this
// writer left for the same file in a process that no longer runs are removed. On failure
// `path` is untouched, no temporary file is left behind and `error` (when given) says what
// went wrong.
bool writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* error = nullptr);

// Reads the regular file at `path`: its first `limit` bytes, or all of it when it is
// shorter. False with a message naming the file and the reason when it cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::string* error = nullptr, std::size_t limit = 1 << 20);

// Reads the whole regular file at `path`, which may hold at most `maxSize` bytes: a longer
// file is refused with a message, as is one that cannot be read.
bool readFileUpTo(const std::filesystem::path& path, std::vector<std::uint8_t>& out, std::size_t maxSize,
                  std::string* error = nullptr);

// The files of the local file system through the functions above, for the device layer.
FileAccess& diskFiles();

}  // namespace nivra
