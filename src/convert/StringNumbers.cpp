#include "convert/StringNumbers.h"

#include <algorithm>
#include <functional>

namespace zavio {

// Where `key` stands, or the empty slot where it would go: linear probing
// from its hash.
std::size_t StringNumbers::SlotOf(std::string_view key, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.numberPlusOne == 0) return at;
        if (slot.hashHigh == High(hash) && m_strings[slot.numberPlusOne - 1] == key) return at;
    }
}

std::pair<std::size_t, bool> StringNumbers::Add(std::string_view key)
{
    if ((m_strings.size() + 1) * 2 > m_slots.size()) Rehash(std::max<std::size_t>(16, m_slots.size() * 2));
    const std::uint64_t hash = std::hash<std::string_view>()(key);
    Slot& slot = m_slots[SlotOf(key, hash)];
    if (slot.numberPlusOne != 0) return {slot.numberPlusOne - 1, false};
    m_strings.emplace_back(key);
    slot = {High(hash), static_cast<std::uint32_t>(m_strings.size())};
    return {m_strings.size() - 1, true};
}

std::optional<std::size_t> StringNumbers::Find(std::string_view key) const
{
    if (m_slots.empty()) return std::nullopt;
    const Slot& slot = m_slots[SlotOf(key, std::hash<std::string_view>()(key))];
    if (slot.numberPlusOne == 0) return std::nullopt;
    return slot.numberPlusOne - 1;
}

void StringNumbers::Reserve(std::size_t count)
{
    m_strings.reserve(m_strings.size() + count);
    std::size_t slots = std::max<std::size_t>(16, m_slots.size());
    while ((m_strings.size() + count) * 2 > slots) slots *= 2;
    if (slots != m_slots.size()) Rehash(slots);
}

void StringNumbers::Rehash(std::size_t slots)
{
    // A slot keeps only the hash's high half: the strings are placed again
    // from their own hashes.
    m_slots.assign(slots, Slot{});
    const std::size_t mask = slots - 1;
    for (std::size_t number = 0; number < m_strings.size(); ++number) {
        const std::uint64_t hash = std::hash<std::string_view>()(m_strings[number]);
        std::size_t at = hash & mask;
        while (m_slots[at].numberPlusOne != 0) at = (at + 1) & mask;
        m_slots[at] = {High(hash), static_cast<std::uint32_t>(number + 1)};
    }
}

}  // namespace zavio
