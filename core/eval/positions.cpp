#include "core/eval/positions.h"

#include "core/common/errors.h"

namespace velmora {

int32_t DadChainHorse(const DadFatherRec& f, int p)
{
    if (p == kSelfChain) {
        if (f[0] >= 0)
            return f[0];
        p = 1;
    }
    for (; p >= 1 && p <= 15; p *= 2)
        if (f[static_cast<size_t>(p)] >= 0)
            return f[static_cast<size_t>(p)];
    return -1;
}

int32_t MamChainHorse(const MamFatherRec& m, int p)
{
    for (; p >= 1 && p <= 15; p *= 2)
        if (MamAt(m, p) >= 0)
            return MamAt(m, p);
    return -1;
}

int32_t DadChainLine(const MasterData& d, const DadFatherRec& f, int p)
{
    const int32_t h = DadChainHorse(f, p);
    return h < 0 ? -1 : OyaAt(d, h).keito;
}

int32_t MamChainLine(const MasterData& d, const MamFatherRec& m, int p)
{
    const int32_t h = MamChainHorse(m, p);
    return h < 0 ? -1 : OyaAt(d, h).keito;
}

int32_t DadChainGroup(const MasterData& d, const DadFatherRec& f, int p)
{
    const int32_t h = DadChainHorse(f, p);
    return h < 0 ? -1 : GroupOf(OyaAt(d, h));
}

int32_t MamChainGroup(const MasterData& d, const MamFatherRec& m, int p)
{
    const int32_t h = MamChainHorse(m, p);
    return h < 0 ? -1 : GroupOf(OyaAt(d, h));
}

MamFatherRec FoalArray(const DadFatherRec& f, const MamFatherRec& m)
{
    MamFatherRec c;
    c[0] = f[0];
    for (int p = 2; p <= 15; ++p) {
        const int g = PositionGeneration(p);
        const int first = 1 << (g - 1);
        const int half = 1 << (g - 2);
        if (p < first + half)
            c[static_cast<size_t>(p - 1)] = f[static_cast<size_t>(p - half)];
        else
            c[static_cast<size_t>(p - 1)] = MamAt(m, p - first);
    }
    return c;
}

} // namespace velmora
