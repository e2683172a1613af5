#include "core/common/errors.h"
#include "core/data/master_data.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

std::unique_ptr<MasterData> Tables()
{
    auto d = std::make_unique<MasterData>();
    const char16_t* oya[] = { u"ｱ", u"ｲ", u"ｳ", u"ｲ" };
    for (const auto* n : oya)
        d->OyaTable[d->OyaCount++].name = n;
    d->OyaTable[d->OyaCount].name = u"ｴ"; // beyond the count: not found
    const char16_t* dad[] = { u"ｶ", u"ｷ", u"ｶ" };
    for (const auto* n : dad)
        d->DadTable[d->DadCount++].name = n;
    const char16_t* mam[] = { u"ｻ", u"ｻ" };
    for (const auto* n : mam)
        d->MamTable[d->MamCount++].name = n;
    d->KeitoTable[1] = { u"ﾉｰｻﾞﾝ", u"", 3 };
    d->KeitoTable[2] = { u"ﾌﾞﾗｲﾄ", u"", 0 };
    d->KeitoTable[3] = { u"ﾉｰｻﾞﾝ", u"", 5 };
    d->KeitoCount = 4;
    d->KeitoTable[4].name = u"ｿﾄ"; // beyond the count
    d->OmokeiTable[0].name = u"未登録";
    for (int i = 1; i <= 16; ++i)
        d->OmokeiTable[i].name = u"G" + std::u16string(1, static_cast<char16_t>(u'A' + i - 1));
    return d;
}

TEST(Lookups, ExactNameLowestIndexOrMinusOne)
{
    const auto d = Tables();
    struct Case
    {
        const char* what;
        int got;
        int want;
    };
    const Case cases[] = {
        { "FindOya first", FindOya(*d, u"ｱ"), 0 },
        { "FindOya duplicate gives lower index", FindOya(*d, u"ｲ"), 1 },
        { "FindOya beyond count", FindOya(*d, u"ｴ"), -1 },
        { "FindOya is width-sensitive", FindOya(*d, u"ア"), -1 },
        { "FindOya whole string", FindOya(*d, u"ｱｲ"), -1 },
        { "FindOya empty", FindOya(*d, u""), -1 },
        { "FindDad duplicate", FindDad(*d, u"ｶ"), 0 },
        { "FindDad second", FindDad(*d, u"ｷ"), 1 },
        { "FindMam duplicate", FindMam(*d, u"ｻ"), 0 },
        { "FindMam absent", FindMam(*d, u"ｼ"), -1 },
        { "FindKeito sentinel", FindKeito(*d, u"未登録"), 0 },
        { "FindKeito duplicate", FindKeito(*d, u"ﾉｰｻﾞﾝ"), 1 },
        { "FindKeito beyond count", FindKeito(*d, u"ｿﾄ"), -1 },
        { "FindOmokei sentinel", FindOmokei(*d, u"未登録"), 0 },
        { "FindOmokei row 16", FindOmokei(*d, u"GP"), 16 },
        { "FindOmokei absent", FindOmokei(*d, u"GQ"), -1 },
        { "FindListName position", FindListName({ u"栗毛", u"鹿毛", u"鹿毛" }, u"鹿毛"), 1 },
        { "FindListName absent", FindListName({ u"栗毛" }, u"芦毛"), -1 },
        { "FindListName empty list", FindListName({}, u""), -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(Lookups, AddOyaAppendsOnceWithTheLinesGroup)
{
    auto d = Tables();
    EXPECT_EQ(AddOya(*d, u"ｲ", 1, 2, 3), -1);
    EXPECT_EQ(d->OyaCount, 4);
    d->OyaTable[4].shitei = 9;
    EXPECT_EQ(AddOya(*d, u"ﾆｭｰ", 3, 2, 1), 4);
    EXPECT_EQ(d->OyaCount, 5);
    const OyaRec& r = d->OyaTable[4];
    EXPECT_EQ(r.name, u"ﾆｭｰ");
    EXPECT_EQ(r.keito, 3);
    EXPECT_EQ(r.omokei, 5); // the group of line 3
    EXPECT_EQ(r.a, 2);
    EXPECT_EQ(r.b, 1);
    EXPECT_EQ(r.shitei, 0);
    EXPECT_EQ(FindOya(*d, u"ﾆｭｰ"), 4);
    EXPECT_EQ(AddOya(*d, u"ﾆｭｰ", 0, 0, 0), -1);
}

TEST(Lookups, AddOyaStopsAtTheTableBounds)
{
    auto d = Tables();
    EXPECT_THROW(AddOya(*d, u"ﾜﾙｲ", kKeitoRows, 0, 0), RangeError);
    EXPECT_THROW(AddOya(*d, u"ﾜﾙｲ", -1, 0, 0), RangeError);
    EXPECT_EQ(d->OyaCount, 4);
    d->OyaCount = kOyaRows;
    EXPECT_THROW(AddOya(*d, u"ﾏﾝｲﾝ", 0, 0, 0), RangeError);
    EXPECT_EQ(d->OyaCount, kOyaRows);
}

TEST(MasterData, StartsEmptyWithFixedCapacities)
{
    const MasterData d;
    EXPECT_EQ(d.OyaTable.size(), 3001u);
    EXPECT_EQ(d.DadTable.size(), 513u);
    EXPECT_EQ(d.MamTable.size(), 701u);
    EXPECT_EQ(d.KeitoTable.size(), 97u);
    EXPECT_EQ(d.CrossTable.size(), 17u);
    EXPECT_EQ(d.OmokeiTable.size(), 17u);
    EXPECT_EQ(d.NixList.size(), 4097u);
    EXPECT_EQ(d.OyaCount + d.DadCount + d.MamCount + d.NixCount, 0);
    EXPECT_EQ(d.KeitoCount, 1);
    EXPECT_EQ(FindKeito(d, u"未登録"), 0);
    EXPECT_TRUE(d.KeiroTable.empty());
}

} // namespace
} // namespace velmora
