// SPDX-License-Identifier: MIT
#include "engine/table_cache.h"

#include "frame/text/error.h"

namespace stepwell {
namespace {

// Keeps what `make` gives, or the message of the Error it throws, in `kept`.
template <class Kept, class Make> void keep(Kept& kept, Make&& make) {
    try {
        kept.value = make();
    } catch (const Error& error) {
        kept.error = error.what();
        kept.failed = true;
    }
}

template <class Kept> const auto& valueOf(const Kept& kept) {
    if (kept.failed)
        throw Error(kept.error);
    return kept.value;
}

} // namespace

TableCache::TableCache(const TagTablePlaces& places) : places_(places) {}

std::string TableCache::find(const std::string& folder) {
    const std::lock_guard lock(mutex_);
    auto [found, added] = folders_.try_emplace(folder);
    if (added)
        keep(found->second, [&] { return findTagTable(places_, folder); });
    return valueOf(found->second);
}

std::shared_ptr<const TagMatcher> TableCache::matcher(const std::string& path) {
    // Building a matcher takes a few tens of microseconds, once a table: the other threads
    // may as well wait for it.
    const std::lock_guard lock(mutex_);
    auto [found, added] = tables_.try_emplace(path);
    if (added)
        keep(found->second, [&] {
            return std::make_shared<const TagMatcher>(path.empty() ? TagTable{}
                                                                   : readTagFile(path));
        });
    return valueOf(found->second);
}

} // namespace stepwell
