// The few files the device layer touches (the simulated mouse's memory file, the report
// descriptors under /sys) are reached through this interface. The program's file layer
// supplies it, so the device layer holds no file reading or writing of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nivra {

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // Something is at `path` (a missing memory file means a fresh mouse, not an error).
    virtual bool exists(const std::string& path) = 0;
    // Up to `limit` bytes of the regular file at `path`; nothing (with a message naming the
    // file and the reason in `error`, when given) when it cannot be opened or read or is no
    // regular file. A caller that must tell a longer file asks for one byte more than it
    // accepts.
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t limit,
                                                          std::string* error = nullptr) = 0;
    // Writes `bytes` to `path` completely or not at all; false with a message in `error`
    // (when given) otherwise.
    virtual bool write(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error) = 0;
};

}  // namespace nivra
