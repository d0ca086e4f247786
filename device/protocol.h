// The mouse's feature-report protocol as pure functions: report layouts, command codes and
// the two chunkings. The link (link.h) sends what these build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace nivra::protocol {

inline constexpr std::size_t kReportLength = 8;   // report ID + 7 payload bytes
inline constexpr std::size_t kDataBytes = 7;       // payload of a data report
inline constexpr std::size_t kSetBytesChunk = 3;   // data bytes of one set-bytes form-0 report

using Report = std::array<std::uint8_t, kReportLength>;
using DataBytes = std::array<std::uint8_t, kDataBytes>;

inline constexpr std::uint8_t kCommandReportId = 0x40;
inline constexpr std::uint8_t kDataReportId = 0x41;
inline constexpr std::uint8_t kNotificationReportId = 0x42;

enum class Command : std::uint8_t {
    XdataWrite = 0x01,
    XdataRead = 0x02,
    SetBytes = 0x05,
    GetBytes = 0x06,
    BlockWrite = 0x07,
    BlockRead = 0x09,
    Identify = 0x0D,
    Restart = 0x0E,
};

// Byte positions inside a command report.
inline constexpr std::size_t kCodeAt = 1;
inline constexpr std::size_t kAddressHighAt = 2;
inline constexpr std::size_t kAddressLowAt = 3;
inline constexpr std::size_t kLengthHighAt = 4;
inline constexpr std::size_t kLengthLowAt = 5;
// Set bytes: [40 05 form offset b0 b1 b2 count|b3]
inline constexpr std::size_t kSetFormAt = 2;
inline constexpr std::size_t kSetOffsetAt = 3;
inline constexpr std::size_t kSetDataAt = 4;
inline constexpr std::size_t kSetCountAt = 7;
static_assert(kSetCountAt == kReportLength - 1 && kSetDataAt + kSetBytesChunk == kSetCountAt);

// Number of data reports for a transfer of `length` bytes (seven per report).
constexpr std::size_t dataReportCount(std::size_t length) { return (length + kDataBytes - 1) / kDataBytes; }
// Number of set-bytes reports for `count` bytes (three per report).
constexpr std::size_t setBytesReportCount(std::size_t count) {
    return (count + kSetBytesChunk - 1) / kSetBytesChunk;
}
static_assert(dataReportCount(2048) == 293 && dataReportCount(147) == 21 && dataReportCount(28) == 4);
static_assert(setBytesReportCount(164) == 55 && setBytesReportCount(28) == 10);

// [40 code p2 p3 p4 p5 00 00]
constexpr Report commandReport(std::uint8_t code, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
                               std::uint8_t p4 = 0, std::uint8_t p5 = 0) {
    return Report{kCommandReportId, code, p2, p3, p4, p5, 0, 0};
}

// Block read, block write and get bytes: 16-bit address and length, high byte first.
constexpr Report blockCommand(Command code, std::uint16_t address, std::uint16_t length) {
    return commandReport(static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(address >> 8),
                         static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(length >> 8),
                         static_cast<std::uint8_t>(length & 0xFF));
}

// Set bytes form 0: `count` (1..3) bytes b0.. at `offset`.
constexpr Report setBytesReport(std::uint8_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                                std::uint8_t count) {
    return Report{kCommandReportId, static_cast<std::uint8_t>(Command::SetBytes), 0x00, offset, b0, b1, b2, count};
}

// Set bytes form 1: four bytes at `offset`.
constexpr Report setBytes4Report(std::uint8_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                                 std::uint8_t b3) {
    return Report{kCommandReportId, static_cast<std::uint8_t>(Command::SetBytes), 0x01, offset, b0, b1, b2, b3};
}

// [41 d0..d6]
constexpr Report dataReport(const DataBytes& d) {
    return Report{kDataReportId, d[0], d[1], d[2], d[3], d[4], d[5], d[6]};
}

// The request buffer of a data-report read: [41 00 00 00 00 00 00 00].
constexpr Report dataRequest() { return Report{kDataReportId, 0, 0, 0, 0, 0, 0, 0}; }

// The identify reply marks a mouse whose configuration memory is an I2C EEPROM.
constexpr bool identifiesI2c(const DataBytes& reply) {
    return reply[0] < 0x40 && reply[1] == 0x3A && reply[2] == 0xC0;
}

// Notification events: byte 3 of an input report 0x42.
inline constexpr std::size_t kNotificationEventAt = 3;
inline constexpr std::uint8_t kEventRelease = 0;
inline constexpr std::uint8_t kEventMode = 8;

}  // namespace nivra::protocol
