// The results window's model: the searching and finished states as the engine reports into it, the
// bar, the result lines, 血統表示 without a selection, and the bytes of the results file.

#include "core/search/results_window.h"
#include "search_fixture.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::search;
using velmora::test::FreshHorses;
using velmora::test::OpenConditions;
using velmora::test::SearchData;

TEST(ResultsWindow, StatesFollowTheSearch)
{
    SearchData s = FreshHorses(3, 2);
    SearchConditions c = OpenConditions(s.d, 1);
    for (int limit : { 4, 100 }) {
        c.ResultLimit = limit;
        ResultsWindowModel m(PlanProgress(UpdateEstimate(c)));
        EXPECT_TRUE(m.Searching());
        EXPECT_EQ(m.Caption(), u"【Dravik】検索結果　　≪検索中≫");
        EXPECT_TRUE(m.AbortEnabled());
        EXPECT_FALSE(m.ExitEnabled());
        EXPECT_EQ(m.Range(), 6);
        EXPECT_EQ(m.View(-1).message, u"表示する血統を選択して下さい");
        SearchEngine e(s.d, c, m);
        e.Start(2);
        e.Wait();
        EXPECT_FALSE(m.Searching());
        EXPECT_EQ(m.Caption(), u"【Dravik】検索結果　　≪検索終了≫");
        EXPECT_FALSE(m.AbortEnabled());
        EXPECT_TRUE(m.ExitEnabled());
        EXPECT_EQ(m.Position(), m.Range()); // full, also when the limit stopped the search
        EXPECT_EQ(m.Lines().Size(), static_cast<size_t>(std::min(limit, 6)));
        EXPECT_TRUE(m.View(0).message.empty());
        EXPECT_EQ(m.View(0).line, m.Lines().Line(0));
        EXPECT_EQ(m.View(static_cast<int>(m.Lines().Size())).message, u"表示する血統を選択して下さい");
    }
    // The bar never passes its range; an error is handed out once.
    ResultsWindowModel m({ 2, 1 });
    for (int i = 0; i < 5; ++i)
        m.StepProgress();
    EXPECT_EQ(m.Position(), 2);
    m.SearchError("overflow");
    m.SearchError("second");
    EXPECT_EQ(m.TakeError(), std::optional<std::string>("overflow"));
    EXPECT_FALSE(m.TakeError());
}

TEST(ResultsWindow, ResultsFileBytes)
{
    velmora::test::TempDir dir;
    ResultsWindowModel m({ 1, 1 });
    m.Save(dir.File("empty.txt"));
    EXPECT_EQ(dir.ReadBytes("empty.txt"), "");
    m.AddResult(u"ﾏﾚﾛﾅﾊﾟ * ｱｲｳ");
    m.AddResult(u"");
    m.AddResult(u"繁殖 * Sa * Sb");
    ASSERT_EQ(m.Lines().Size(), 3u);
    EXPECT_EQ(m.Lines().Line(2), u"繁殖 * Sa * Sb");
    dir.WriteBytes("Results.txt", "old content that is longer than the new one");
    m.Save(dir.File("Results.txt"));
    EXPECT_EQ(dir.ReadBytes("Results.txt"),
              "\xCF\xDA\xDB\xC5\xCA\xDF * \xB1\xB2\xB3\r\n"
              "\r\n"
              "\x94\xC9\x90\x42 * Sa * Sb\r\n");
}
