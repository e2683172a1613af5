#include "core/eval/nix_index.h"

#include "core/common/errors.h"

namespace velmora {

NixIndex::NixIndex(const MasterData& d)
{
    const int count = CheckedIndex(d.NixCount, static_cast<int64_t>(d.NixList.size()) + 1);
    std::array<int32_t, kKeitoRows + 1> counts {};
    for (int i = 0; i < count; ++i) {
        const int32_t line = d.NixList[static_cast<size_t>(i)].keito1;
        if (line >= 0 && line < kKeitoRows)
            ++counts[static_cast<size_t>(line) + 1];
        else
            m_complete = false;
    }
    for (int l = 1; l <= kKeitoRows; ++l)
        counts[static_cast<size_t>(l)] += counts[static_cast<size_t>(l - 1)];
    m_start = counts;
    m_rows.resize(static_cast<size_t>(counts[kKeitoRows]));
    std::array<int32_t, kKeitoRows + 1> next = counts;
    for (int i = 0; i < count; ++i) {
        const int32_t line = d.NixList[static_cast<size_t>(i)].keito1;
        if (line >= 0 && line < kKeitoRows)
            m_rows[static_cast<size_t>(next[static_cast<size_t>(line)]++)] = i;
    }
}

std::span<const int32_t> NixIndex::EntriesOf(int32_t line) const
{
    if (line < 0 || line >= kKeitoRows)
        return {};
    const auto b = static_cast<size_t>(m_start[static_cast<size_t>(line)]);
    const auto e = static_cast<size_t>(m_start[static_cast<size_t>(line) + 1]);
    return std::span<const int32_t>(m_rows).subspan(b, e - b);
}

} // namespace velmora
