// The fast forms of the rules (the same-horse scan, the nick index, the joint splendid / well-made
// test) against a plain evaluation written straight from the rules, on many random pedigrees drawn
// from a small pool of horses so that crosses, repeats and unknown entries are frequent.

#include "core/eval/nix_index.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velmora {
namespace {

using test::EvalFixture;

void PlainAnalyzeCrosses(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, CrossAnalysis& r)
{
    r = CrossAnalysis {};
    auto add = [&](int32_t h, std::array<int32_t, 17>& c) {
        const OyaRec& o = d.OyaTable[static_cast<size_t>(h)];
        if (o.a > 0)
            c[static_cast<size_t>(o.a)]++;
        if (o.b > 0)
            c[static_cast<size_t>(o.b)]++;
    };
    for (int j = 0; j < 16; ++j) {
        if (f[static_cast<size_t>(j)] < 0)
            continue;
        bool lower = false;
        for (int i = 0; i < j; ++i)
            lower = lower || f[static_cast<size_t>(i)] == f[static_cast<size_t>(j)];
        if (!lower)
            add(f[static_cast<size_t>(j)], r.Kosei);
    }
    for (int k = 1; k <= 15; ++k) {
        const int32_t h = m[static_cast<size_t>(k - 1)];
        if (h < 0)
            continue;
        bool seen = false;
        for (int i = 0; i < 16; ++i)
            seen = seen || f[static_cast<size_t>(i)] == h;
        for (int i = 1; i < k; ++i)
            seen = seen || m[static_cast<size_t>(i - 1)] == h;
        if (!seen)
            add(h, r.Kosei);
    }
    for (int j = 0; j <= 15; ++j)
        for (int k = 1; k <= 15; ++k) {
            const int kind = CrossKind(d, f, j, m, k);
            if (kind >= -1 && (j == 0 || (j == 1 && k == 1)))
                r.Taboo = true;
            if (kind >= 0) {
                r.Crosses++;
                add(f[static_cast<size_t>(j)], r.InCross);
            }
        }
    if (r.Crosses == 0) {
        for (int j = 0; j <= 7; ++j)
            if (f[static_cast<size_t>(j)] >= 0)
                add(f[static_cast<size_t>(j)], r.DadNi);
        for (int k = 1; k <= 7; ++k)
            if (m[static_cast<size_t>(k - 1)] >= 0)
                add(m[static_cast<size_t>(k - 1)], r.MamNi);
    }
    const auto& c = r.Kosei;
    if (d.SpeedCrossRow == 1) {
        r.NitroSp = 2 * c[1] + c[2];
        r.NitroSt = c[3] + c[4] - c[1];
    } else {
        r.NitroSp = c[1] + 2 * c[2];
        r.NitroSt = c[3] + c[4] - c[2];
    }
}

bool Same(const CrossAnalysis& x, const CrossAnalysis& y)
{
    return x.Taboo == y.Taboo && x.Crosses == y.Crosses && x.Kosei == y.Kosei && x.InCross == y.InCross
        && x.DadNi == y.DadNi && x.MamNi == y.MamNi && x.NitroSp == y.NitroSp && x.NitroSt == y.NitroSt;
}

TEST(RulesAgainstPlainEvaluation, RandomPedigrees)
{
    std::mt19937 rng(2026);
    EvalFixture fx;
    const int pool = 24;
    for (int i = 0; i < pool; ++i)
        fx.Horse(u"H" + std::u16string(1, char16_t(u'A' + i)), static_cast<int>(rng() % 6), static_cast<int>(rng() % 5),
                 static_cast<int>(rng() % 17), static_cast<int>(rng() % 5));
    for (int i = 0; i < 600; ++i)
        fx.Nix(static_cast<int>(rng() % 6), static_cast<int>(rng() % 6), static_cast<int>(rng() % 7) - 2);
    fx.d.SpeedCrossRow = 1;
    const NixIndex index(fx.d);
    int crossed = 0, taboo = 0;
    for (int round = 0; round < 3000; ++round) {
        DadFatherRec f;
        MamFatherRec m;
        const int unknownOdds = 1 + static_cast<int>(rng() % 6);
        for (auto& e : f)
            e = rng() % unknownOdds == 0 ? -1 : static_cast<int32_t>(rng() % pool);
        for (auto& e : m)
            e = rng() % unknownOdds == 0 ? -1 : static_cast<int32_t>(rng() % pool);
        if (round % 2)
            fx.d.SpeedCrossRow = static_cast<int32_t>(round % 3);
        CrossAnalysis fast, plain;
        AnalyzeCrosses(fx.d, f, m, fast);
        PlainAnalyzeCrosses(fx.d, f, m, plain);
        ASSERT_TRUE(Same(fast, plain)) << "round " << round;
        crossed += fast.Crosses > 0;
        taboo += fast.Taboo;

        for (int rank = 0; rank <= 6; ++rank)
            ASSERT_EQ(CalcNix(fx.d, index, rank, f, m), CalcNix(fx.d, rank, f, m)) << "round " << round;
        int mig, yok;
        CheckMigYok(fx.d, f, m, mig, yok);
        ASSERT_EQ(mig, CheckMig(fx.d, f, m));
        ASSERT_EQ(yok, CheckYok(fx.d, f, m));
        ASSERT_TRUE(mig != 1 || yok == 1); // every splendid mating is well-made
    }
    // The draw really exercised the cases.
    EXPECT_GT(crossed, 1000);
    EXPECT_GT(taboo, 100);
}

TEST(NixIndex, GroupsEntriesByLineInTableOrder)
{
    EvalFixture fx;
    fx.Nix(3, 1, 10);
    fx.Nix(5, 1, 20);
    fx.Nix(3, 2, 30);
    fx.Nix(200, 2, 30); // a line outside the table
    const NixIndex index(fx.d);
    const auto three = index.EntriesOf(3);
    ASSERT_EQ(three.size(), 2u);
    EXPECT_EQ(three[0], 0);
    EXPECT_EQ(three[1], 2);
    EXPECT_EQ(index.EntriesOf(5).size(), 1u);
    EXPECT_TRUE(index.EntriesOf(4).empty());
    EXPECT_TRUE(index.EntriesOf(-1).empty());
    EXPECT_FALSE(index.Complete());
}

} // namespace
} // namespace velmora
