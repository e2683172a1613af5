#include "core/eval/rules.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/eval/nix_index.h"
#include "core/eval/pair_scan.h"
#include "core/eval/positions.h"

namespace velmora {

namespace {

constexpr int kNixWeights[5][4] = {
    { 10, 10, 10, 10 }, { 15, 15, 12, 10 }, { 20, 15, 15, 12 }, { 25, 20, 15, 12 }, { 30, 25, 20, 20 },
};

// Counts are bounded by the 31 positions, so they cannot overflow.
void AddEffects(const OyaRec& r, std::array<int32_t, 17>& counts)
{
    if (r.a > 0)
        ++counts[static_cast<size_t>(CheckedIndex(r.a, 17))];
    if (r.b > 0)
        ++counts[static_cast<size_t>(CheckedIndex(r.b, 17))];
}

// The eight groups of the splendid / well-made tests; false when one cannot be resolved.
bool MigGroups(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, int32_t (&a)[4], int32_t (&b)[4])
{
    static constexpr int kDadPos[4] = { 9, 11, 13, 15 };
    static constexpr int kMamChain[4] = { 1, 5, 3, 7 };
    for (int i = 0; i < 4; ++i) {
        const int32_t h = f[kDadPos[i]];
        if (h < 0)
            return false;
        a[i] = GroupOf(OyaAt(d, h));
    }
    for (int i = 0; i < 4; ++i) {
        b[i] = MamChainGroup(d, m, kMamChain[i]);
        if (b[i] < 0)
            return false;
    }
    return true;
}

bool Contains(const int32_t (&set)[4], int32_t v)
{
    for (int32_t x : set)
        if (x == v)
            return true;
    return false;
}

// Counts the members of `from` that `in` lacks, in order; -1 as soon as a member is 0. The splendid
// test stops at the first missing member (so one met before a 0 decides 0); the well-made test
// looks at all four before judging.
int CountMissing(const int32_t (&from)[4], const int32_t (&in)[4], bool stopAtFirstMissing)
{
    int n = 0;
    for (int32_t v : from) {
        if (v == 0)
            return -1;
        if (!Contains(in, v)) {
            ++n;
            if (stopAtFirstMissing)
                return n;
        }
    }
    return n;
}

// Steps 1 and 2 of the splendid (allowed 0) and well-made (allowed 1) tests on resolved groups.
int JudgeGroups(const int32_t (&a)[4], const int32_t (&b)[4], int allowed)
{
    const bool stop = allowed == 0;
    int n = CountMissing(a, b, stop);
    if (n < 0)
        return -1;
    if (n > allowed)
        return 0;
    n = CountMissing(b, a, stop);
    if (n < 0)
        return -1;
    if (n > allowed)
        return 0;
    return 1;
}

int MigOrYok(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, int allowed)
{
    int32_t a[4], b[4];
    if (!MigGroups(d, f, m, a, b))
        return -1;
    return JudgeGroups(a, b, allowed);
}

} // namespace

int NixWeight(int rank, int column)
{
    return kNixWeights[CheckedIndex(rank - 1, 5)][CheckedIndex(column - 1, 4)];
}

namespace {

// The lines a nick is judged on; false when one of the chains has no horse.
bool NixLines(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, int32_t& l0, int32_t (&lines)[4])
{
    l0 = DadChainLine(d, f, kSelfChain);
    lines[0] = MamChainLine(d, m, 1);
    lines[1] = MamChainLine(d, m, 3);
    lines[2] = MamChainLine(d, m, 7);
    lines[3] = MamChainLine(d, m, 15);
    return l0 >= 0 && lines[0] >= 0 && lines[1] >= 0 && lines[2] >= 0 && lines[3] >= 0;
}

// The nearest matching column gives the weight, each further match adds 1 (or, while the product
// is not positive, replaces it).
int32_t NixEntryValue(const NixRec& e, int rank, const int32_t (&lines)[4])
{
    int32_t mv = 0;
    for (int c = 0; c < 4; ++c) {
        if (lines[c] != e.keito2)
            continue;
        mv = mv > 0 ? CheckedAdd(mv, 1) : CheckedMul(kNixWeights[rank - 1][c], e.value);
    }
    return mv;
}

// The mare's four lines as a bit set, so that entries of other lines are passed over with one test.
// Lines beyond the set's range make every entry a candidate.
struct LineSet
{
    uint64_t bits[2] = { 0, 0 };
    bool all = false;

