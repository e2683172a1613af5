// The chain reading of pedigree formulas: character classes, trims, splitting, resolution, orientation,
// the 32-entry limit, one-entry completion, unknown names and aliases.

#include "core/pedigree/formula.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmora;
using velmora::test::PedigreeData;
using velmora::test::U;

namespace {

class ChainReadingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        A = data.Stallion(u"A");
        C = data.Stallion(u"C");
        S = data.Stallion(u"S");
        T = data.Stallion(u"T");
        K = data.Stallion(u"ABC.D");
        Derby = data.Stallion(u"ﾀﾞｰﾋﾞｰ");
        B = data.Mare(u"B");
        M = data.Mare(u"M");
    }

    ChainReading Read(std::u16string_view text) { return ReadChain(data.d, aliasFn, text, carry); }

    // "name/sex" per entry, sex s = stallion or unknown, m = mare, with the index when registered.
    std::vector<std::u16string> Shape(const ChainReading& r) const
    {
        std::vector<std::u16string> out;
        for (const ParentRec& e : r.entries)
            out.push_back(e.Name + (e.Sex ? u"/s" : u"/m") + (e.Num >= 0 ? U(std::to_string(e.Num)) : u"?"));
        return out;
    }
    std::u16string St(std::u16string n, int i) const { return n + u"/s" + U(std::to_string(i)); }
    std::u16string Ma(std::u16string n, int i) const { return n + u"/m" + U(std::to_string(i)); }
    std::u16string Unk(std::u16string n) const { return n + u"/s?"; }

    PedigreeData data;
    std::map<std::u16string, std::u16string> aliases;
    AliasLookup aliasFn = [this](std::u16string_view n) {
        const auto it = aliases.find(std::u16string(n));
        return it == aliases.end() ? std::u16string() : it->second;
    };
    ChainCarry carry;
    int A, C, S, T, K, Derby, B, M;
};

const std::vector<std::u16string> kNoMessages;
const std::vector<std::u16string> kNoMare = { std::u16string(kMsgNoMare) };

} // namespace

TEST(CharClass, Boundaries)
{
    struct Case
    {
        char16_t c;
        CharClass want;
    };
    const Case cases[] = {
        { u'*', CharClass::Separator },  { u'!', CharClass::Separator },      { u'&', CharClass::Separator },
        { u'\'', CharClass::Name },      { u'(', CharClass::Separator },      { u')', CharClass::Separator },
        { u'+', CharClass::Separator },  { u',', CharClass::Separator },      { u'-', CharClass::Separator },
        { u'.', CharClass::Name },       { u'/', CharClass::Separator },      { u'0', CharClass::Name },
        { u'9', CharClass::Name },       { u':', CharClass::Separator },      { u'@', CharClass::Separator },
        { u'A', CharClass::Name },       { u'Z', CharClass::Name },           { u'[', CharClass::Name },
        { u'`', CharClass::Name },       { u'a', CharClass::Name },           { u'{', CharClass::Separator },
        { u'~', CharClass::Separator },  { u'\x7F', CharClass::Name },        { u' ', CharClass::Blank },
        { u'\uF8F0', CharClass::Blank }, { u'\t', CharClass::Name },          { u'\0', CharClass::Name },
        { u'\uFF60', CharClass::Name },  { u'\uFF61', CharClass::Separator }, { u'\uFF64', CharClass::Separator },
        { u'\uFF65', CharClass::Name },  { u'ｱ', CharClass::Name },           { u'＊', CharClass::Name },
        { u'\u3000', CharClass::Name },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassOf(c.c), c.want) << "U+" << std::hex << static_cast<int>(c.c);
}

TEST(Trim, BlankAndSeparatorTrims)
{
    struct Case
    {
        std::u16string in;
        std::u16string blank;
        std::u16string sep;
    };
    const Case cases[] = {
        { u"", u"", u"" },
        { u"  A B  ", u"A B", u"A B" },
        { u"\t\r\nA\x01", u"A", u"\t\r\nA\x01" }, // control characters are name characters
        { u"* -A*B, ", u"* -A*B,", u"A*B" },
        { u"\uF8F0A\uF8F0", u"\uF8F0A\uF8F0", u"A" },
        { u"*** ", u"***", u"" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlankTrim(c.in), c.blank);
        EXPECT_EQ(SeparatorTrim(c.in), c.sep);
    }
}

