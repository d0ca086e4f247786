// Where the whole-image reads of each connection are kept as backups. The transfers decide
// when an image is worth keeping; the store that names, writes and prunes the files is
// supplied by their owner.
#pragma once

#include <cstdint>
#include <string>

#include "image/image.h"

namespace nivra {

// The IDs a backup is named by: USB vendor and product ID of the connection and the
// manufacturer and product ID bytes of the image (484, 485).
struct BackupIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t manufacturer = 0;
    std::uint8_t product = 0;
};

class BackupSink {
public:
    virtual ~BackupSink() = default;

    // A new connection begins: the next keep() starts a new backup instead of replacing the
    // one of the previous connection.
    virtual void beginConnection() = 0;
    // Keeps `image` as the backup of the current connection. False with a message in
    // `error` (when given) when it could not be written.
    virtual bool keep(const Image& image, const BackupIds& ids, std::string* error) = 0;
};

}  // namespace nivra
