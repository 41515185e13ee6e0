#pragma once
// The sizes of a row of non-empty blocks kept as running sums in a binary
// indexed tree, so that a block growing or shrinking by one, the index of a
// block's first item and the block holding an index each cost a number of
// steps logarithmic in the number of blocks rather than one per block.
#include <cstddef>
#include <vector>

namespace HVCurrentModel {

class BlockCounts {
public:
    size_t blocks() const { return tree.size() - 1; }

    // The number of items in the blocks before block b.
    size_t first(size_t b) const
    {
        size_t sum = 0;
        for (size_t k = b; k > 0; k -= k & (~k + 1)) sum += tree[k];
        return sum;
    }

    struct Place {
        size_t block;
        size_t offset;  // within the block
    };

    // Where item i stands (i below the total).
    Place placeOf(size_t i) const
    {
        size_t b = 0;
        // Chosen without branching on the sums, whose outcome is random.
        for (size_t step = topStep(); step > 0; step /= 2) {
            if (b + step >= tree.size()) continue;
            const size_t sum = tree[b + step];
            const bool past = sum <= i;
            b += past ? step : 0;
            i -= past ? sum : 0;
        }
        return {b, i};
    }

    void grow(size_t b) { add(b, 1); }
    void shrink(size_t b) { add(b, ~size_t{0}); }  // wraps to one less

    // Adds a block of the given size after the last one.
    void append(size_t size)
    {
        const size_t k = tree.size();
        size_t sum = size;
        for (size_t j = k - 1; j > k - (k & (~k + 1)); j -= j & (~j + 1)) sum += tree[j];
        tree.push_back(sum);
    }

    // Rebuilds the sums from the listed block sizes.
    template <class Sizes>
    void assign(size_t count, Sizes sizeOf)
    {
        tree.assign(count + 1, 0);
        for (size_t k = 1; k <= count; ++k) {
            tree[k] += sizeOf(k - 1);
            const size_t parent = k + (k & (~k + 1));
            if (parent <= count) tree[parent] += tree[k];
        }
    }

    void clear() { tree.assign(1, 0); }

private:
    void add(size_t b, size_t delta)
    {
        for (size_t k = b + 1; k < tree.size(); k += k & (~k + 1)) tree[k] += delta;
    }

    size_t topStep() const
    {
        size_t step = 1;
        while (2 * step < tree.size()) step *= 2;
        return step;
    }

    std::vector<size_t> tree = std::vector<size_t>(1, 0);  // 1-based; tree[0] unused
};

}  // namespace HVCurrentModel