TEST_F(ChainReadingTest, OrientationExamples)
{
    struct Case
    {
        std::u16string formula;
        std::vector<std::u16string> want;
        std::vector<std::u16string> messages;
    };
    const std::vector<Case> cases = {
        { u"A * B", { St(u"A", A), Ma(u"B", B) }, kNoMessages },
        { u"M * A * C", { St(u"C", C), St(u"A", A), Ma(u"M", M) }, kNoMessages }, // mare first: reversed
        { u"A * M * C", { St(u"C", C), St(u"A", A), Ma(u"M", M) }, kNoMessages }, // mare second: swap, reverse
        { u"A * C * M", { St(u"A", A), St(u"C", C), Ma(u"M", M) }, kNoMessages }, // mare later: kept
        { u"A * C * S", { St(u"A", A), St(u"C", C), St(u"S", S) }, kNoMare }, // no mare: kept
        { u"A", { St(u"A", A), Unk(u"???") }, kNoMare }, // single stallion
        { u"M", { Unk(u"???"), Ma(u"M", M) }, kNoMessages }, // single mare
        { u"Nobody", { Unk(u"Nobody"), Unk(u"???") }, kNoMare }, // single unknown
        { u"", {}, kNoMare }, // empty formula
        { u" * ,, ", {}, kNoMare },
        { u"X * Y", { Unk(u"X"), Unk(u"Y") }, kNoMare },
        { u"A - B", { St(u"A", A), Ma(u"B", B) }, kNoMessages }, // hyphen separates
        { u"ABC.D", { St(u"ABC.D", K), Unk(u"???") }, kNoMare }, // full stop does not
        { u"Ａ＊Ｂ", { St(u"A", A), Ma(u"B", B) }, kNoMessages },
        { u"A×B", { St(u"A", A), Ma(u"B", B) }, kNoMessages },
        { u"(A * C) * S", { St(u"A", A), St(u"C", C), St(u"S", S) }, kNoMare }, // brackets only separate
        { u"ダービー＊Ｍ", { St(u"ﾀﾞｰﾋﾞｰ", Derby), Ma(u"M", M) }, kNoMessages },
        { u"  A  *  *  M  ", { St(u"A", A), Ma(u"M", M) }, kNoMessages },
        // A control character is a name character that the blank trim then removes: an empty name.
        { u"A *\t* M", { St(u"A", A), Unk(u""), Ma(u"M", M) }, kNoMessages },
        { u"A B * M", { Unk(u"A B"), Ma(u"M", M) }, kNoMessages }, // inner spaces belong to the name
    };
    for (const Case& c : cases) {
        const ChainReading r = Read(c.formula);
        EXPECT_EQ(Shape(r), c.want) << std::string(c.formula.begin(), c.formula.end());
        EXPECT_EQ(r.messages, c.messages) << std::string(c.formula.begin(), c.formula.end());
    }
}

TEST_F(ChainReadingTest, NormalisedTextIsReturnedForTheBox)
{
    EXPECT_EQ(Read(u"Ａ＊ダービー").normalized, u"A*ﾀﾞｰﾋﾞｰ");
    EXPECT_EQ(Read(u"  A * B  ").normalized, u"  A * B  "); // only folded, not trimmed
}

TEST_F(ChainReadingTest, CurrentMareAndAliasCandidateAreOnlyOverwritten)
{
    carry.currentMare = 99;
    carry.aliasCandidate = u"old";
    Read(u"A * C");
    EXPECT_EQ(carry.currentMare, 99);
    EXPECT_EQ(carry.aliasCandidate, u"old");
    Read(u"A * B");
    EXPECT_EQ(carry.currentMare, B);
    Read(u"M * B"); // the last mare read wins, whatever the orientation
    EXPECT_EQ(carry.currentMare, B);
    EXPECT_EQ(carry.aliasCandidate, u"old");
}

TEST_F(ChainReadingTest, UnknownNamesAreSelectedInChainOrder)
{
    // Chain order after orientation is Bar, Foo, M: the last unknown in that order is Foo.
    const ChainReading r = Read(u"M * Foo * Bar");
    ASSERT_TRUE(r.selection.has_value());
    EXPECT_EQ(*r.selection, (TextRange { 4, 3 }));
    EXPECT_EQ(carry.aliasCandidate, u"Foo");

    const ChainReading r2 = Read(u"Qx * A * Zed");
    ASSERT_TRUE(r2.selection.has_value());
    EXPECT_EQ(*r2.selection, (TextRange { 9, 3 }));
    EXPECT_EQ(carry.aliasCandidate, u"Zed");

    // "???" is never a candidate; a chain without unknown names selects nothing.
    carry.aliasCandidate = u"keep";
    EXPECT_FALSE(Read(u"A").selection.has_value());
    EXPECT_EQ(carry.aliasCandidate, u"keep");

    // A name is selected where it stands as a whole name, not inside a longer one.
    const ChainReading r3 = Read(u"ＺＺ * Z * M");
    ASSERT_TRUE(r3.selection.has_value());
    EXPECT_EQ(*r3.selection, (TextRange { 5, 1 }));
}

