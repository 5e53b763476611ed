// rowset.h: sets of image rows as bits, for composing what a pixel column of
// the curves shows before any pixel is written.
//
// A RowSet holds the rows 0 .. height - 1 of one colour in one pixel column,
// and one row of margin on each side: bit row + 1 stands for `row`, so that a
// 3 x 3 dot centred just off the image still reaches its edge row. A set of
// painted rows (after widen(), or built from rows on the image) leaves the
// margin bits clear. Used by the curves only.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace graph {

// The rows one colour paints in a pixel column (see above).
struct RowSet {
    int64_t height = 0;
    std::vector<uint64_t> bits;

    void reset(int64_t rows)
    {
        height = rows;
        bits.assign(static_cast<size_t>((rows + 2 + 63) / 64), 0);
    }
    void clear() { std::fill(bits.begin(), bits.end(), 0); }
    void set(int64_t bit) { bits[static_cast<size_t>(bit / 64)] |= uint64_t{1} << (bit % 64); }
    void unset(int64_t bit) { bits[static_cast<size_t>(bit / 64)] &= ~(uint64_t{1} << (bit % 64)); }
    // Adds `row` when a dot centred there can touch the image.
    void add(int64_t row)
    {
        if (row >= -1 && row <= height)
            set(row + 1);
    }
    // Adds the rows from `top` to `bottom` that a dot centred there can touch.
    void addRange(int64_t top, int64_t bottom)
    {
        int64_t from = std::max<int64_t>(top, -1) + 1, to = std::min(bottom, height) + 1;
        for (; from <= to && from % 64 != 0; ++from)
            set(from);
        for (; from + 63 <= to; from += 64)
            bits[static_cast<size_t>(from / 64)] = ~uint64_t{0};
        for (; from <= to; ++from)
            set(from);
    }
    // Turns dot centres into the dots' rows: each widened by the row above and
    // the row below, kept on the image.
    void widen()
    {
        // Bit j of a word takes the bits j - 1, j and j + 1 of the set.
        uint64_t before = 0;
        for (size_t w = 0; w < bits.size(); ++w) {
            uint64_t word = bits[w], after = w + 1 < bits.size() ? bits[w + 1] : 0;
            bits[w] = word | word << 1 | before >> 63 | word >> 1 | after << 63;
            before = word;
        }
        unset(0);
        unset(height + 1);
    }
    bool meets(const RowSet& other) const
    {
        for (size_t w = 0; w < bits.size(); ++w)
            if (bits[w] & other.bits[w])
                return true;
        return false;
    }
};

// The first bit at or after `from` that is set (or clear), or words * 64.
inline int64_t nextBit(const std::vector<uint64_t>& bits, size_t words, int64_t from, bool set)
{
    for (size_t w = static_cast<size_t>(from / 64); w < words; ++w) {
        uint64_t word = set ? bits[w] : ~bits[w];
        if (w == static_cast<size_t>(from / 64))
            word &= ~uint64_t{0} << (from % 64);
        if (word != 0)
            return static_cast<int64_t>(w * 64) + std::countr_zero(word);
    }
    return static_cast<int64_t>(words * 64);
}

// Calls onRun(a, b) for each run a .. b of set bits in `bits`.
template <class OnRun>
void forRuns(const std::vector<uint64_t>& bits, size_t words, OnRun onRun)
{
    for (int64_t k = nextBit(bits, words, 0, true); k < static_cast<int64_t>(words * 64);
         k = nextBit(bits, words, k, true)) {
        int64_t end = nextBit(bits, words, k, false);
        onRun(k, end - 1);
        k = end;
    }
}

} // namespace graph
