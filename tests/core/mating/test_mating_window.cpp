// The optimal-mating window's model: what its presses and choices do to the two lists, the chosen
// horses and the point table, on a small data set whose orders are written out by hand.

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "core/data/cp932.h"
#include "core/mating/mating_window.h"
#include "tests/support/data_files.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velmora {
namespace {

using Names = std::vector<std::u16string>;
constexpr SideKind kStallion = SideKind::Stallion;
constexpr SideKind kMare = SideKind::Mare;
constexpr int kStarGroup = 1;
constexpr int kJikaGroup = 1;

// Points that make the compatibility keys easy to follow: 100 for a 内国 stallion, 50 for a 外国 one,
// 10 for a 他家 broodmare, 1000 for a pair of the same line, nothing else.
PtsRec SimpleTable(int32_t naikoku)
{
    PtsRec t;
    t.dstatus[DStatus::Naikoku] = naikoku;
    t.dstatus[DStatus::Gaikoku] = 50;
    t.mstatus[MStatus::Taka] = 10;
    t.haigo.Dokei = 1000;
    return t;
}

class MatingWindowTest : public ::testing::Test
{
protected:
    test::TempDir dir;
    test::EvalFixture e;
    MasterData& d = e.d;
    AppState app;
    std::unique_ptr<MatingWindowModel> model;

    MatingWindowTest()
    {
        app.DataDir = dir.Path();
        app.DataFiles.Aisho = std::u16string(kDefaultPointFile);
        app.IniFile = std::make_unique<IniFile>(dir.File("velmora.INI"));
        ReadBands(app); // the default bands: ★ 0-1, 2-3, 3-4, 4-5, 5-; price 131-, 108-, 86-, 0-85
        WriteTable(kDefaultPointFile, SimpleTable(100));
        d.KeiroTable = { u"鹿毛" };
        // Stallions in table order; by ★: alpha BRAVO DELTA CHARLIE.
        Stallion(u"DELTA", 3, u"内国", 2);
        Stallion(u"alpha", 5, u"外国", 1);
        Stallion(u"CHARLIE", 1, u"自家", 0);
        Stallion(u"BRAVO", 4, u"内国", 1);
        // Broodmares; by name: ECHO FOXTROT golf. Speed + stamina in price bands 3, 1, 4.
        Mare(u"ECHO", 300, 60, 40, u"他家", 1);
        Mare(u"golf", 500, 70, 70, u"自家", 2);
        Mare(u"FOXTROT", 100, 40, 40, u"他家", 0);
        model = std::make_unique<MatingWindowModel>(d, app);
        model->Open();
        model->TakeChanges();
    }

    void WriteTable(std::u16string_view file, PtsRec table)
    {
        IniFile ini(dir.File(ToUtf8(file)));
        WritePoints(ini, table);
    }

    void Stallion(std::u16string name, int fee, std::u16string birth, int keito)
    {
        DadRec& s = d.DadTable[static_cast<size_t>(d.DadCount++)];
        s.name = std::move(name);
        s.Fee = fee;
        s.birth = std::move(birth);
        s.keito = keito;
        s.Father = UnknownDadArray();
    }

    void Mare(std::u16string name, int fee, int speed, int stamina, std::u16string motikomi, int keito)
    {
        MamRec& m = d.MamTable[static_cast<size_t>(d.MamCount++)];
        m.name = std::move(name);
        m.Fee = fee;
        m.speed = speed;
        m.stamina = stamina;
        m.motikomi = std::move(motikomi);
        m.keito = keito;
        m.Father = UnknownMamArray();
    }

    // Chooses a horse by its name in the side's list.
    void Choose(SideKind k, std::u16string_view name)
    {
        const Names& names = model->Of(k).Names();
        const auto it = std::ranges::find(names, name);
        ASSERT_NE(it, names.end()) << ToUtf8(name);
        model->Choose(k, static_cast<int>(it - names.begin()));
    }