TEST(FindWholeName, PrefersTheOccurrenceThatStandsAlone)
{
    struct Case
    {
        std::u16string text, name;
        bool tree;
        size_t want;
    };
    const size_t npos = std::u16string::npos;
    const Case cases[] = {
        { u"AB * A", u"A", false, 5 },          { u"AB * A", u"A", true, 5 },
        { u"A B * B", u"B", false, 6 }, // "B" inside the name "A B" is not whole
        { u"A-B * B", u"B", false, 2 }, // in the chain reading "-" separates
        { u"A-B * B", u"B", true, 6 }, // in the tree reading it does not
        { u"(A) * (  A  )", u"A", true, 1 },    { u"XAX", u"A", false, 1 }, // no whole occurrence: the first one
        { u"XYZ", u"A", false, npos },          { u"abc", u"", false, 0 },
        { u"\uF8F0A\uF8F0*A", u"A", false, 1 }, // the code-page blank counts as blank
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWholeName(c.text, c.name, c.tree), c.want) << std::string(c.text.begin(), c.text.end());
}

TEST_F(ChainReadingTest, ThirtyTwoEntriesAtMost)
{
    std::u16string f33, f32;
    for (int i = 1; i <= 33; ++i) {
        const std::u16string n = u"n" + U(std::to_string(i));
        f33 += (i > 1 ? u" * " : u"") + n;
        if (i <= 32)
            f32 += (i > 1 ? u" * " : u"") + n;
    }
    const ChainReading r = Read(f33);
    ASSERT_EQ(r.entries.size(), 32u);
    EXPECT_EQ(r.entries.back().Name, u"n32");
    EXPECT_EQ(r.messages, (std::vector<std::u16string> { std::u16string(kMsgChainLimit), std::u16string(kMsgNoMare) }));
    // The message comes as soon as the 32nd name is taken, also with nothing after it.
    const ChainReading r32 = Read(f32);
    EXPECT_EQ(r32.entries.size(), 32u);
    EXPECT_EQ(r32.messages.front(), kMsgChainLimit);
    // 31 names: no limit message.
    const ChainReading r31 = Read(f32.substr(0, f32.rfind(u" * ")));
    EXPECT_EQ(r31.entries.size(), 31u);
    EXPECT_EQ(r31.messages, kNoMare);
}

TEST_F(ChainReadingTest, OnlyTheFirst255CharactersAfterASeparatorAreRead)
{
    const std::u16string longName(300, u'x');
    const ChainReading r = Read(u"A*" + longName);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[1].Name, std::u16string(255, u'x'));
    // Names beyond the window are dropped altogether.
    const ChainReading r2 = Read(u"A*" + std::u16string(254, u'y') + u"*M");
    ASSERT_EQ(r2.entries.size(), 2u);
    EXPECT_EQ(r2.entries[1].Name, std::u16string(254, u'y'));
}

TEST_F(ChainReadingTest, AliasesOnlyForUnregisteredNames)
{
    aliases[u"S"] = u"T"; // S is registered: the alias is not consulted
    aliases[u"Big"] = u"C"; // an alias for a stallion
    aliases[u"Mum"] = u"M"; // an alias for a mare
    aliases[u"Lost"] = u"Q"; // an alias whose target is not registered
    const ChainReading r = Read(u"S * Big * Lost * Mum");
    EXPECT_EQ(Shape(r), (std::vector<std::u16string> { St(u"S", S), St(u"C", C), Unk(u"Lost"), Ma(u"M", M) }));
    EXPECT_EQ(carry.currentMare, M);
    EXPECT_EQ(carry.aliasCandidate, u"Lost");
    // Without a lookup nothing is redirected.
    ChainCarry c2;
    const ChainReading r2 = ReadChain(data.d, AliasLookup(), u"Big * M", c2);
    EXPECT_EQ(Shape(r2), (std::vector<std::u16string> { Unk(u"Big"), Ma(u"M", M) }));
}

TEST_F(ChainReadingTest, RegisteredNamesAreShownAsStored)
{
    // Lookups are exact: "a" is not "A".
    const ChainReading r = Read(u"a * B");
    EXPECT_EQ(Shape(r), (std::vector<std::u16string> { Unk(u"a"), Ma(u"B", B) }));
}
