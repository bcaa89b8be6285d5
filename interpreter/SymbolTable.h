// The interpreter's name tables: 17 buckets chained from the head, so that
// iteration (bucket 0 to 16, newest name first in each bucket) gives the
// order in which the user sees the plot series. Lookups go through an index
// instead of walking the chains, so a program with a hundred thousand marks
// or variables does not take quadratic time to scan or run. The chains'
// nodes are carved from blocks that never move, so that a run's thousands of
// names cost a few allocations, not one each.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    // The index points into the nodes, so a copy would point into the
    // original.
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
        Node* pNode = NewNode(name, value);
        Node*& head = m_heads[BucketOf(name)];
        pNode->pNext = head;
        head = pNode;
        m_index.Add(&pNode->entry, hash);
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
        for (Node** ppLink = &m_heads[BucketOf(name)]; *ppLink; ppLink = &(*ppLink)->pNext) {
            if ((*ppLink)->entry.first == name) {
                Unlink(ppLink);
                return true;
            }
        }
        return false;
    }

    void RemoveAll() {
        m_index.Clear();
        m_heads = {};
        m_blocks.clear();
        m_nLastUsed = m_nLastSize = m_nCapacity = 0;
        m_pFree = nullptr;
    }

    size_t GetCount() const { return m_index.Count(); }

    // Visits every entry in iteration order; fn(name, value).
    template <typename Fn>
    void ForEach(Fn&& fn) {
        for (Node* pHead : m_heads)
            for (Node* pNode = pHead; pNode; pNode = pNode->pNext) fn(pNode->entry.first, pNode->entry.second);
    }

    // Removes, in iteration order, every entry for which pred(name, value)
    // holds, calling take(value) just before each removal.
    template <typename Pred, typename Take>
    void ExtractIf(Pred&& pred, Take&& take) {
        for (Node*& head : m_heads) {
            for (Node** ppLink = &head; *ppLink;) {
                Entry& entry = (*ppLink)->entry;
                if (pred(entry.first, entry.second)) {
                    take(entry.second);
                    Unlink(ppLink);
                } else {
                    ppLink = &(*ppLink)->pNext;
                }
            }
        }
    }

private:
    using Index = CNameIndex<Entry>;
    struct Node {
        Entry entry;
        Node* pNext = nullptr;  // the next older name of the bucket, or the next free node
    };
    static constexpr size_t kFirstBlock = 32;

    static uint32_t BucketOf(std::string_view name) { return HashName(name) % kBuckets; }

    // A removed node's name keeps its buffer and waits for the next new name.
    Node* NewNode(std::string_view name, const T& value) {
        Node* pNode = m_pFree;
        if (!pNode) {
            // Each block is as large as all before it together.
            if (m_nLastUsed == m_nLastSize) AddBlock(m_nCapacity == 0 ? kFirstBlock : m_nCapacity);
            pNode = &m_blocks.back()[m_nLastUsed];
        }
        pNode->entry.first.assign(name);
        pNode->entry.second = value;
        // Only now is the node taken: a failed copy of the name leaves it free.
        if (pNode == m_pFree)
            m_pFree = pNode->pNext;
        else
            ++m_nLastUsed;
        return pNode;
    }

    void AddBlock(size_t size) {
        m_blocks.reserve(m_blocks.size() + 1);
        m_blocks.push_back(std::make_unique<Node[]>(size));
        m_nLastUsed = 0;
        m_nLastSize = size;
        m_nCapacity += size;
    }

    // Takes the node that *ppLink points at out of its chain and the index.
    void Unlink(Node** ppLink) {
        Node* pNode = *ppLink;
        m_index.Remove(pNode->entry.first);
        *ppLink = pNode->pNext;
        pNode->pNext = m_pFree;
        m_pFree = pNode;
    }

    std::array<Node*, kBuckets> m_heads{};
    std::vector<std::unique_ptr<Node[]>> m_blocks;
    size_t m_nLastUsed = 0;  // nodes of the last block handed out
    size_t m_nLastSize = 0;
    size_t m_nCapacity = 0;  // nodes of every block
    Node* m_pFree = nullptr;
    // Every name in the chains, pointing at its node's entry.
    Index m_index;
};
