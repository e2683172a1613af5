// The conditions window's model: opening, pages and generations sharing one set of controls, changes
// ignored while the window fills its controls, choosing and checking horses, the 初期化 buttons, the
// counters and the estimate, the hidden option and the result limit text.

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/search/conditions_window.h"
#include "search_fixture.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::search;
using velmora::test::FreshLine;
using velmora::test::SearchData;

namespace {

// Three stallions (the last with no star) and four broodmares, one of each origin; names out of order.
SearchData Horses()
{
    SearchData s;
    const char* dads[] = { "Sb", "Sa", "Sc" };
    for (int i = 0; i < 3; ++i) {
        const int r = s.Dad(dads[i], FreshLine(s, std::string("d") + dads[i]), -1, i == 2 ? 0 : 3);
        DadRec& d = s.d.DadTable[static_cast<size_t>(r)];
        d.Distance1 = 1200 + 200 * i;
        d.Distance2 = 2000 + 400 * i;
        d.Dirt = i == 0 ? u"◎" : u"△";
        d.Grow = u"普通";
        d.Kisho = d.Konjo = d.Kenko = d.Jisseki = d.Antei = i == 0 ? u"A" : u"X";
        d.Selected = 0; // the window marks them afresh
    }
    const char16_t* origins[] = { u"無し", u"有り", u"自家", u"他家" };
    const char* mams[] = { "Md", "Mc", "Mb", "Ma" };
    for (int i = 0; i < 4; ++i) {
        const int r = s.Mam(mams[i], FreshLine(s, std::string("m") + mams[i]));
        MamRec& m = s.d.MamTable[static_cast<size_t>(r)];
        m.motikomi = origins[i];
        m.speed = 40 + i;
        m.stamina = 30 + i;
    }
    s.d.OyaTable[5].a = 3; // one ancestor with a cross effect for the ancestor list
    return s;
}

std::vector<std::u16string> MamNames(const ConditionsWindowModel& m, const std::vector<int32_t>& rows)
{
    std::vector<std::u16string> v;
    for (int32_t r : rows)
        v.emplace_back(m.MamName(r));
    return v;
}

} // namespace

TEST(ConditionsWindow, OpeningMarksEveryStallionAndFiltersTheBroodmares)
{
    SearchData s = Horses();
    ConditionsWindowModel m(s.d);
    EXPECT_EQ(m.CurGen(), 0);
    EXPECT_EQ(m.MaxGen(), 1);
    for (int i = 0; i < s.d.DadCount; ++i)
        EXPECT_EQ(s.d.DadTable[static_cast<size_t>(i)].Selected, 15) << i; // ★0 included
    // 自家 and 他家 are not candidates; lists in name order.
    EXPECT_EQ(MamNames(m, m.MamCandidates()), (std::vector<std::u16string> { u"Mc", u"Md" }));
    EXPECT_EQ(MamNames(m, m.MamOrder()), (std::vector<std::u16string> { u"Ma", u"Mb", u"Mc", u"Md" }));
    EXPECT_EQ(m.CounterText(0), u"2/4");
    for (int g = 1; g <= 4; ++g)
        EXPECT_EQ(m.CounterText(g), u"3/3");
    EXPECT_EQ(m.EstimateText(), u"6");
    ASSERT_EQ(m.Sosen().size(), 1u);
    EXPECT_EQ(m.Sosen()[0].mark, SosenMark::Grayed);
    EXPECT_NE(m.TakeChanges(), 0u);
    EXPECT_EQ(m.TakeChanges(), 0u);
}

