#include "core/mating/scoring.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/eval/nix_index.h"
#include "core/eval/pair_scan.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"

#include <string_view>

namespace velmora {

namespace {

int32_t At(const std::array<int32_t, 17>& a, int32_t index)
{
    return a[static_cast<size_t>(CheckedIndex(index, 17))];
}

// Points of a grade "A", "B" or "C" from the group starting at `first`; 0 for any other value.
int32_t GradePoints(const PtsRec& pts, int first, std::u16string_view grade)
{
    if (grade.size() != 1 || grade[0] < u'A' || grade[0] > u'C')
        return 0;
    return pts.dstatus[static_cast<size_t>(first + (grade[0] - u'A'))];
}

bool ColorIs(const MasterData& d, int32_t keiro, std::u16string_view color)
{
    if (keiro < 0 || static_cast<size_t>(keiro) >= d.KeiroTable.size())
        return false;
    return d.KeiroTable[static_cast<size_t>(keiro)] == color;
}

// Runs a computation whose bare overflow errors are given a message naming the pair or the horse and
// the point values that are too large (subject() is called only then, so that the hot path builds no
// text).
template <typename Compute, typename Subject> int32_t Named(const PtsRec& pts, Compute compute, Subject subject)
{
    try {
        return compute();
    } catch (const OverflowError& e) {
        if (e.Named())
            throw;
        throw OverflowError(ToUtf8(subject()) + ": 相性値の計算で整数の桁あふれが起きました ("
                            + ToUtf8(PointOverflowCause(pts)) + ")");
    }
}

auto PairName(const DadRec& s, const MamRec& m)
{
    return [&s, &m] { return s.name + u" × " + m.name; };
}

int32_t UnnamedPairScore(const MasterData& d, const PtsRec& pts, const DadRec& s, const MamRec& m, CrossAnalysis* out,
                         const NixIndex* nix)
{
    const DadFatherRec& f = s.Father;
    const MamFatherRec& mf = m.Father;
    int32_t sum = 0;

    // 1. Effects of crossed ancestors, once per matching pair of positions (only positions holding
    // the same horse can match).
    const PairScan scan(f, mf);
    scan.ForEachSamePair([&](int i, int j) {
        if (CrossKind(d, f, i, mf, j) != 1)
            return;
        const OyaRec& row = OyaAt(d, MamAt(mf, j));
        if (row.name != kUnregistered)
            sum = CheckedAdd(sum, CheckedAdd(At(pts.cros, row.a), At(pts.cros, row.b)));
    });

    // 2. Cross count, or outbreeding with parent likeness.
    CrossAnalysis local;
    CrossAnalysis& r = out ? *out : local;
    AnalyzeCrosses(d, f, mf, scan, r);
    if (r.Crosses == 0) {
        sum = CheckedAdd(sum, pts.haigo.Outb);
        sum = CheckedSub(sum, GradePoints(pts, DStatus::KishoA, s.Kisho));
        sum = CheckedAdd(sum, pts.dstatus[DStatus::KishoO]);
        sum = CheckedAdd(sum, pts.dstatus[DStatus::KenkoO]);
        for (size_t k = 1; k <= 16; ++k) {
            sum = CheckedAdd(sum, CheckedMul(pts.Oyani[k], r.DadNi[k]));
            sum = CheckedAdd(sum, CheckedMul(pts.Oyani[k], r.MamNi[k]));
        }
    } else {
        if (r.Taboo)
            sum = CheckedAdd(sum, pts.haigo.Taboo);
        sum = CheckedAdd(sum, r.Crosses >= 7 ? pts.haigo.Kiken : At(pts.CrosNum, r.Crosses));
    }

    // 3. Composition.
    for (size_t k = 1; k <= 16; ++k)
        sum = CheckedAdd(sum, CheckedMul(pts.Nitro[k], r.Kosei[k]));

    // 4. Nick.
    switch (NixGrade(nix ? CalcNix(d, *nix, s.Fee, f, mf) : CalcNix(d, s.Fee, f, mf))) {
    case 1:
        sum = CheckedAdd(sum, pts.haigo.Nix1);
        break;
    case 2:
        sum = CheckedAdd(sum, pts.haigo.Nix2);
        break;
    case 3:
        sum = CheckedAdd(sum, pts.haigo.Nix3);
        break;
    case 4:
        sum = CheckedAdd(sum, pts.haigo.Nix4);
        break;
    default:
        break;
    }

    // 5. Same line.
    if (IsSameLine(s, m))
        sum = CheckedAdd(sum, pts.haigo.Dokei);

    // 6. Mating types.
    if (CheckOmo(d, f, mf) == 1)
        sum = CheckedAdd(sum, pts.haigo.Omo);
    int mig, yok;
    CheckMigYok(d, f, mf, mig, yok);
    if (mig == 1)
        sum = CheckedAdd(sum, pts.haigo.Mig);
    if (yok == 1)
        sum = CheckedAdd(sum, pts.haigo.Yok);
    return sum;
}

int32_t UnnamedStallionStatusPoints(const MasterData& d, const PtsRec& pts, const DadRec& s)
{
    const auto& ds = pts.dstatus;
    int32_t sum = 0;
    if (!s.birth.empty() && s.birth[0] == u'内')
        sum = CheckedAdd(sum, ds[DStatus::Naikoku]);
    else if (!s.birth.empty() && s.birth[0] == u'外')
        sum = CheckedAdd(sum, ds[DStatus::Gaikoku]);
    if (ColorIs(d, s.keiro, pts.dcolor))
        sum = CheckedAdd(sum, ds[DStatus::ColorPts]);
    if (ds[DStatus::StarLow] <= s.Fee && s.Fee <= ds[DStatus::StarHigh])
        sum = CheckedAdd(sum, ds[DStatus::StarPts]);
    if (s.Distance1 < ds[DStatus::DistLow] || s.Distance2 > ds[DStatus::DistHigh])
        sum = CheckedAdd(sum, ds[DStatus::DistPts]);

    static constexpr std::u16string_view kGrow[4] = { u"早熟", u"普通", u"晩成", u"持続" };
    for (int i = 0; i < 4; ++i)
        if (s.Grow == kGrow[i])
            sum = CheckedAdd(sum, ds[static_cast<size_t>(DStatus::Soujuku + i)]);
    static constexpr std::u16string_view kDirt[3] = { u"◎", u"○", u"△" };
    for (int i = 0; i < 3; ++i)
        if (s.Dirt == kDirt[i])
            sum = CheckedAdd(sum, ds[static_cast<size_t>(DStatus::Dirt1 + i)]);

    sum = CheckedAdd(sum, GradePoints(pts, DStatus::KishoA, s.Kisho));
    sum = CheckedAdd(sum, GradePoints(pts, DStatus::KonjoA, s.Konjo));
    sum = CheckedAdd(sum, GradePoints(pts, DStatus::KenkoA, s.Kenko));
    sum = CheckedAdd(sum, GradePoints(pts, DStatus::JissekiA, s.Jisseki));
    sum = CheckedAdd(sum, GradePoints(pts, DStatus::AnteiA, s.Antei));
    return sum;
}

int32_t UnnamedMareStatusPoints(const MasterData& d, const PtsRec& pts, const MamRec& m)
{
    const auto& ms = pts.mstatus;
    int32_t sum = 0;
    if (m.motikomi == u"自家")
        sum = CheckedAdd(sum, ms[MStatus::Jika]);
    else if (m.motikomi == u"他家")
        sum = CheckedAdd(sum, ms[MStatus::Taka]);
    if (ColorIs(d, m.keiro, pts.mcolor))
        sum = CheckedAdd(sum, ms[MStatus::ColorPts]);
    if (ms[MStatus::FeeLow] <= m.Fee && m.Fee <= ms[MStatus::FeeHigh])
        sum = CheckedAdd(sum, ms[MStatus::FeePts]);
    if (ms[MStatus::SpeedLow] <= m.speed && m.speed <= ms[MStatus::SpeedHigh])
        sum = CheckedAdd(sum, ms[MStatus::SpeedPts]);
    if (ms[MStatus::StaminaLow] <= m.stamina && m.stamina <= ms[MStatus::StaminaHigh])
        sum = CheckedAdd(sum, ms[MStatus::StaminaPts]);
    return sum;
}

} // namespace

int32_t PairScore(const MasterData& d, const PtsRec& pts, const DadRec& s, const MamRec& m)
{
    return PairScore(d, pts, s, m, nullptr);
}

int32_t PairScore(const MasterData& d, const PtsRec& pts, const DadRec& s, const MamRec& m, CrossAnalysis* out,
                  const NixIndex* nix)
{
    return Named(
        pts, [&] { return UnnamedPairScore(d, pts, s, m, out, nix); }, PairName(s, m));
}

int32_t StallionStatusPoints(const MasterData& d, const PtsRec& pts, const DadRec& s)
{
    return Named(
        pts, [&] { return UnnamedStallionStatusPoints(d, pts, s); }, [&s] { return u"種牡馬 " + s.name; });
}

int32_t MareStatusPoints(const MasterData& d, const PtsRec& pts, const MamRec& m)
{
    return Named(
        pts, [&] { return UnnamedMareStatusPoints(d, pts, m); }, [&m] { return u"牝馬 " + m.name; });
}

int32_t CompatSum(const PtsRec& pts, const DadRec& s, const MamRec& m, int32_t pairScore, int32_t stallionStatus,
                  int32_t mareStatus)
{
    return Named(
        pts, [&] { return CheckedAdd(CheckedAdd(pairScore, stallionStatus), mareStatus); }, PairName(s, m));
}

int32_t CompatValue(const MasterData& d, const PtsRec& pts, const DadRec& s, const MamRec& m, const NixIndex* nix)
{
    return CompatSum(pts, s, m, PairScore(d, pts, s, m, nullptr, nix), StallionStatusPoints(d, pts, s),
                     MareStatusPoints(d, pts, m));
}

} // namespace velmora
