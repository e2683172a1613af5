// The tree reading of formulas onto the chart, the captions and the formula the chart writes, and
// write -> read round trips.

#include "core/pedigree/tree_formula.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmora;
using velmora::test::PedigreeData;

namespace {

class TreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char16_t* n : { u"S", u"T", u"U", u"V", u"A", u"B", u"C", u"D", u"E", u"F" })
            dad[n] = data.Stallion(n);
        for (const char16_t* n : { u"M", u"M2", u"Mb" })
            mam[n] = data.Mare(n);
    }

    int Read(std::u16string text, int k = 1)
    {
        box.text = text;
        TreeContext ctx { data.d, chart, box, aliasFn };
        return ReadTree(ctx, k, text);
    }
    ChartCaptions Captions() const { return BuildCaptions(data.d, chart); }

    // Registered horses on the chart as "kS=name" / "kM=name", in position order.
    std::vector<std::u16string> Registered() const
    {
        std::vector<std::u16string> out;
        for (int k = 1; k <= 31; ++k) {
            const std::u16string pos = test::U(std::to_string(k));
            if (chart.slot[k].DadIdx >= 0)
                out.push_back(pos + u"S=" + data.d.DadTable[chart.slot[k].DadIdx].name);
            if (chart.slot[k].MamIdx >= 0)
                out.push_back(pos + u"M=" + data.d.MamTable[chart.slot[k].MamIdx].name);
        }
        return out;
    }

    PedigreeData data;
    std::map<std::u16string, int> dad, mam;
    Chart chart;
    FormulaBox box;
    std::map<std::u16string, std::u16string> aliases;
    AliasLookup aliasFn = [this](std::u16string_view n) {
        const auto it = aliases.find(std::u16string(n));
        return it == aliases.end() ? std::u16string() : it->second;
    };
};

using Regs = std::vector<std::u16string>;

} // namespace

TEST_F(TreeTest, ReadingExamples)
{
    struct Case
    {
        std::u16string formula;
        int result;
        Regs registered;
    };
    const std::vector<Case> cases = {
        { u"S * M", 1, { u"1S=S", u"1M=M" } },
        { u"S * (T)", 1, { u"1S=S", u"3S=T" } },
        { u"(S)", 1, { u"1S=S" } },
        { u"((( S )))", 1, { u"1S=S" } },
        { u"S * T", 1, { u"1S=T" } }, // a plain stallion on the right replaces the sire
        { u"S * (T * M2)", 1, { u"1S=S", u"3S=T", u"3M=M2" } },
        { u"(A * Mb) * M", 1, { u"1M=M", u"2S=A", u"2M=Mb" } },
        { u"((S) * M)", 1, { u"1M=M", u"2S=S" } },
        { u"s * m", 1, { u"1S=S", u"1M=M" } }, // lists compare without regard to case
        { u"S * (T", -1, { u"1S=S" } }, // placements before the failure stay
        { u"S)", -1, {} },
        { u"(S", -1, {} },
        { u")S(", -1, {} },
        { u"S * ?", 0, { u"1S=S" } },
        { u"Nobody * M", 0, {} },
        { u"", 0, {} },
        { u"()", 0, {} },
        // A mare reached above position 15 has no dam position: read, but left off the chart.
        { u"A * (B * (C * (D * (E * M))))", 1, { u"1S=A", u"3S=B", u"7S=C", u"15S=D", u"31S=E" } },
        // One level more leaves the chart.
        { u"A * (B * (C * (D * (E * (F * M)))))", -1, { u"1S=A", u"3S=B", u"7S=C", u"15S=D", u"31S=E" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.formula.begin(), c.formula.end()));
        ClearChart(chart);
        EXPECT_EQ(Read(c.formula), c.result);
        EXPECT_EQ(Registered(), c.registered);
    }
}

TEST_F(TreeTest, UnknownNameIsSelectedInTheBox)
{
    EXPECT_EQ(Read(u"S * ?"), 0);
    ASSERT_TRUE(box.hasSelection);
    EXPECT_EQ(box.selection, (TextRange { 4, 1 }));
    EXPECT_EQ(Read(u"S * (Zz * M)"), 0);
    EXPECT_EQ(box.selection, (TextRange { 5, 2 }));
}

TEST_F(TreeTest, PositionsBeyondTheChartCannotBeRead)
{
    EXPECT_EQ(Read(u"S", 32), -1);
    EXPECT_EQ(Read(u"S", 0), -1);
    EXPECT_EQ(Read(u"S", 31), 1);
    EXPECT_EQ(chart.slot[31].DadIdx, dad[u"S"]);
    const Chart before = chart;
    EXPECT_EQ(Read(u"M", 16), 1); // no dam position there: the chart stays as it was
    for (int k = 1; k <= 31; ++k)
        EXPECT_EQ(chart.slot[k], before.slot[k]);
    EXPECT_EQ(Read(u"M", 15), 1);
    EXPECT_EQ(chart.slot[15].MamIdx, mam[u"M"]);
}