TEST(ConditionsWindow, GenerationsShareTheControlsAndKeepTheirOwnRecords)
{
    SearchData s = Horses();
    ConditionsWindowModel m(s.d);
    m.SetMaxGenIndex(3);
    m.ShowPage(1);
    m.ToggleHaigoUd(5);
    m.SetHaigoCrs(5, 2);
    m.SetHaigoBox(HaigoBox::Omo, 1);
    m.SetDadNi(-1);
    m.SetMamNi(3);
    m.ToggleChildUd(2);
    m.ToggleNitroUd(NitroBound::St);
    m.SetNitro(NitroBound::Total, 9);
    EXPECT_TRUE(m.Haigo().Active);
    m.ShowPage(2);
    EXPECT_EQ(m.Haigo().Crs[5], 0);
    EXPECT_TRUE(m.Haigo().Ud[5]);
    EXPECT_FALSE(m.Haigo().Active);
    EXPECT_EQ(m.HaigoState(HaigoBox::Omo), 2);
    m.ShowPage(1);
    EXPECT_FALSE(m.Haigo().Ud[5]); // 以下 survives the switch
    EXPECT_EQ(DirectionText(m.Haigo().Ud[5]), u"以下");
    EXPECT_EQ(m.Haigo().Crs[5], 2);
    EXPECT_EQ(m.Haigo().DadNiKoka, -1);
    EXPECT_EQ(m.Haigo().MamNiKoka, 3);
    EXPECT_FALSE(m.Child().Ud[2]);
    EXPECT_FALSE(m.NitroAtLeast(NitroBound::St));
    EXPECT_EQ(m.NitroValue(NitroBound::Total), 9);

    // Generation count: tabs, the ancestor list on the last page only, the estimate over 0..MaxGen.
    EXPECT_TRUE(m.GenerationShown(4));
    m.ShowPage(4);
    EXPECT_TRUE(m.SosenShown());
    m.ShowPage(3);
    EXPECT_FALSE(m.SosenShown());
    m.SetMaxGenIndex(1);
    EXPECT_EQ(m.CurGen(), 2); // the page whose tab went away gives way to the last one shown
    EXPECT_TRUE(m.SosenShown());
    EXPECT_FALSE(m.GenerationShown(3));
    m.ShowPage(3); // hidden: nothing happens
    EXPECT_EQ(m.CurGen(), 2);
    m.ChooseDad(0); // generation 2 only
    EXPECT_EQ(m.EstimateText(), u"6"); // 2 x 3 x 1; generations 3 and 4 do not enter it
    EXPECT_EQ(s.d.DadTable[0].Selected, 15);
    EXPECT_EQ(s.d.DadTable[1].Selected, 15 & ~2);
    EXPECT_EQ(m.OnlyDad(), 0);
    EXPECT_EQ(m.Dad().Dis1, 1200);
    EXPECT_EQ(m.Dad().Dis2, 2000);
    EXPECT_FALSE(m.DadBox(DadGroup::Dirt, 3));
    EXPECT_TRUE(m.DadBox(DadGroup::Dirt, 1));
    EXPECT_FALSE(m.DadBox(DadGroup::Kisho, 2));
}

