#include "config/profile_cache.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "config/profile_atomic_write.h"
#include "config/profile_file.h"

namespace gage::profile::detail {

namespace {

// Enough for the three configuration files and a few more; the least recently used goes first.
constexpr std::size_t kCachedFiles = 16;

struct CachedDocument {
    FileStamp stamp;
    std::string content;    // the bytes parsed, to recognise an unchanged file by content
    bool ownWrite = false;  // this process wrote exactly this content
    std::shared_ptr<const ProfileDocument> document;
    std::uint64_t lastUse = 0;
};

class DocumentCache {
  public:
    std::shared_ptr<const ProfileDocument> Current(const std::string& path) {
        const FileStamp stamp = StatFile(path);
        const auto found = entries_.find(path);
        if (found != entries_.end() && found->second.stamp == stamp &&
            (!stamp.exists || found->second.ownWrite || IsSettled(stamp))) {
            found->second.lastUse = ++useCounter_;
            return found->second.document;
        }
        std::optional<std::string> bytes;
        if (stamp.exists) {
            bytes = ReadWholeFile(path);
        }
        std::string content = bytes ? std::move(*bytes) : std::string();
        // A file read while it changed is read again next time.
        const FileStamp settled = bytes && StatFile(path) == stamp ? stamp : FileStamp{true, 0, -1};
        if (found != entries_.end() && found->second.content == content) {
            found->second.stamp = settled;
            found->second.lastUse = ++useCounter_;
            return found->second.document;
        }
        auto document = std::make_shared<const ProfileDocument>(ProfileDocument::Parse(content));
        Store(path, CachedDocument{settled, std::move(content), false, document, 0});
        return document;
    }

    void Store(const std::string& path, CachedDocument entry) {
        if (entries_.size() >= kCachedFiles && entries_.find(path) == entries_.end()) {
            auto oldest = entries_.begin();
            for (auto it = entries_.begin(); it != entries_.end(); ++it) {
                if (it->second.lastUse < oldest->second.lastUse) {
                    oldest = it;
                }
            }
            entries_.erase(oldest);
        }
        entry.lastUse = ++useCounter_;
        entries_[path] = std::move(entry);
    }

    void Clear() { entries_.clear(); }

    std::mutex mutex;

  private:
    std::unordered_map<std::string, CachedDocument> entries_;
    std::uint64_t useCounter_ = 0;
};

// The process's profile cache, like the system's own; guarded by its mutex.
DocumentCache& Cache() {
    static DocumentCache cache;
    return cache;
}

}  // namespace

std::shared_ptr<const ProfileDocument> CurrentDocument(const std::string& path) {
    DocumentCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    return cache.Current(path);
}

bool EditDocument(const std::string& path, const std::function<bool(ProfileDocument&)>& change,
                  bool keepBackup) {
    DocumentCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    auto edited = std::make_shared<ProfileDocument>(*cache.Current(path));
    if (!change(*edited)) {
        return true;
    }
    std::string bytes = edited->Serialize();
    if (!ReplaceFileContents(path, bytes, keepBackup)) {
        return false;
    }
    cache.Store(path, CachedDocument{StatFile(path), std::move(bytes), true, std::move(edited)});
    return true;
}

void ClearDocuments() {
    DocumentCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    cache.Clear();
}

}  // namespace gage::profile::detail