    explicit LineSet(const int32_t (&lines)[4])
    {
        for (int32_t l : lines) {
            if (l < 0 || l >= 128)
                all = true;
            else
                bits[l >> 6] |= uint64_t { 1 } << (l & 63);
        }
    }
    bool MayHold(int32_t line) const
    {
        if (all)
            return true;
        return line >= 0 && line < 128 && (bits[line >> 6] >> (line & 63) & 1) != 0;
    }
};

} // namespace

int32_t CalcNix(const MasterData& d, int rank, const DadFatherRec& f, const MamFatherRec& m)
{
    if (rank < 1 || rank > 5)
        return -1;
    int32_t l0, lines[4];
    if (!NixLines(d, f, m, l0, lines))
        return -1;
    const int count = CheckedIndex(d.NixCount, static_cast<int64_t>(d.NixList.size()) + 1);
    const LineSet candidates(lines);
    int32_t sum = 0;
    try {
        for (int i = 0; i < count; ++i) {
            const NixRec& e = d.NixList[static_cast<size_t>(i)];
            if (e.keito1 == l0 && candidates.MayHold(e.keito2))
                sum = CheckedAdd(sum, NixEntryValue(e, rank, lines));
        }
        return CheckedAdd(sum, 9) / 10;
    } catch (const OverflowError&) {
        throw NixOverflow(d, l0);
    }
}

int32_t CalcNix(const MasterData& d, const NixIndex& index, int rank, const DadFatherRec& f, const MamFatherRec& m)
{
    if (rank < 1 || rank > 5)
        return -1;
    int32_t l0, lines[4];
    if (!NixLines(d, f, m, l0, lines))
        return -1;
    if ((l0 < 0 || l0 >= kKeitoRows) && !index.Complete())
        return CalcNix(d, rank, f, m);
    const LineSet candidates(lines);
    int32_t sum = 0;
    try {
        for (const int32_t i : index.EntriesOf(l0)) {
            const NixRec& e = d.NixList[static_cast<size_t>(i)];
            if (candidates.MayHold(e.keito2))
                sum = CheckedAdd(sum, NixEntryValue(e, rank, lines));
        }
        return CheckedAdd(sum, 9) / 10;
    } catch (const OverflowError&) {
        throw NixOverflow(d, l0);
    }
}

OverflowError NixOverflow(const MasterData& d, int32_t line)
{
    const std::u16string name = line >= 0 && line < d.KeitoCount && static_cast<size_t>(line) < d.KeitoTable.size()
        ? d.KeitoTable[static_cast<size_t>(line)].name
        : u"?";
    return OverflowError("ニックスデータ: 系統「" + ToUtf8(name)
                         + "」のニックスの値が大きすぎて、整数の桁あふれが起きました");
}

int NixGrade(int32_t v)
{
    if (v >= 38)
        return 1;
    if (v >= 34)
        return 2;
    if (v >= 30)
        return 3;
    if (v >= 25 && v <= 28)
        return 4;
    return 0;
}

std::u16string_view NixGradeText(int32_t v)
{
    switch (NixGrade(v)) {
    case 1:
        return u"完璧";
    case 2:
        return u"優れた";
    case 3:
        return u"良くできた";
    case 4:
        return u"程々";
    default:
        return u"";
    }
}

int CheckOmo(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m)
{
    const int32_t g[8]
        = { DadChainGroup(d, f, kSelfChain), DadChainGroup(d, f, 5), DadChainGroup(d, f, 3), DadChainGroup(d, f, 7),
            MamChainGroup(d, m, 1),          MamChainGroup(d, m, 5), MamChainGroup(d, m, 3), MamChainGroup(d, m, 7) };
    int distinct = 0;
    for (int i = 0; i < 8; ++i) {
        if (g[i] <= 0) // 0, or -1 for a chain without a horse (which counts as group 0)
            return -1;
        bool seen = false;
        for (int k = 0; k < i && !seen; ++k)
            seen = g[k] == g[i];
        if (!seen)
            ++distinct;
    }
    return distinct >= 7 ? 1 : 0;
}

int CheckMig(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m)
{
    return MigOrYok(d, f, m, 0);
}

int CheckYok(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m)
{
    return MigOrYok(d, f, m, 1);
}

void CheckMigYok(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, int& mig, int& yok)
{
    int32_t a[4], b[4];
    if (!MigGroups(d, f, m, a, b)) {
        mig = yok = -1;
        return;
    }
    mig = JudgeGroups(a, b, 0);
    yok = JudgeGroups(a, b, 1);
}

std::u16string_view MarkText(int v)
{
    switch (v) {
    case -1:
        return u"？";
    case 0:
        return u"×";
    case 1:
        return u"○";
    case 2:
        return u"◎";
    default:
        return u"";
    }
}

int CrossKind(const MasterData& d, const DadFatherRec& f, int j, const MamFatherRec& m, int k)
{
    CheckedIndex(j, 16);
    CheckedIndex(k - 1, 15);
    const int32_t horse = f[static_cast<size_t>(j)];
    if (!SameHorse(horse, MamAt(m, k)))
        return -2;
    const int result = OyaAt(d, horse).a != 0 ? 1 : 0;
    const bool kEven = k % 2 == 0;
    const bool kDamSire = k == 5 || k == 9 || k == 13;
    bool follows = false;
    switch (j) {
    case 0:
    case 15:
        break;
    case 1:
        follows = kEven && SameHorse(MamAt(m, k / 2), f[0]);
        break;
    case 3:
        follows = kDamSire && SameHorse(MamAt(m, (k - 1) / 4), f[0]);
        break;
    case 5:
    case 9:
    case 13:
        follows = kDamSire && SameHorse(f[static_cast<size_t>((j - 1) / 4)], MamAt(m, (k - 1) / 4));
        break;
    case 7:
        follows = k == 11 && SameHorse(MamAt(m, 1), f[0]);
        break;
    case 11:
        follows = k == 11 && SameHorse(MamAt(m, 1), f[1]);
        break;
    default: // 2, 4, ..., 14
        follows = kEven && SameHorse(f[static_cast<size_t>(j / 2)], MamAt(m, k / 2));
        break;
    }
    return follows ? -1 : result;
}

void AnalyzeCrosses(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, CrossAnalysis& r)
{
    AnalyzeCrosses(d, f, m, PairScan(f, m), r);
}

void AnalyzeCrosses(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, const PairScan& scan,
                    CrossAnalysis& r)
{
    r = CrossAnalysis {};

    // Composition: every horse of the two pedigrees once.
    for (const int32_t h : scan)
        AddEffects(OyaAt(d, h), r.Kosei);

    // Crosses: every pair of positions holding the same horse counts on its own.
    scan.ForEachSamePair([&](int j, int k) {
        const int kind = CrossKind(d, f, j, m, k);
        if (j == 0 || (j == 1 && k == 1))
            r.Taboo = true;
        if (kind >= 0) {
            r.Crosses = CheckedAdd(r.Crosses, 1);
            AddEffects(OyaAt(d, f[static_cast<size_t>(j)]), r.InCross);
        }
    });

    // Parent likeness, only for an outbred pair; repeated horses count each time.
    if (r.Crosses == 0) {
        for (int j = 0; j <= 7; ++j)
            if (f[static_cast<size_t>(j)] >= 0)
                AddEffects(OyaAt(d, f[static_cast<size_t>(j)]), r.DadNi);
        for (int k = 1; k <= 7; ++k)
            if (MamAt(m, k) >= 0)
                AddEffects(OyaAt(d, MamAt(m, k)), r.MamNi);
    }

    // Nitro from the composition of the first four effects; which one is the speed effect depends
    // on the cross table.
    const auto& c = r.Kosei;
    if (d.SpeedCrossRow == 1) {
        r.NitroSp = CheckedAdd(CheckedMul(2, c[1]), c[2]);
        r.NitroSt = CheckedSub(CheckedAdd(c[3], c[4]), c[1]);
    } else {
        r.NitroSp = CheckedAdd(c[1], CheckedMul(2, c[2]));
        r.NitroSt = CheckedSub(CheckedAdd(c[3], c[4]), c[2]);
    }
}

void FillInbreed(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, InbreedRec& out)
{
    auto fill = [&](TSosenRec& slot, int32_t h) {
        slot.num = h;
        if (h >= 0)
            slot.name = OyaAt(d, h).name;
        else
            slot.name.clear();
        slot.isCrs = -2;
        slot.isInCrs = false;
    };
    for (int j = 0; j < 16; ++j)
        fill(out.Dads[static_cast<size_t>(j)], f[static_cast<size_t>(j)]);
    for (int k = 1; k <= 15; ++k)
        fill(out.Mams[static_cast<size_t>(k - 1)], MamAt(m, k));

    // A slot keeps the strongest result any pairing gives it, so that a counted cross is never
    // shown as a consequential one because a later pairing only follows from a nearer cross.
    auto raise = [](TSosenRec& slot, int r) {
        if (r > slot.isCrs)
            slot.isCrs = r;
    };
    for (int j = 0; j < 16; ++j) {
        const int32_t h = f[static_cast<size_t>(j)];
        if (h < 0)
            continue;
        for (int i = 0; i < j; ++i)
            if (SameHorse(f[static_cast<size_t>(i)], h)) {
                out.Dads[static_cast<size_t>(i)].isInCrs = true;
                out.Dads[static_cast<size_t>(j)].isInCrs = true;
            }
        for (int k = 1; k <= 15; ++k) {
            if (h != MamAt(m, k))
                continue;
            const int r = CrossKind(d, f, j, m, k);
            if (r >= -1) {
                raise(out.Dads[static_cast<size_t>(j)], r);
                raise(out.Mams[static_cast<size_t>(k - 1)], r);
            }
        }
    }
    for (int k = 1; k <= 15; ++k) {
        const int32_t h = MamAt(m, k);
        if (h < 0)
            continue;
        for (int i = 1; i < k; ++i)
            if (SameHorse(MamAt(m, i), h)) {
                out.Mams[static_cast<size_t>(i - 1)].isInCrs = true;
                out.Mams[static_cast<size_t>(k - 1)].isInCrs = true;
            }
    }
}

} // namespace velmora
