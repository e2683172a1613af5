#pragma once
// The nick list grouped by the stallion's line, so that a nick value looks at the few entries of one
// line instead of scanning the whole list. Built once by a caller that evaluates many pairs (a
// ranking, a benchmark, a search) and valid while NixList and NixCount stay unchanged.

#include "core/data/master_data.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

class NixIndex
{
public:
    explicit NixIndex(const MasterData& d);

    // Row numbers of the NixList entries whose keito1 is `line`, in table order; empty for a line
    // outside the sire-line table.
    std::span<const int32_t> EntriesOf(int32_t line) const;

    // Whether every entry's keito1 lay inside the sire-line table (otherwise lines outside it can
    // only be answered by a full scan).
    bool Complete() const { return m_complete; }

private:
    std::array<int32_t, kKeitoRows + 1> m_start {};
    std::vector<int32_t> m_rows;
    bool m_complete = true;
};

} // namespace velmora
