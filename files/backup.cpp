// Image backups per connection.
#include "files/backup.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace nivra {

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

}  // namespace

namespace {

const std::regex& backupNamePattern() {
    // 20261210-103140Z-1BCF-08B8-FF-FF.bin, with "-N" before ".bin" for a second backup
    // of the same mouse within one second.
    static const std::regex re(
        R"(^(\d{8}-\d{6}Z)-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{2}-[0-9A-F]{2}(?:-(\d{1,6}))?\.bin$)");
    return re;
}

struct SortKey {
    std::string stamp;
    unsigned sequence = 1;
    std::string name;
    bool operator<(const SortKey& o) const {
        if (stamp != o.stamp) return stamp < o.stamp;
        if (sequence != o.sequence) return sequence < o.sequence;
        return name < o.name;
    }
};

bool sortKeyOf(const std::string& name, SortKey& key) {
    std::smatch m;
    if (!std::regex_match(name, m, backupNamePattern())) return false;
    key.stamp = m[1].str();
    key.sequence = m[2].matched ? static_cast<unsigned>(std::stoul(m[2].str())) : 1;
    key.name = name;
    return true;
}

// "-1BCF-08B8-FF-FF": the IDs part of a backup's name.
std::string idsSuffix(const BackupIds& ids) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "-%04X-%04X-%02X-%02X", ids.vendorId, ids.productId, ids.manufacturer,
                  ids.product);
    return buf;
}

std::string baseName(std::chrono::system_clock::time_point when, const BackupIds& ids) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    ::gmtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d-%02d%02d%02dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf + idsSuffix(ids);
}

}  // namespace

BackupStore::BackupStore(fs::path directory, std::size_t keep, WallClock wallClock)
    : directory_(std::move(directory)), keep_(std::max<std::size_t>(keep, 1)), wallClock_(std::move(wallClock)) {
    if (!wallClock_) wallClock_ = [] { return std::chrono::system_clock::now(); };
}

fs::path BackupStore::defaultDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state && fs::path(state).is_absolute()) return fs::path(state) / "nivra" / "backups";
    const char* home = std::getenv("HOME");
    if (home && *home && fs::path(home).is_absolute())
        return fs::path(home) / ".local" / "state" / "nivra" / "backups";
    return {};
}

void BackupStore::beginConnection() { current_.clear(); }

void BackupStore::spare(const fs::path& file) { spared_.push_back(file); }

bool BackupStore::isBackupName(const std::string& name) {
    return std::regex_match(name, backupNamePattern());
}

bool BackupStore::keep(const Image& image, const BackupIds& ids, std::string* error) {
    if (directory_.empty()) {
        setError(error, "no folder for backups");
        return false;
    }
    std::error_code ec;
    fs::create_directories(directory_, ec);
    if (ec) {
        setError(error, "cannot create " + directory_.string() + ": " + ec.message());
        return false;
    }
    if (current_.empty()) {
        if (sameAsNewest(image, ids)) return true;
        const std::string base = baseName(wallClock_(), ids);
        fs::path candidate = directory_ / (base + ".bin");
        for (unsigned n = 2; fs::exists(candidate, ec) && n < 1000000; ++n)
            candidate = directory_ / (base + "-" + std::to_string(n) + ".bin");
        current_ = candidate;
    } else {
        // Later reads in the same connection often find the mouse unchanged: the file
        // already holds those bytes, and rewriting it would only cost a flush to disk.
        std::vector<std::uint8_t> kept;
        if (readWholeFile(current_, kept, nullptr, kImageSize + 1) &&
            std::equal(kept.begin(), kept.end(), image.begin(), image.end()))
            return true;
    }
    if (!writeFileAtomically(current_, image, error)) return false;
    prune();
    return true;
}

std::vector<BackupEntry> BackupStore::list() const {
    std::vector<std::pair<SortKey, BackupEntry>> found;
    std::error_code ec;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        SortKey key;
        if (!sortKeyOf(name, key)) continue;
        BackupEntry entry;
        entry.path = it->path();
        entry.name = name;
        entry.size = it->file_size(ec);
        found.emplace_back(std::move(key), std::move(entry));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return b.first < a.first; });
    std::vector<BackupEntry> out;
    out.reserve(found.size());
    for (auto& f : found) out.push_back(std::move(f.second));
    return out;
}

bool BackupStore::sameAsNewest(const Image& image, const BackupIds& ids) const {
    const std::string suffix = idsSuffix(ids);
    constexpr std::size_t kStampLength = 16;  // "20261210-103140Z"
    for (const BackupEntry& e : list()) {
        if (e.name.compare(kStampLength, suffix.size(), suffix) != 0) continue;
        std::vector<std::uint8_t> bytes;
        return readWholeFile(e.path, bytes, nullptr, kImageSize + 1) &&
               std::equal(bytes.begin(), bytes.end(), image.begin(), image.end());
    }
    return false;
}

void BackupStore::prune() const {
    const std::vector<BackupEntry> all = list();
    std::error_code ec;
    for (std::size_t i = keep_; i < all.size(); ++i) {
        if (all[i].path == current_) continue;
        const bool spared = std::any_of(spared_.begin(), spared_.end(), [&](const fs::path& p) {
            std::error_code e;
            return fs::equivalent(p, all[i].path, e);
        });
        if (spared) continue;
        fs::remove(all[i].path, ec);
    }
}

}  // namespace nivra
