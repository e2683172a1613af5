#pragma once
// Which positions of a stallion's and a broodmare's arrays hold the same horse, found with one pass
// over the 31 entries (two small bit sets over the ancestor table) instead of comparing all 16 x 15
// position pairs. Fixed size, on the stack, no allocation.

#include "core/common/errors.h"
#include "core/data/master_data.h"

#include <cstdint>

namespace velmora {

class PairScan
{
public:
    // Throws RangeError for a known entry outside the ancestor table.
    PairScan(const DadFatherRec& f, const MamFatherRec& m)
        : m_f(f)
        , m_m(m)
    {
        for (int j = 0; j < 16; ++j)
            if (Add(f[static_cast<size_t>(j)], m_dad))
                m_hasDad = true;
        for (int k = 1; k <= 15; ++k)
            Add(m[static_cast<size_t>(k - 1)], m_mare);
    }

    // The distinct known horses in the order they are first met: stallion positions 0..15, then
    // broodmare positions 1..15 (the order in which a pedigree composition counts horses).
    const int32_t* begin() const { return m_distinct; }
    const int32_t* end() const { return m_distinct + m_count; }

    // Calls fn(j, k) for every stallion position j and broodmare position k holding the same horse,
    // broodmare positions ascending and, within one, stallion positions ascending.
    template <typename Fn> void ForEachSamePair(Fn fn) const
    {
        if (!m_hasDad)
            return;
        for (int k = 1; k <= 15; ++k) {
            const int32_t h = m_m[static_cast<size_t>(k - 1)];
            if (h < 0 || !Test(m_dad, h))
                continue;
            for (int j = 0; j < 16; ++j)
                if (m_f[static_cast<size_t>(j)] == h)
                    fn(j, k);
        }
    }

private:
    static constexpr int kWords = (kOyaRows + 63) / 64;
    using Bits = uint64_t[kWords];

    static bool Test(const Bits& b, int32_t h) { return (b[h >> 6] >> (h & 63) & 1) != 0; }

    // Marks a known horse in `side`; records it when neither side had it. True when it was known.
    bool Add(int32_t h, Bits& side)
    {
        if (h < 0)
            return false;
        CheckedIndex(h, kOyaRows);
        if (!Test(m_dad, h) && !Test(m_mare, h))
            m_distinct[m_count++] = h;
        side[h >> 6] |= uint64_t { 1 } << (h & 63);
        return true;
    }

    const DadFatherRec& m_f;
    const MamFatherRec& m_m;
    Bits m_dad {};
    Bits m_mare {};
    int32_t m_distinct[31];
    int m_count = 0;
    bool m_hasDad = false;
};

} // namespace velmora
