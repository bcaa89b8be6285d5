// The index of a name table: from a name to the entry that holds it, in one
// array of (hash, entry) slots probed linearly. A lookup reads one or two
// cache lines of slots and then the entry it finds, and filling the index
// allocates only when the array grows; the array is never more than half
// full, so that a search for an absent name ends soon.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

// Entry::first is the entry's name; the index keeps pointers to entries,
// which must not move while they are in it.
template <typename Entry>
class CNameIndex {
public:
    static size_t Hash(std::string_view name) { return std::hash<std::string_view>()(name); }

    // The entry of the name whose Hash is hash, or null.
    Entry* Find(std::string_view name, size_t hash) const {
        if (m_slots.empty()) return nullptr;
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = m_slots[i];
            if (!slot.pEntry) return nullptr;
            if (slot.nHash == hash && slot.pEntry->first == name) return slot.pEntry;
        }
    }

    // Room for count entries in all; throws, changing nothing, when there
    // is no memory for it.
    void Reserve(size_t count) {
        if (count <= m_slots.size() / 2) return;
        if (count > (SIZE_MAX / sizeof(Slot)) / 4) throw std::length_error("name index too large");
        size_t capacity = 16;
        while (capacity / 2 < count) capacity *= 2;
        std::vector<Slot> grown(capacity);
        for (const Slot& slot : m_slots)
            if (slot.pEntry) Place(grown, slot);
        m_slots.swap(grown);
    }

    // Adds the entry of a name not in the index, hashed to hash; there must
    // be room for it (Reserve(Count() + 1)).
    void Add(Entry* pEntry, size_t hash) noexcept {
        Place(m_slots, Slot{hash, pEntry});
        ++m_nCount;
    }

    // Takes the name out; the slots after it that would no longer be found
    // move back into the gap, so no slot is ever marked deleted.
    void Remove(std::string_view name) noexcept {
        if (m_slots.empty()) return;
        const size_t hash = Hash(name);
        size_t gap = hash & Mask();
        for (;; gap = (gap + 1) & Mask()) {
            const Slot& slot = m_slots[gap];
            if (!slot.pEntry) return;
            if (slot.nHash == hash && slot.pEntry->first == name) break;
        }
        for (size_t i = (gap + 1) & Mask(); m_slots[i].pEntry; i = (i + 1) & Mask()) {
            // A slot stays where it is when its home lies after the gap, up
            // to the slot itself, going round the end of the array.
            const size_t home = m_slots[i].nHash & Mask();
            const bool bStays = gap <= i ? (gap < home && home <= i) : (gap < home || home <= i);
            if (bStays) continue;
            m_slots[gap] = m_slots[i];
            gap = i;
        }
        m_slots[gap] = Slot{};
        --m_nCount;
    }

    void Clear() noexcept {
        std::vector<Slot>().swap(m_slots);
        m_nCount = 0;
    }

    size_t Count() const { return m_nCount; }

private:
    struct Slot {
        size_t nHash = 0;
        Entry* pEntry = nullptr;  // null: the slot is free
    };

    size_t Mask() const { return m_slots.size() - 1; }

    static void Place(std::vector<Slot>& table, const Slot& slot) noexcept {
        const size_t mask = table.size() - 1;
        size_t i = slot.nHash & mask;
        while (table[i].pEntry) i = (i + 1) & mask;
        table[i] = slot;
    }

    std::vector<Slot> m_slots;  // a power of two long, or empty
    size_t m_nCount = 0;
};