TEST_F(TreeTest, AliasesComeBeforeTheListsAndReplaceTheNameInTheBox)
{
    aliases[u"S"] = u"T"; // a registered name redirected
    aliases[u"Zed"] = u"U";
    aliases[u"Mum"] = u"M2";
    EXPECT_EQ(Read(u"S * Mum"), 1);
    EXPECT_EQ(Registered(), (Regs { u"1S=T", u"1M=M2" }));
    EXPECT_EQ(box.text, u"T * M2");
    ClearChart(chart);
    EXPECT_EQ(Read(u"Zed * (Zed * M)"), 1);
    EXPECT_EQ(Registered(), (Regs { u"1S=U", u"3S=U", u"3M=M" }));
    EXPECT_EQ(box.text, u"U * (U * M)"); // each reading replaces the first occurrence left
    // The name is replaced where it stands alone, not inside a longer name.
    aliases[u"A"] = u"T";
    ClearChart(chart);
    EXPECT_EQ(Read(u"AB * (A)"), 0); // "AB" is unknown; reading stops there
    EXPECT_EQ(box.text, u"AB * (A)");
    ClearChart(chart);
    EXPECT_EQ(Read(u"V * (A * AB)"), 0);
    EXPECT_EQ(box.text, u"V * (T * AB)");
    EXPECT_EQ(box.selection, (TextRange { 9, 2 })); // the unknown "AB" selected
    // An alias whose target is not registered leaves the target selected.
    aliases[u"Lost"] = u"Nowhere";
    EXPECT_EQ(Read(u"Lost * M"), 0);
    EXPECT_EQ(box.text, u"Nowhere * M");
    EXPECT_EQ(box.selection, (TextRange { 0, 7 }));
}

TEST_F(TreeTest, DeepBracketsNeitherOverflowNorStall)
{
    const size_t n = 200000;
    EXPECT_EQ(Read(std::u16string(n, u'(') + u"S" + std::u16string(n, u')')), 1);
    EXPECT_EQ(Registered(), (Regs { u"1S=S" }));
    ClearChart(chart);
    EXPECT_EQ(Read(std::u16string(n, u'(') + u"S * (T * M)" + std::u16string(n, u')')), 1);
    EXPECT_EQ(Registered(), (Regs { u"1S=S", u"3S=T", u"3M=M" }));
    ClearChart(chart);
    EXPECT_EQ(Read(std::u16string(n, u'(') + u"S" + std::u16string(n - 1, u')')), -1);
    EXPECT_EQ(Read(std::u16string(n, u'(') + u"(S) * M" + std::u16string(n, u')')), 1);
    EXPECT_EQ(Registered(), (Regs { u"1M=M", u"2S=S" }));
}

TEST_F(TreeTest, ShowFoldsTrimsAndReportsFailures)
{
    box.text = u"  Ｓ＊（Ｔ＊Ｍｂ）　"; // full-width digits would stay full-width
    TreeContext ctx { data.d, chart, box, aliasFn };
    std::u16string message;
    EXPECT_EQ(ShowTreeFormula(ctx, &message), 1);
    EXPECT_EQ(box.text, u"S*(T*Mb)");
    EXPECT_EQ(message, u"");
    EXPECT_EQ(Registered(), (Regs { u"1S=S", u"3S=T", u"3M=Mb" }));
    box.text = u"S * (T";
    EXPECT_EQ(ShowTreeFormula(ctx, &message), -1);
    EXPECT_EQ(message, kMsgCannotAnalyse);
}

TEST_F(TreeTest, CompleteChartWritesItsFormula)
{
    PlaceStallion(data.d, chart, 1, dad[u"S"]);
    PlaceMare(data.d, chart, 1, mam[u"M"]);
    const ChartCaptions c = Captions();
    EXPECT_TRUE(c.complete);
    EXPECT_EQ(c.formula, u"S* M");
    EXPECT_EQ(c.caption[1], u"S\r\n* M");
    EXPECT_EQ(c.caption[2], u"S_1"); // ancestors by their ancestor names
    EXPECT_EQ(c.caption[16], u"S_8");
    EXPECT_EQ(c.caption[31], u"M_15");
    bool complete = false;
    std::u16string formula;
    EXPECT_EQ(SlotCaption(data.d, chart, 3, &complete, &formula), u"M_1");
    EXPECT_TRUE(complete);
    EXPECT_EQ(formula, u"S* M");
}

