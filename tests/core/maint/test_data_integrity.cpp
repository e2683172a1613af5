// What a press may never do to the data: rewrite rows it did not touch, drop names it cannot resolve,
// leave a new sire line out of its file, store values the user did not see, replace a horse the user did
// not open, or change the form when it fails.

#include "core/mating/foal_registration.h"
#include "editor_fixture.h"

using namespace velmora;
using velmora::test::EditorTest;

namespace {

const auto kYes = [](std::u16string_view) { return true; };

std::u16string LineOf(const std::string& bytes, size_t index)
{
    const std::u16string text = FromCp932(bytes);
    size_t start = 0;
    for (size_t i = 0; i < index; ++i)
        start = text.find(u"\r\n", start) + 2;
    return text.substr(start, text.find(u"\r\n", start) - start);
}

} // namespace

TEST_F(EditorTest, RowsNobodyChangedAndNamesNoAncestorHoldsSurviveEveryWrite)
{
    // A broodmare typed by hand: quotes, a price in hexadecimal, an ancestor no ancestor row holds and a
    // field the program does not read.
    test::DataSetText data = test::EditorDataSet();
    data.mam[0] = u"\"ﾋﾒ\",自家,ﾉｰｻﾞﾝ,鹿毛,$1388,7,4,ｶｯﾊﾟ,ｱﾙﾌｧ,ﾌｾﾑ,ﾍﾞｰﾀ,ﾃﾞﾙﾀ,ｲﾌﾟｼﾛﾝ,ｾﾞｰﾀ,,,,,,,,,ﾒﾓ";
    data.oya[3] = u"ﾃﾞﾙﾀ, 2,3,2";
    Load(data);
    const std::u16string hime = LineOf(dir.ReadBytes("牝馬.CSV"), 0);
    const std::u16string delta = LineOf(dir.ReadBytes("祖先馬.CSV"), 3);

    ed->SetOyaName(u"ｶﾞﾝﾏ"); // in the pedigrees of ﾊﾅ and others, which keep the name
    ASSERT_EQ(ed->Delete(EditPage::Oya, kYes).message, u"ｶﾞﾝﾏを削除しました");
    ed->SetHorseName(false, u"ﾆｭｰ");
    EXPECT_EQ(ed->Register(EditPage::Mam).message, u"ﾆｭｰを登録しました");
    Reload();
    EXPECT_EQ(LineOf(dir.ReadBytes("牝馬.CSV"), 0), hime);
    EXPECT_EQ(LineOf(dir.ReadBytes("祖先馬.CSV"), 2), delta); // moved up with the rows behind ｶﾞﾝﾏ
    ed->SetHorseName(false, u"ﾋﾒ");
    EXPECT_EQ(ed->Horse(false).sosen[3], u"ﾌｾﾑ");
    ed->SetHorseName(false, u"ﾊﾅ");
    EXPECT_EQ(ed->Horse(false).sosen[2], u"ｶﾞﾝﾏ");
}

TEST_F(EditorTest, ALineOrColourEnteredOnAHorsePageIsWrittenWithTheHorse)
{
    for (const char16_t* name : { u"ｴｰ", u"ﾋﾞｰ" }) {
        ed->SetHorseName(true, name);
        ed->Horse(true).keito = std::u16string(name) + u"系";
        ed->Horse(true).keiro = u"月毛";
        EXPECT_EQ(ed->Register(EditPage::Dad).message, std::u16string(name) + u"を登録しました");
    }
    ed->SetHorseName(true, u"ｴｰ");
    ed->Horse(true).keito = u"ﾉｰｻﾞﾝ";
    ed->Register(EditPage::Dad);
    Reload();
    const auto stored = [&](const char16_t* horse) {
        const int o = FindOya(*d, horse);
        return d->KeitoTable[StoredOyaLine(d->Sources.oya, static_cast<size_t>(o))].name;
    };
    EXPECT_EQ(stored(u"ｴｰ"), u"ｴｰ系");
    EXPECT_EQ(stored(u"ﾋﾞｰ"), u"ﾋﾞｰ系");
    // The sire-line file holds every line in memory, in order: ｷﾝｸﾞ came from ﾐｭｰ's row in the stallion file.
    const auto lines = FileLines("系統.CSV");
    EXPECT_EQ(std::vector(lines.end() - 3, lines.end()),
              (std::vector<std::u16string> { u"ｷﾝｸﾞ,0", u"ｴｰ系,0", u"ﾋﾞｰ系,0" }));
    EXPECT_EQ(FileLines("毛色.CSV").back(), u"月毛");
}

