// The interpreter's name tables: 17 buckets chained from the head, so that
// iteration (bucket 0 to 16, newest name first in each bucket) gives the
// order in which the user sees the plot series. Lookups go through an index
// instead of walking the chains, so a program with a hundred thousand marks
// or variables does not take quadratic time to scan or run.
#pragma once
#include <array>
#include <cstdint>
#include <forward_list>
#include <string>
#include <string_view>
#include <utility>

#include "interpreter/NameIndex.h"

// Byte hash of a name: h = h * 33 + byte, bytes taken as signed, wrapping
// in unsigned 32 bits.
uint32_t HashName(std::string_view name);

template <typename T>
class CNameTable {
public:
    static constexpr uint32_t kBuckets = 17;
    using Entry = std::pair<std::string, T>;

    CNameTable() = default;
    // The index points into the chains' nodes, so a copy would point into
    // the original.
    CNameTable(const CNameTable&) = delete;
    CNameTable& operator=(const CNameTable&) = delete;

    T* Find(std::string_view name) {
        Entry* pEntry = m_index.Find(name, Index::Hash(name));
        return pEntry ? &pEntry->second : nullptr;
    }
    const T* Find(std::string_view name) const {
        return const_cast<CNameTable*>(this)->Find(name);
    }

    // A new name goes to the head of its bucket; false, changing nothing,
    // when the name is there already. The name is hashed for the index once.
    bool Insert(std::string_view name, const T& value) {
        const size_t hash = Index::Hash(name);
        if (m_index.Find(name, hash)) return false;
        // Whatever fails to allocate, nothing has changed yet.
        m_index.Reserve(m_index.Count() + 1);
        // The node never moves, so the index may point at it.
        Entry& entry = m_buckets[BucketOf(name)].emplace_front(std::string(name), value);
        m_index.Add(&entry, hash);
        return true;
    }

    // Overwriting keeps an existing name where it stands; a new name goes to
    // the head of its bucket.
    void Set(std::string_view name, const T& value) {
        if (!Insert(name, value)) *Find(name) = value;
    }

    // Room in the index for count names in all, so that filling it up to
    // there never rehashes.
    void Reserve(size_t count) { m_index.Reserve(count); }

    bool Remove(std::string_view name) {
        auto& chain = m_buckets[BucketOf(name)];
        for (auto prev = chain.before_begin(), it = chain.begin(); it != chain.end(); prev = it++) {
            if (it->first == name) {
                m_index.Remove(it->first);
                chain.erase_after(prev);
                return true;
            }
        }
        return false;
    }

    void RemoveAll() {
        m_index.Clear();
        for (auto& chain : m_buckets) chain.clear();
    }

    size_t GetCount() const { return m_index.Count(); }

    // Visits every entry in iteration order; fn(name, value).
    template <typename Fn>
    void ForEach(Fn&& fn) {
        for (auto& chain : m_buckets)
            for (Entry& e : chain) fn(e.first, e.second);
    }

    // Removes, in iteration order, every entry for which pred(name, value)
    // holds, calling take(value) just before each removal.
    template <typename Pred, typename Take>
    void ExtractIf(Pred&& pred, Take&& take) {
        for (auto& chain : m_buckets) {
            for (auto prev = chain.before_begin(), it = chain.begin(); it != chain.end();) {
                if (pred(it->first, it->second)) {
                    take(it->second);
                    m_index.Remove(it->first);
                    it = chain.erase_after(prev);
                } else {
                    prev = it++;
                }
            }
        }
    }

private:
    using Index = CNameIndex<Entry>;

    static uint32_t BucketOf(std::string_view name) { return HashName(name) % kBuckets; }

    std::array<std::forward_list<Entry>, kBuckets> m_buckets;
    // Every name in the chains, pointing at its node.
    Index m_index;
};