TEST_F(TreeTest, GenerationFourCaptions)
{
    struct Case
    {
        std::vector<std::pair<int, std::u16string>> stallions; // placed in order
        std::vector<std::pair<int, std::u16string>> mares; // placed after them
        std::u16string caption8;
    };
    const std::vector<Case> cases = {
        { {}, {}, u"?\r\n * ?" },
        { { { 8, u"T" } }, {}, u"T\r\n * ?" },
        { { { 8, u"T" } }, { { 8, u"M" } }, u"T\r\n * M" },
        { { { 8, u"T" }, { 17, u"U" } }, {}, u"T\r\n * (U)" },
        { { { 16, u"T" } }, {}, u"(T)\r\n * ?" },
        { { { 16, u"T" } }, { { 8, u"M" } }, u"(T)\r\n * M" },
        { { { 16, u"T" }, { 17, u"U" } }, {}, u"(T)\r\n * (U)" },
        { { { 17, u"U" } }, {}, u"?\r\n * (U)" },
        { {}, { { 8, u"M" } }, u"?\r\n* M" },
        { { { 4, u"S" } }, {}, u"S_1" }, // an ancestor at 8 is written by name
    };
    for (const Case& c : cases) {
        ClearChart(chart);
        for (auto& [k, n] : c.stallions)
            PlaceStallion(data.d, chart, k, dad[n]);
        for (auto& [k, n] : c.mares)
            PlaceMare(data.d, chart, k, mam[n]);
        const ChartCaptions cap = Captions();
        EXPECT_EQ(cap.caption[8], c.caption8);
        EXPECT_FALSE(cap.complete);
        EXPECT_EQ(cap.formula, u"");
    }
}

TEST_F(TreeTest, IncompleteWhenAnAncestorIsUnknown)
{
    const int gap = data.Stallion(u"Gap", 3, { u"G1", u"G2", u"G3", u"G4", u"G5", u"G6", u"G7", u"" });
    PlaceStallion(data.d, chart, 1, gap);
    PlaceMare(data.d, chart, 1, mam[u"M"]);
    const ChartCaptions c = Captions();
    EXPECT_EQ(c.caption[16], u"?");
    EXPECT_FALSE(c.complete);
    EXPECT_EQ(c.formula, u"");
}

TEST_F(TreeTest, WrittenFormulasReadBackToTheSameChart)
{
    struct Step
    {
        bool stallion;
        int k;
        std::u16string name;
    };
    const std::vector<std::pair<std::vector<Step>, std::u16string>> cases = {
        { { { true, 1, u"S" }, { false, 1, u"M" } }, u"S* M" },
        { { { true, 1, u"S" }, { true, 3, u"T" }, { false, 3, u"M2" } }, u"S* (T* M2)" },
        { { { true, 2, u"T" },
            { true, 5, u"U" },
            { true, 11, u"V" },
            { false, 11, u"M2" },
            { false, 2, u"Mb" },
            { false, 1, u"M" } },
          u"" }, // the mare at 2 removes nothing below her but leaves 5.. to her pedigree: formula checked below
        { { { true, 2, u"T" }, { true, 5, u"U" }, { true, 11, u"V" }, { false, 11, u"M2" }, { false, 1, u"M" } },
          u"(T* (U* (V * M2)))* M" },
        { { { true, 1, u"S" }, { true, 3, u"T" }, { true, 7, u"U" }, { false, 7, u"Mb" } }, u"S* (T* (U* Mb))" },
        { { { true, 1, u"S" }, { true, 3, u"T" }, { true, 7, u"U" }, { true, 15, u"V" }, { false, 15, u"Mb" } },
          u"S* (T* (U* (V * Mb)))" },
    };
    for (const auto& [steps, want] : cases) {
        ClearChart(chart);
        for (const Step& s : steps) {
            if (s.stallion)
                PlaceStallion(data.d, chart, s.k, dad[s.name]);
            else
                PlaceMare(data.d, chart, s.k, mam[s.name]);
        }
        const ChartCaptions c = Captions();
        if (want.empty()) {
            // A mare at 2 takes positions 5.. over from U and V: the chart is complete through her.
            EXPECT_TRUE(c.complete);
            EXPECT_EQ(c.formula, u"(T* Mb)* M");
        } else {
            EXPECT_TRUE(c.complete) << std::string(want.begin(), want.end());
            EXPECT_EQ(c.formula, want);
        }
        const Chart written = chart;
        ClearChart(chart);
        EXPECT_EQ(Read(c.formula), 1);
        for (int k = 1; k <= 31; ++k)
            EXPECT_EQ(chart.slot[k], written.slot[k])
                << "position " << k << " of " << std::string(c.formula.begin(), c.formula.end());
    }
}
