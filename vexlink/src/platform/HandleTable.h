// Port handles as tokens from a counter that never repeats, mapped to what each platform keeps
// for an open port: a stale handle never reaches a port opened since. Shared by the backends.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>

#include <vexlink/SerialTypes.h>

namespace vexlink::platform {

template <class Entry>
class HandleTable {
public:
    HANDLE add(const Entry& entry) {
        std::lock_guard guard(lock_);
        HANDLE token{++lastToken_};
        entries_.emplace(token.value, entry);
        return token;
    }

    std::optional<Entry> find(HANDLE handle) {
        std::lock_guard guard(lock_);
        auto it = entries_.find(handle.value);
        if (it == entries_.end()) return std::nullopt;
        return it->second;
    }

    // Calls change on the entry in place; false when the handle names none.
    template <class Change>
    bool update(HANDLE handle, Change change) {
        std::lock_guard guard(lock_);
        auto it = entries_.find(handle.value);
        if (it == entries_.end()) return false;
        change(it->second);
        return true;
    }

    std::optional<Entry> remove(HANDLE handle) {
        std::lock_guard guard(lock_);
        auto it = entries_.find(handle.value);
        if (it == entries_.end()) return std::nullopt;
        Entry entry = it->second;
        entries_.erase(it);
        return entry;
    }

private:
    std::mutex lock_;
    std::uint64_t lastToken_ = 0;  // 0 is INVALID_HANDLE_VALUE; tokens start at 1
    std::unordered_map<std::uint64_t, Entry> entries_;
};

}  // namespace vexlink::platform
