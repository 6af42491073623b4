#pragma once

#include <QtGlobal>
#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// FNV-1a: keys are short codes.
inline quint64 keyHash(std::string_view key)
{
    quint64 h = 14695981039346656037ull;
    for (const char c : key)
        h = (h ^ quint8(c)) * 1099511628211ull;
    return h;
}

// Values by their exact text key: open addressing over a power-of-two table
// of hashes, the values kept apart at addresses that stay put while their
// key is in the table, so that finding a key of a large table costs few
// cache misses.
template <typename T>
class KeyTable {
public:
    T* find(std::string_view key) const { return find(key, keyHash(key)); }
    // hash: keyHash(key), for a caller that has it already.
    T* find(std::string_view key, quint64 hash) const
    {
        if (size_ == 0)
            return nullptr;
        Node* node = slots_[slotOf(key, hash)].node;
        return node ? &node->value : nullptr;
    }

    // key must not be in the table yet.
    T& insert(std::string_view key, T value)
    {
        // At most half full: probes stay short.
        if (2 * (size_ + 1) > slots_.size())
            grow();
        Node* node;
        if (freeNodes_.empty()) {
            node = &nodes_.emplace_back();
        } else {
            node = freeNodes_.back();
            freeNodes_.pop_back();
        }
        node->key.assign(key);
        node->value = std::move(value);
        const quint64 hash = keyHash(key);
        slots_[slotOf(key, hash)] = Slot{hash, node};
        ++size_;
        return node->value;
    }

    void erase(std::string_view key)
    {
        if (size_ == 0)
            return;
        const size_t mask = slots_.size() - 1;
        size_t hole = slotOf(key, keyHash(key));
        Node* node = slots_[hole].node;
        if (!node)
            return;
        node->value = T{};
        freeNodes_.push_back(node);
        slots_[hole] = Slot{};
        --size_;
        // Linear probing without tombstones: a later slot of the run moves
        // into the hole wherever its probe would otherwise pass the hole.
        for (size_t i = (hole + 1) & mask; slots_[i].node; i = (i + 1) & mask) {
            const size_t home = slots_[i].hash & mask;
            const bool probePassesHole = hole <= i ? (home <= hole || home > i) : (home <= hole && home > i);
            if (probePassesHole) {
                slots_[hole] = slots_[i];
                slots_[i] = Slot{};
                hole = i;
            }
        }
    }

    void clear()
    {
        slots_.clear();
        size_ = 0;
        nodes_.clear();
        freeNodes_.clear();
    }

    size_t size() const { return size_; }

private:
    struct Node {
        std::string key;
        T value;
    };
    struct Slot {
        quint64 hash = 0;
        Node* node = nullptr; // nullptr: empty
    };

    // The slot holding key, or the empty slot where it would go.
    size_t slotOf(std::string_view key, quint64 hash) const
    {
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (!slot.node || (slot.hash == hash && slot.node->key == key))
                return i;
        }
    }

    void grow()
    {
        std::vector<Slot> old(std::max<size_t>(16, slots_.size() * 2));
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (!slot.node)
                continue;
            size_t i = slot.hash & mask;
            while (slots_[i].node)
                i = (i + 1) & mask;
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    size_t size_ = 0;
    std::deque<Node> nodes_;
    std::vector<Node*> freeNodes_;
};

} // namespace db