TEST_F(EditorTest, BoxesLeftAsTheyOpenStoreNoneAndATypedNameShowsItsRow)
{
    // Twelve cross effects and twelve interesting lines: the rows past them have empty names, which an
    // untouched (empty) box must not select.
    test::DataSetText data = test::EditorDataSet();
    while (data.cross.size() < 12)
        data.cross.push_back(u"ｸﾛｽ" + FromUtf8(std::to_string(data.cross.size() + 1)) + u",$000000");
    data.omokei.resize(12);
    Load(data);
    ed->EnterPage(EditPage::Oya);
    ed->SetOyaName(u"ｼﾝｿｾﾝ");
    EXPECT_EQ(ed->Register(EditPage::Oya).message, u"ｼﾝｿｾﾝを登録しました");
    EXPECT_EQ(FileLines("祖先馬.CSV").back(), u"ｼﾝｿｾﾝ,0,0,0");
    ed->Oya().koka1 = u"";
    ed->Oya().kei = u"";
    ed->Register(EditPage::Oya);
    EXPECT_EQ(FileLines("祖先馬.CSV").back(), u"ｼﾝｿｾﾝ,0,0,0");
    ed->SetKeitoName(u"ｼﾝｹｲ");
    EXPECT_EQ(ed->Register(EditPage::Keito).message, u"ｼﾝｹｲ系を追加しました");
    EXPECT_EQ(FileLines("系統.CSV").back(), u"ｼﾝｹｲ,0");

    // Typing a registered ancestor's name shows its effects and line; "登録" then changes nothing.
    const auto files = Files();
    ed->SetOyaName(u"ﾃﾞﾙ");
    ed->SetOyaName(u"ﾃﾞﾙﾀ");
    EXPECT_EQ(ed->Oya().koka1 + ed->Oya().koka2 + ed->Oya().kei, u"速力　　底力↑　ﾌﾞﾗｲﾄ");
    EXPECT_EQ(ed->Register(EditPage::Oya).message, u"ﾃﾞﾙﾀを更新しました");
    EXPECT_EQ(Changed(files), std::vector<std::string> {});
}

TEST_F(EditorTest, ARegisteredHorseIsReplacedOnlyWhenThePageShowedItOrTheUserSaysSo)
{
    // A foal named like a registered horse is offered another name; the page keeps nothing of the horse
    // it showed before.
    ed->SetHorseName(false, u"ﾊﾅ");
    ed->SetHorseName(false, u"ﾋﾒｯｺ");
    ASSERT_EQ(ed->Register(EditPage::Mam).message, u"ﾋﾒｯｺを登録しました");
    const FoalPlan plan = PlanFoal(*d, u"ｴｽ", u"ﾋﾒ", { u"ｴｽ" }, { u"ﾋﾒ" }, false);
    EXPECT_EQ(plan.entry.name, u"ﾋﾒｯｺ2");
    EXPECT_EQ(plan.notice, u"ﾋﾒｯｺは既に登録されている名前なので、ﾋﾒｯｺ2として入力します。名前は登録前に変えられます");
    ed->SetHorseName(false, u"ﾊﾅ");
    PrefillFoal(*ed, plan.entry);
    EXPECT_EQ(ed->Horse(false).keiro + ed->Horse(false).speed, u"0");

    // A name set without choosing the horse: "登録" asks, and No (or nobody to ask) keeps the horse.
    ed->Horse(false).name = u"ﾊﾅ";
    const auto files = Files();
    std::u16string asked;
    const PressResult no = ed->Register(EditPage::Mam, [&](std::u16string_view q) {
        asked = q;
        return false;
    });
    EXPECT_EQ(asked, u"ﾊﾅは登録済みの馬です。\r\n入力した内容で上書きしますか？");
    EXPECT_FALSE(no.done);
    EXPECT_FALSE(ed->Register(EditPage::Mam).done);
    EXPECT_EQ(Changed(files), std::vector<std::string> {});
    EXPECT_EQ(ed->Register(EditPage::Mam, kYes).message, u"ﾊﾅを更新しました");
}

TEST_F(EditorTest, AFailedPressLeavesTheFormAndTheFilesAndRefusalsSayWhy)
{
    struct Case
    {
        const char* what;
        const char16_t* fee;
        std::u16string_view message; // empty: stored
        int32_t stored;
    };
    const Case cases[] = {
        { "full-width digits", u"１２", u"", 12 },
        { "too large", u"99999999999", u"基本料の値「99999999999」は大きすぎます", 0 },
        { "no number", u"abc", u"", 0 },
    };
    for (const Case& c : cases) {
        ed->SetHorseName(false, u"ﾆｭｰ");
        HorseForm& f = ed->Horse(false);
        f.keito.clear();
        f.fee = c.fee;
        const auto files = Files();
        const PressResult r = ed->Register(EditPage::Mam);
        if (c.message.empty()) {
            EXPECT_TRUE(r.done) << c.what;
            EXPECT_EQ(d->MamTable[FindMam(*d, u"ﾆｭｰ")].Fee, c.stored) << c.what;
        } else {
            EXPECT_EQ(r.message, c.message) << c.what;
            EXPECT_EQ(f.keito, u"") << c.what << ": the line box stays as it was";
            EXPECT_EQ(Changed(files), std::vector<std::string> {}) << c.what;
        }
    }

    // After a deletion the ancestor page's boxes go back to their first items.
    ed->SetOyaName(u"ﾃﾞﾙﾀ");
    ed->Delete(EditPage::Oya, kYes);
    EXPECT_EQ(ed->Oya().name + ed->Oya().koka1 + ed->Oya().koka2 + ed->Oya().kei, u"　　　　　　　　未登録");
}
