// Backups of the configuration read from the mouse: one file per connection in the user's
// state folder, the newest kept.
#pragma once

#include "device/backup_sink.h"
#include "files/file_bytes.h"
#include "image/image.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace nivra {

struct BackupEntry {
    std::filesystem::path path;
    std::string name;          // file name, "20261210-103140Z-1BCF-08B8-FF-FF.bin"
    std::uintmax_t size = 0;
};

// A folder of image backups named by the UTC date and time of the connection and the
// mouse's IDs. Only files of that name form are listed or pruned; anything else the user
// puts in the folder stays alone.
class BackupStore final : public BackupSink {
public:
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    static constexpr std::size_t kDefaultKeep = 20;

    explicit BackupStore(std::filesystem::path directory, std::size_t keep = kDefaultKeep,
                         WallClock wallClock = {});

    // $XDG_STATE_HOME/nivra/backups, or ~/.local/state/nivra/backups when XDG_STATE_HOME
    // is unset or not absolute. Empty when neither can be determined.
    static std::filesystem::path defaultDirectory();

    const std::filesystem::path& directory() const { return directory_; }

    // A new connection begins: the next keep() starts a new file instead of replacing the
    // file of the previous connection.
    void beginConnection() override;

    // Keeps `image` as the backup of the current connection (a new file at the first call
    // after beginConnection(), the same file replaced afterwards), then removes the oldest
    // backups beyond the number kept. A connection whose image equals the newest backup of
    // the same mouse gets no file of its own until its image differs: reconnecting an
    // unchanged mouse does not push older, different configurations out. False with a
    // message when it could not be written.
    bool keep(const Image& image, const BackupIds& ids, std::string* error = nullptr) override;

    // A file that must outlive the pruning, such as a backup about to be loaded back into
    // the mouse; it is never removed by this store.
    void spare(const std::filesystem::path& file);

    // Path of the current connection's backup; empty before the first keep().
    const std::filesystem::path& currentPath() const { return current_; }

    // Backups in the folder, newest first.
    std::vector<BackupEntry> list() const;

    // True for a file name of the form this store writes.
    static bool isBackupName(const std::string& name);

private:
    bool sameAsNewest(const Image& image, const BackupIds& ids) const;
    void prune() const;

    std::filesystem::path directory_;
    std::size_t keep_;
    WallClock wallClock_;
    std::filesystem::path current_;
    std::vector<std::filesystem::path> spared_;
};

}  // namespace nivra
