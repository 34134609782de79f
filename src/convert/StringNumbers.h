// Strings numbered in the order they first came, found through one flat
// array of hashes. A large run keeps tens of thousands of names (files
// written, keywords); a node-based table's lookup walks nodes scattered over
// the heap, each a cache miss, where this one reads one slot, and the string
// only when the hashes agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zavio {

class StringNumbers {
public:
    // The number of `key`, given it now if it is new; second: whether it was
    // new. `key` does not point into the set's own strings.
    std::pair<std::size_t, bool> Add(std::string_view key);
    std::optional<std::size_t> Find(std::string_view key) const;
    bool Contains(std::string_view key) const { return Find(key).has_value(); }

    // Room for `count` more strings without a rehash.
    void Reserve(std::size_t count);
    std::size_t size() const { return m_strings.size(); }
    bool empty() const { return m_strings.empty(); }
    // The strings by number.
    const std::string& operator[](std::size_t number) const { return m_strings[number]; }

private:
    // Eight bytes, so that the table of a large run stays in the cache: the
    // hash's high half tells most strings apart without reading them.
    struct Slot {
        std::uint32_t hashHigh = 0;
        std::uint32_t numberPlusOne = 0;  // 0: empty
    };

    std::size_t SlotOf(std::string_view key, std::uint64_t hash) const;
    static std::uint32_t High(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
    void Rehash(std::size_t slots);

    std::vector<Slot> m_slots;  // a power of two, at most half full
    std::vector<std::string> m_strings;
};

}  // namespace zavio
