// Reading a small binary file whole, with a read error (a folder, a device that went away)
// reported as a failure instead of the exception a stream iterator would let escape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nivra {

// Up to `limit` bytes of the file at `path`; nothing when it cannot be opened or read.
// A caller that must tell a longer file asks for one byte more than it accepts.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::size_t limit);

}  // namespace nivra
