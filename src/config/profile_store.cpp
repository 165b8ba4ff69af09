#include "config/profile_store.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "config/profile_file.h"

namespace gage::profile {

namespace {

using detail::FileStamp;
using detail::ProfileDocument;

// Enough for the three configuration files and a few more; the least recently used goes first.
constexpr std::size_t kCachedFiles = 16;

struct CachedDocument {
    FileStamp stamp;
    std::string content;    // the bytes parsed, to recognise an unchanged file by content
    bool ownWrite = false;  // this store wrote exactly this content
    std::shared_ptr<const ProfileDocument> document;
    std::uint64_t lastUse = 0;
};

}  // namespace

struct Store::State {
    std::shared_ptr<const ProfileDocument> Current(const std::string& path) {
        const FileStamp stamp = detail::StatFile(path);
        const auto found = entries.find(path);
        if (found != entries.end() && found->second.stamp == stamp &&
            (!stamp.exists || found->second.ownWrite || trustStamps || detail::IsSettled(stamp))) {
            found->second.lastUse = ++useCounter;
            return found->second.document;
        }
        std::optional<std::string> bytes;
        if (stamp.exists) {
            bytes = detail::ReadWholeFile(path);
        }
        std::string content = bytes ? std::move(*bytes) : std::string();
        // A file read while it changed is read again next time.
        const FileStamp settled =
            bytes && detail::StatFile(path) == stamp ? stamp : FileStamp{true, 0, -1};
        if (found != entries.end() && found->second.content == content) {
            found->second.stamp = settled;
            found->second.lastUse = ++useCounter;
            return found->second.document;
        }
        auto document = std::make_shared<const ProfileDocument>(ProfileDocument::Parse(content));
        Keep(path, CachedDocument{settled, std::move(content), false, document, 0});
        return document;
    }

    void Keep(const std::string& path, CachedDocument entry) {
        if (entries.size() >= kCachedFiles && entries.find(path) == entries.end()) {
            auto oldest = entries.begin();
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                if (it->second.lastUse < oldest->second.lastUse) {
                    oldest = it;
                }
            }
            entries.erase(oldest);
        }
        entry.lastUse = ++useCounter;
        entries[path] = std::move(entry);
    }

    std::mutex mutex;
    std::unordered_map<std::string, CachedDocument> entries;
    std::uint64_t useCounter = 0;
    std::optional<detail::WriteStep> refusedStep;
    bool trustStamps = false;
};

Store::Store() : state_(std::make_unique<State>()) {}

Store::~Store() = default;

std::shared_ptr<const ProfileDocument> Store::Current(const std::string& path) {
    const std::lock_guard lock(state_->mutex);
    return state_->Current(path);
}

bool Store::Edit(const std::string& path, const std::function<bool(ProfileDocument&)>& change,
                 bool keepBackup) {
    const std::lock_guard lock(state_->mutex);
    auto edited = std::make_shared<ProfileDocument>(*state_->Current(path));
    if (!change(*edited)) {
        return true;
    }
    std::string bytes = edited->Serialize();
    if (!detail::ReplaceFileContents(path, bytes, keepBackup, state_->refusedStep)) {
        return false;
    }
    state_->Keep(path,
                 CachedDocument{detail::StatFile(path), std::move(bytes), true, std::move(edited)});
    return true;
}

void Store::RefuseWritesAt(std::optional<detail::WriteStep> step) {
    const std::lock_guard lock(state_->mutex);
    state_->refusedStep = step;
}

void Store::TrustEveryStamp() {
    const std::lock_guard lock(state_->mutex);
    state_->trustStamps = true;
}

namespace {

// The store in place of the process's own; null when there is none.
std::atomic<Store*> g_storeInUse{nullptr};

}  // namespace

Store& CurrentStore() {
    Store* const inUse = g_storeInUse.load();
    if (inUse != nullptr) {
        return *inUse;
    }
    // The process's profile cache, like the system's own.
    static Store processStore;
    return processStore;
}

StoreInUse::StoreInUse(Store& store) : previous_(g_storeInUse.exchange(&store)) {}

StoreInUse::~StoreInUse() {
    g_storeInUse.store(previous_);
}

}  // namespace gage::profile