    std::vector<int32_t> Keys(SideKind k) const
    {
        std::vector<int32_t> keys;
        for (const ListRow& r : model->Of(k).Rows())
            keys.push_back(r.key);
        return keys;
    }
};

// 相性順 needs a chosen partner: the button is disabled while the partner is cleared, and the next
// rebuild of the list puts it in the order the window opens with (stallions ★順, broodmares 名前順).
TEST_F(MatingWindowTest, CompatibilityOrderFallsBackWhenThePartnerIsCleared)
{
    struct Case
    {
        SideKind side;
        std::u16string_view partner;
        Names compatOrder;
        ListSort opening;
        Names openingOrder;
    };
    const Case cases[] = {
        { kStallion,
          u"ECHO",
          { u"BRAVO", u"alpha", u"DELTA", u"CHARLIE" },
          ListSort::Fee,
          { u"alpha", u"BRAVO", u"DELTA", u"CHARLIE" } },
        { kMare, u"DELTA", { u"golf", u"ECHO", u"FOXTROT" }, ListSort::Name, { u"ECHO", u"FOXTROT", u"golf" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side == kStallion ? "stallions" : "broodmares");
        EXPECT_FALSE(model->CompatEnabled(c.side));
        Choose(PartnerOf(c.side), c.partner);
        EXPECT_TRUE(model->CompatEnabled(c.side));
        model->SetSort(c.side, ListSort::Compat);
        EXPECT_EQ(model->Of(c.side).Names(), c.compatOrder);

        model->TextChanged(PartnerOf(c.side), u"");
        EXPECT_FALSE(model->CompatEnabled(c.side));
        EXPECT_EQ(model->Of(c.side).Sort(), ListSort::Compat); // until the list is ordered again
        model->PressAll(c.side);
        EXPECT_EQ(model->Of(c.side).Sort(), c.opening);
        EXPECT_EQ(model->Of(c.side).Names(), c.openingOrder);
    }
}

// Within a group at least one filter button stays down: releasing the last one is undone and the list
// stays; the broodmares' single 自家 button has no such guard.
TEST_F(MatingWindowTest, FilterGroupKeepsOneButtonDown)
{
    const Names afterRelease[] = {
        { u"alpha", u"BRAVO", u"DELTA" }, // band 1: CHARLIE (★1)
        { u"alpha", u"BRAVO", u"DELTA" }, // band 2: nobody
        { u"alpha", u"BRAVO" }, // band 3: DELTA (★3)
        { u"alpha" }, // band 4: BRAVO (★4)
    };
    for (int b = 0; b < 4; ++b) {
        model->PressFilter(kStallion, kStarGroup, b);
        EXPECT_FALSE(model->Stallions().FilterDown(kStarGroup, b));
        EXPECT_EQ(model->Stallions().Names(), afterRelease[b]) << "band " << b + 1;
    }
    model->TakeChanges();
    model->PressFilter(kStallion, kStarGroup, 4);
    EXPECT_TRUE(model->Stallions().FilterDown(kStarGroup, 4));
    EXPECT_EQ(model->Stallions().Names(), Names { u"alpha" });
    EXPECT_EQ(model->TakeChanges(), MatingWindowModel::SideChange(kStallion, MatingWindowModel::Buttons));

    model->PressFilter(kMare, kJikaGroup, 0);
    EXPECT_FALSE(model->Mares().FilterDown(kJikaGroup, 0));
    EXPECT_EQ(model->Mares().Names(), (Names { u"ECHO", u"FOXTROT" }));

    model->PressAll(kStallion);
    EXPECT_TRUE(model->Stallions().FilterDown(kStarGroup, 0));
    EXPECT_EQ(model->Stallions().Names().size(), 4u);
}

// A reordered or rebuilt list keeps its chosen horse by name; a horse the filters leave out is cleared.
TEST_F(MatingWindowTest, ChosenHorseIsKeptByNameAcrossRefills)
{
    Choose(kMare, u"golf");
    Choose(kStallion, u"DELTA");
    EXPECT_EQ(model->Stallions().Counter(), u"3/4");
    model->SetSort(kStallion, ListSort::Name);
    EXPECT_EQ(model->Stallions().Chosen(), 3);
    EXPECT_EQ(model->Stallions().Text(), u"DELTA");
    EXPECT_EQ(model->Stallions().Counter(), u"4/4");
    EXPECT_EQ(model->DadArray(), d.DadTable[0].Father);
    EXPECT_EQ(model->Attributes(kStallion)[0].text, u"内国");
    EXPECT_TRUE(model->PairChosen());

    model->PressFilter(kStallion, kStarGroup, 2); // band 3: DELTA (★3)
    EXPECT_FALSE(model->Stallions().IsChosen());
    EXPECT_EQ(model->Stallions().Text(), u"");
    EXPECT_EQ(model->Stallions().Counter(), u"0/3");
    EXPECT_EQ(model->DadArray(), UnknownDadArray());
    EXPECT_EQ(model->Attributes(kStallion)[0].text, u"");
    EXPECT_EQ(model->PointText(), u"");
    EXPECT_FALSE(model->PairChosen());
    EXPECT_EQ(model->Mares().Text(), u"golf");
}

// With the stallions ordered by compatibility, each newly chosen broodmare orders them again; the
// keys are the pair's score plus both horses' status points.
TEST_F(MatingWindowTest, ChoosingAPartnerOrdersACompatibilityListAgain)
{
    Choose(kMare, u"ECHO"); // same line as alpha and BRAVO
    model->SetSort(kStallion, ListSort::Compat);
    EXPECT_EQ(model->Stallions().Names(), (Names { u"BRAVO", u"alpha", u"DELTA", u"CHARLIE" }));
    EXPECT_EQ(Keys(kStallion), (std::vector<int32_t> { 1110, 1060, 110, 10 }));
    Choose(kStallion, u"BRAVO");
    EXPECT_EQ(model->PointText(), u"1110");

    Choose(kMare, u"golf"); // same line as DELTA; a 自家 broodmare
    EXPECT_EQ(model->Stallions().Names(), (Names { u"DELTA", u"BRAVO", u"alpha", u"CHARLIE" }));
    EXPECT_EQ(Keys(kStallion), (std::vector<int32_t> { 1100, 100, 50, 0 }));
    EXPECT_EQ(model->Stallions().Chosen(), 1);
    EXPECT_EQ(model->PointText(), u"100");

    // The text list of the stallions has the chosen broodmare as its target; the broodmares' has none.
    const TextListSource stallions = model->TextSource(kStallion);
    EXPECT_TRUE(stallions.ready);
    EXPECT_EQ(stallions.target, 1);
    EXPECT_EQ(stallions.targetName, u"golf");
    EXPECT_FALSE(model->TextSource(kMare).ready);
}

// Another point table rebuilds both lists with every filter down under its points, and the chooser
// lists the tables with the current one selected. The editor's cancel changes nothing unless it left
// another table current.
TEST_F(MatingWindowTest, AnotherPointTableRebuildsBothListsUnderIt)
{
    WriteTable(u"相性別表.CSV", SimpleTable(300));
    model->PointEditorClosed(false, app.DataFiles.Aisho);
    EXPECT_EQ(model->TakeChanges(), 0u);
    model->PointEditorClosed(false, u"相性別表.CSV"); // the editor made the default current again
    EXPECT_EQ(model->PointTables().names, (Names { u"デフォルト", u"別表" }));
    EXPECT_EQ(model->PointTables().selected, 0);

    model->PressFilter(kStallion, kStarGroup, 0);
    model->PressFilter(kMare, kJikaGroup, 0);
    Choose(kMare, u"ECHO");
    Choose(kStallion, u"BRAVO");
    model->SetSort(kStallion, ListSort::Compat);
    EXPECT_EQ(model->PointText(), u"1110");

    model->ChoosePointTable(1);
    EXPECT_EQ(app.DataFiles.Aisho, u"相性別表.CSV");
    EXPECT_EQ(model->PointTables().selected, 1);
    EXPECT_TRUE(model->Stallions().FilterDown(kStarGroup, 0));
    EXPECT_TRUE(model->Mares().FilterDown(kJikaGroup, 0));
    EXPECT_EQ(model->Stallions().Names(), (Names { u"BRAVO", u"alpha", u"DELTA", u"CHARLIE" }));
    EXPECT_EQ(Keys(kStallion), (std::vector<int32_t> { 1310, 1060, 310, 10 }));
    EXPECT_EQ(model->Mares().Names(), (Names { u"ECHO", u"FOXTROT", u"golf" }));
    EXPECT_EQ(model->PointText(), u"1310");
}

// Enter in a name box clears the side only for a text that names no horse (names match exactly); the
// text stays in the box.
TEST_F(MatingWindowTest, EnterClearsOnlyForATextNamingNoHorse)
{
    const struct
    {
        std::u16string_view text;
        bool cleared;
    } cases[] = { { u"", false }, { u"BRAVO", false }, { u"bravo", true }, { u"NOSUCHHORSE", true } };
    for (const auto& c : cases) {
        Choose(kStallion, u"alpha");
        model->EnterText(kStallion, c.text);
        EXPECT_EQ(model->Stallions().IsChosen(), !c.cleared) << ToUtf8(c.text);
        EXPECT_EQ(model->Stallions().Text(), c.cleared ? c.text : u"alpha");
    }
}

// A right click on an ancestor label marks it and lists the partners that cross the marked ancestors;
// any other click toggles the mark; choosing the horse anew clears the marks. A label without an
// ancestor, or a side without a horse, takes no mark.
TEST_F(MatingWindowTest, AncestorMarksAndPartnerPopup)
{
    const int x = e.Horse(u"X");
    d.DadTable[3].Father[1] = x; // BRAVO's sire
    d.MamTable[0].Father[0] = x; // ECHO's sire (position 1)
    EXPECT_TRUE(model->ClickAncestor(kStallion, 1, true).empty());

    Choose(kStallion, u"BRAVO");
    EXPECT_EQ(model->ClickAncestor(kStallion, 1, true), Names { u"ECHO,2" });
    EXPECT_TRUE(model->Stallions().Marked(1));
    EXPECT_EQ(model->TakeChanges() & MatingWindowModel::Marks, MatingWindowModel::Marks);
    EXPECT_TRUE(model->ClickAncestor(kStallion, 1, false).empty());
    EXPECT_FALSE(model->Stallions().Marked(1));
    model->ClickAncestor(kStallion, 1, false);
    EXPECT_TRUE(model->Stallions().Marked(1));
    model->ClickAncestor(kStallion, 2, true);
    EXPECT_FALSE(model->Stallions().Marked(2));

    model->ChoosePartner(kStallion, u"ECHO,2");
    EXPECT_EQ(model->Mares().Text(), u"ECHO");
    EXPECT_EQ(model->MamArray(), d.MamTable[0].Father);
    Choose(kStallion, u"BRAVO");
    EXPECT_FALSE(model->Stallions().Marked(1));
}

} // namespace
} // namespace velmora
