#pragma once
// A map from distinct non-null pointers to small values, in one flat table
// probed linearly and kept at most half full: no allocation per entry, and
// refilling it for as many entries as before reuses its room. A set of
// pointers is built on it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace HVCurrentModel {

template <class K, class V>
class PointerMap {
public:
    // The value stored for key; null when there is none.
    const V* find(const K* key) const
    {
        if (slots.empty()) return nullptr;
        for (size_t i = home(key);; i = (i + 1) & mask()) {
            if (slots[i].key == key) return &slots[i].value;
            if (!slots[i].key) return nullptr;
        }
    }

    // Stores value for key (not null), replacing any value there.
    void set(const K* key, V value)
    {
        if (2 * (used + 1) > slots.size()) rehash(slots.empty() ? 16 : 2 * slots.size());
        size_t i = home(key);
        while (slots[i].key && slots[i].key != key) i = (i + 1) & mask();
        if (!slots[i].key) ++used;
        slots[i] = {key, value};
    }

    // Empties the map, with room for count entries.
    void reset(size_t count)
    {
        size_t room = 16;
        while (room < 2 * count) room *= 2;
        if (room > slots.size() || 4 * room < slots.size()) {
            slots.assign(room, Slot{});
            bits = log2Of(room);
        } else {
            std::fill(slots.begin(), slots.end(), Slot{});
        }
        used = 0;
    }

private:
    struct Slot {
        const K* key = nullptr;
        V value{};
    };

    size_t mask() const { return slots.size() - 1; }

    size_t home(const K* key) const
    {
        return static_cast<size_t>((uint64_t{reinterpret_cast<uintptr_t>(key)} * 0x9E3779B97F4A7C15ull) >> (64 - bits));
    }

    static unsigned log2Of(size_t room)
    {
        unsigned b = 0;
        while ((size_t{1} << b) < room) ++b;
        return b;
    }

    void rehash(size_t room)
    {
        std::vector<Slot> old(room);
        old.swap(slots);
        bits = log2Of(room);
        used = 0;
        for (const Slot& s : old)
            if (s.key) set(s.key, s.value);
    }

    std::vector<Slot> slots;  // a power of two long, or empty
    unsigned bits = 0;
    size_t used = 0;
};

// A set of distinct non-null pointers in the same flat table.
template <class K>
class PointerSet {
public:
    PointerSet() = default;

    // The non-null pointers of the range.
    template <class Range>
    explicit PointerSet(const Range& keys)
    {
        map.reset(static_cast<size_t>(std::distance(std::begin(keys), std::end(keys))));
        for (const K* key : keys)
            if (key) map.set(key, true);
    }

    bool contains(const K* key) const { return map.find(key) != nullptr; }

    // Adds key (not null); false when it was there already.
    bool insert(const K* key)
    {
        if (contains(key)) return false;
        map.set(key, true);
        return true;
    }

private:
    PointerMap<K, bool> map;
};

}  // namespace HVCurrentModel
