#pragma once
// A sequence of distinct pointers kept in blocks of at most 1,024 (a fuller
// block is split in two), with the block sizes in running sums, so that
// inserting or erasing at an index shifts one block and updates a few sums
// instead of moving everything behind it. Once a pointer is looked up, a map
// of each pointer's block is kept until the next wholesale change, so that
// further look-ups need no walk. Reading is by index, front, back and
// random-access iterators that walk block by block; const members change
// nothing, so any number of threads may read while none writes.
#include <algorithm>
#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "model/current/BlockCounts.h"
#include "model/current/PointerMap.h"

namespace HVCurrentModel {

template <class T>
class PointerBlocks {
    struct Block {
        std::vector<T*> items;
        size_t ordinal = 0;  // place among the blocks
    };

public:
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T* const*;
        using reference = T* const&;

        const_iterator() = default;

        reference operator*() const { return list->blocks[block]->items[offset]; }
        reference operator[](difference_type d) const { return *(*this + d); }
        const_iterator& operator++()
        {
            ++index;
            if (++offset == list->blocks[block]->items.size()) {
                ++block;
                offset = 0;
            }
            return *this;
        }
        const_iterator& operator--()
        {
            --index;
            if (offset == 0) offset = list->blocks[--block]->items.size();
            --offset;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator was = *this;
            ++*this;
            return was;
        }
        const_iterator operator--(int)
        {
            const_iterator was = *this;
            --*this;
            return was;
        }
        const_iterator& operator+=(difference_type d)
        {
            *this = list->at(static_cast<size_t>(static_cast<difference_type>(index) + d));
            return *this;
        }
        const_iterator& operator-=(difference_type d) { return *this += -d; }
        friend const_iterator operator+(const_iterator it, difference_type d) { return it += d; }
        friend const_iterator operator+(difference_type d, const_iterator it) { return it += d; }
        friend const_iterator operator-(const_iterator it, difference_type d) { return it -= d; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b)
        {
            return static_cast<difference_type>(a.index) - static_cast<difference_type>(b.index);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index == b.index; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.index <=> b.index; }

    private:
        friend class PointerBlocks;
        const_iterator(const PointerBlocks* list, size_t block, size_t offset, size_t index)
            : list(list), block(block), offset(offset), index(index)
        {
        }

        const PointerBlocks* list = nullptr;
        size_t block = 0;
        size_t offset = 0;
        size_t index = 0;
    };

    PointerBlocks() = default;
    PointerBlocks(const PointerBlocks&) = delete;
    PointerBlocks& operator=(const PointerBlocks&) = delete;

    size_t size() const { return count; }
    bool empty() const { return count == 0; }
    T* operator[](size_t i) const { return *at(i); }
    T* front() const { return blocks.front()->items.front(); }
    T* back() const { return blocks.back()->items.back(); }
    const_iterator begin() const { return {this, 0, 0, 0}; }
    const_iterator end() const { return {this, blocks.size(), 0, count}; }

    // The iterator at index i (end() at size()).
    const_iterator at(size_t i) const
    {
        if (i >= count) return end();
        const auto [b, offset] = counts.placeOf(i);
        return {this, b, offset, i};
    }

    // The index of e; size() when it is not in the sequence. The first
    // look-up after a wholesale change maps every pointer to its block.
    size_t locate(const T* e)
    {
        if (!mapped) mapAll();
        const Block* const* found = where.find(e);
        if (!found) return count;
        const Block& b = **found;
        return counts.first(b.ordinal) + static_cast<size_t>(std::find(b.items.begin(), b.items.end(), e) - b.items.begin());
    }

    // Inserts e (not yet in the sequence) before index i (i <= size()).
    void insert(size_t i, T* e)
    {
        if (blocks.empty()) {
            push_back(e);
            return;
        }
        // At the end it joins the last block; elsewhere the block holding i.
        const auto [b, offset] =
            i == count ? BlockCounts::Place{blocks.size() - 1, blocks.back()->items.size()} : counts.placeOf(i);
        Block& block = *blocks[b];
        block.items.insert(block.items.begin() + static_cast<std::ptrdiff_t>(offset), e);
        if (mapped) where.set(e, &block);
        ++count;
        counts.grow(b);
        if (block.items.size() > 2 * kBlock) split(b);
    }

    // Takes out the pointer at index i (i < size()).
    void erase(size_t i)
    {
        const auto [b, offset] = counts.placeOf(i);
        Block& block = *blocks[b];
        const auto it = block.items.begin() + static_cast<std::ptrdiff_t>(offset);
        if (mapped) where.erase(*it);
        block.items.erase(it);
        --count;
        if (!block.items.empty()) {
            counts.shrink(b);
            return;
        }
        blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(b));
        reorderFrom(b);
        recount();
    }

    // Appends e (not yet in the sequence).
    void push_back(T* e)
    {
        if (blocks.empty() || blocks.back()->items.size() >= kBlock) {
            blocks.push_back(std::make_unique<Block>());
            blocks.back()->ordinal = blocks.size() - 1;
            blocks.back()->items.reserve(kBlock);
            counts.append(0);
        }
        blocks.back()->items.push_back(e);
        counts.grow(blocks.size() - 1);
        if (mapped) where.set(e, blocks.back().get());
        ++count;
    }

    void clear()
    {
        blocks.clear();
        counts.clear();
        mapped = false;
        count = 0;
    }

    // Replaces the sequence by the listed pointers, which are distinct.
    void assign(const std::vector<T*>& list)
    {
        clear();
        for (T* e : list) push_back(e);
    }

    std::vector<T*> toVector() const
    {
        std::vector<T*> all;
        all.reserve(count);
        for (const auto& b : blocks) all.insert(all.end(), b->items.begin(), b->items.end());
        return all;
    }

private:
    // A block holds at most twice this; a fuller one is split in two.
    static constexpr size_t kBlock = 512;

    // Sums the block sizes afresh after blocks came or went.
    void recount()
    {
        counts.assign(blocks.size(), [this](size_t b) { return blocks[b]->items.size(); });
    }

    void mapAll()
    {
        where.reset(count);
        for (const auto& b : blocks)
            for (T* e : b->items) where.set(e, b.get());
        mapped = true;
    }

    // Sets the place of every block from b on.
    void reorderFrom(size_t b)
    {
        for (; b < blocks.size(); ++b) blocks[b]->ordinal = b;
    }

    // Moves the second half of block b into a new block after it.
    void split(size_t b)
    {
        auto next = std::make_unique<Block>();
        std::vector<T*>& items = blocks[b]->items;
        const auto half = items.begin() + static_cast<std::ptrdiff_t>(items.size() / 2);
        next->items.assign(half, items.end());
        items.erase(half, items.end());
        if (mapped)
            for (T* e : next->items) where.set(e, next.get());
        blocks.insert(blocks.begin() + static_cast<std::ptrdiff_t>(b + 1), std::move(next));
        reorderFrom(b + 1);
        recount();
    }

    std::vector<std::unique_ptr<Block>> blocks;
    BlockCounts counts;  // the size of each block
    PointerMap<T, Block*> where;  // meaningful while mapped
    bool mapped = false;
    size_t count = 0;
};

}  // namespace HVCurrentModel