TEST(ConditionsWindow, ChoosingCheckingAndResettingCandidates)
{
    SearchData s = Horses();
    ConditionsWindowModel m(s.d);
    // One broodmare: the only candidate, her values as bounds, the estimate the stallions' product.
    m.SetMaxGenIndex(1);
    m.ChooseMam(3); // Ma, 他家
    EXPECT_EQ(m.CounterText(0), u"1/4");
    EXPECT_EQ(m.OnlyMam(), 3);
    EXPECT_EQ(m.Mam().Speed, 43);
    EXPECT_EQ(m.Mam().Stamina, 33);
    EXPECT_EQ(m.Estimate(), 9);
    m.CheckMam(0, true);
    EXPECT_EQ(m.CounterText(0), u"2/4");
    EXPECT_EQ(m.OnlyMam(), -1);
    // The broodmare filter: bounds and origins; 初期化 goes back to the initial filter.
    m.SetMamSpeed(0);
    m.SetMamStamina(0);
    EXPECT_EQ(m.CounterText(0), u"2/4"); // Md and Mc again: the filter ran
    m.SetOrigin(Origin::Jika, true);
    m.SetOrigin(Origin::Nasi, false);
    EXPECT_EQ(MamNames(m, m.MamCandidates()), (std::vector<std::u16string> { u"Mb", u"Mc" }));
    m.SetMamCrs(1, 1); // no broodmare has an ancestor with effect 1
    EXPECT_EQ(m.CounterText(0), u"0/4");
    m.ToggleMamUd(1); // at most one
    EXPECT_EQ(m.CounterText(0), u"2/4");
    m.InitMam();
    EXPECT_EQ(MamNames(m, m.MamCandidates()), (std::vector<std::u16string> { u"Mc", u"Md" }));
    EXPECT_TRUE(m.Mam().Ud[1]);

    // Stallions: the filter of the shown generation only; 初期化 applies ★1 and drops the starless one.
    m.ShowPage(1);
    m.SetDadDis1(1400); // the whole record applies: Sb is too short, Sc has no star
    EXPECT_EQ(m.CounterText(1), u"1/3");
    EXPECT_EQ(m.CounterText(2), u"3/3");
    m.SetDadBox(DadGroup::Dirt, 3, false); // Sa's △ is no longer allowed
    EXPECT_EQ(m.CounterText(1), u"0/3");
    m.InitDad();
    EXPECT_EQ(m.CounterText(1), u"2/3");
    EXPECT_EQ(s.d.DadTable[2].Selected & 1, 0);
    m.CheckDad(2, true);
    EXPECT_EQ(m.CounterText(1), u"3/3");
    EXPECT_EQ(m.DadCandidates().size(), 3u);

    // The extended selections: "..." toggles, a page switch hides them.
    m.ToggleDadList();
    EXPECT_TRUE(m.DadListShown());
    m.ShowPage(0);
    EXPECT_FALSE(m.DadListShown());

    // The ancestor marks and the result limit make the search's conditions.
    m.SetSosenMark(0, SosenMark::Unchecked);
    const SearchConditions c = m.ForSearch(u" 250 ");
    EXPECT_EQ(c.ResultLimit, 250);
    EXPECT_TRUE(c.SosenExclude);
    EXPECT_FALSE(c.SosenRequire);
    EXPECT_EQ(c.SearchCounts[0], 2);
}

TEST(ConditionsWindow, ResultLimitText)
{
    // Full-width digits are what an input method types; a text that is no number is refused.
    const std::pair<std::u16string_view, std::optional<int32_t>> cases[] = {
        { u"100", 100 },
        { u"  7 ", 7 },
        { u"-3", -3 },
        { u"１００", 100 },
        { u"　－２５　", -25 },
        { u"１2３", 123 },
        { u"", std::nullopt },
        { u"abc", std::nullopt },
        { u"12x", std::nullopt },
        { u"$10", std::nullopt },
        { u"2147483647", 2147483647 },
        { u"2147483648", std::nullopt },
        { u"-2147483648", INT32_MIN },
        { u"99999999999999999999", std::nullopt },
        { u"+5", 5 },
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseResultLimit(text), value) << ToUtf8(text);
    SearchData s = Horses();
    ConditionsWindowModel m(s.d);
    try {
        m.ForSearch(u"abc");
        ADD_FAILURE() << "a limit that is no number starts a search";
    } catch (const VelmoraError& e) {
        EXPECT_STREQ(e.what(), "検索上限数「abc」は数ではありません");
    }
}

TEST(ConditionsWindow, HiddenOptionWritesTheSettingAndShowsTheNitroBoxes)
{
    SearchData s = Horses();
    ConditionsWindowModel m(s.d);
    velmora::test::TempDir dir;
    IniFile ini(dir.File("velmora.INI"));
    EXPECT_FALSE(m.NitroSpStShown());
    m.RevealNitro(&ini);
    EXPECT_TRUE(m.NitroSpStShown());
    EXPECT_TRUE(m.TakeChanges() & ConditionsWindowModel::Nitro);
    EXPECT_EQ(IniFile(dir.File("velmora.INI")).Read(u"SECRET", u"◎○"), std::u16string(u"ON"));
    // Texts of the window that come from the data.
    EXPECT_EQ(NitroSpHint(s.d), u"E1*2+E2");
    EXPECT_EQ(NitroStHint(s.d), u"E3+E4-E1");
    EXPECT_EQ(DadGroupCaption(3), u"３代目種牡馬の条件");
    EXPECT_EQ(ChildGroupCaption(1), u"１代配合の仔馬の血統構成");
    EXPECT_EQ(LikenessItems(s.d).size(), 17u);
}
