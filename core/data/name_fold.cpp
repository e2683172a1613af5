#include "core/data/name_fold.h"

#include <array>
#include <cstdint>

namespace velmora {

namespace {

// The folding pairs, in the order the folding applies them. Each source is one code unit; each target
// one or two code units.
struct FoldPair
{
    char16_t from;
    char16_t to1;
    char16_t to2; // 0 when the target is a single code unit
};

constexpr std::u16string_view kSymbolFrom = u"　＊ー－’＿．（）×";
constexpr std::u16string_view kSymbolTo = u" *ｰ-'_.()*";
// Plain katakana in gojūon order; the hiragana "へ" follows "ヘ" and folds to the same letter.
constexpr std::u16string_view kKanaFull
    = u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘへホマミムメモヤユヨラリルレロワヲン"
      u"ァィゥェォャュョッ";
constexpr std::u16string_view kKanaHalf = u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ"
                                          u"ｧｨｩｪｫｬｭｮｯ";
constexpr std::u16string_view kVoicedFull = u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ";
constexpr std::u16string_view kVoicedBase = u"ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ";
constexpr std::u16string_view kSemiFull = u"パピプペポ";
constexpr std::u16string_view kSemiBase = u"ﾊﾋﾌﾍﾎ";
constexpr char16_t kVoicedMark = u'ﾞ';
constexpr char16_t kSemiMark = u'ﾟ';

static_assert(kSymbolFrom.size() == kSymbolTo.size());
static_assert(kKanaFull.size() == kKanaHalf.size());
static_assert(kVoicedFull.size() == kVoicedBase.size());
static_assert(kSemiFull.size() == kSemiBase.size());

// One entry of a folding page: up to two code units; len 0 = keep the character.
struct Out
{
    char16_t c[2];
    uint8_t len;
};

// The folding touches only code units in the pages 0x30xx and 0xFFxx and two single characters
// ("×" and "’"); each of the two pages gets a 256-entry table.
struct HalfTables
{
    std::array<Out, 256> page30 {};
    std::array<Out, 256> pageFF {};
    Out times {}; // U+00D7
    Out apostrophe {}; // U+2019

    Out* Slot(char16_t c)
    {
        if ((c >> 8) == 0x30)
            return &page30[c & 0xFF];
        if ((c >> 8) == 0xFF)
            return &pageFF[c & 0xFF];
        if (c == u'×')
            return &times;
        if (c == u'’')
            return &apostrophe;
        return nullptr;
    }

    // The first pair for a character wins: a later pair can never see it again, as it is gone.
    void Add(char16_t from, char16_t to1, char16_t to2)
    {
        Out* o = Slot(from);
        if (o != nullptr && o->len == 0)
            *o = Out { { to1, to2 }, static_cast<uint8_t>(to2 != 0 ? 2 : 1) };
    }

    HalfTables()
    {
        for (size_t i = 0; i < kSymbolFrom.size(); ++i)
            Add(kSymbolFrom[i], kSymbolTo[i], 0);
        for (size_t i = 0; i < kKanaFull.size(); ++i)
            Add(kKanaFull[i], kKanaHalf[i], 0);
        for (size_t i = 0; i < kVoicedFull.size(); ++i)
            Add(kVoicedFull[i], kVoicedBase[i], kVoicedMark);
        for (size_t i = 0; i < kSemiFull.size(); ++i)
            Add(kSemiFull[i], kSemiBase[i], kSemiMark);
        Add(u'ヴ', u'ｳ', kVoicedMark);
        Add(u'゛', kVoicedMark, 0);
        Add(u'゜', kSemiMark, 0);
        for (char16_t i = 0; i < 26; ++i) {
            Add(static_cast<char16_t>(u'Ａ' + i), static_cast<char16_t>(u'A' + i), 0);
            Add(static_cast<char16_t>(u'ａ' + i), static_cast<char16_t>(u'a' + i), 0);
        }
    }
};

const HalfTables& Half()
{
    static const HalfTables tables;
    return tables;
}

// The reverse direction, indexed by the low byte of a half-width code unit U+FF61..U+FF9F.
struct FullTables
{
    std::array<char16_t, 256> plain {}; // half-width letter -> full-width letter
    std::array<char16_t, 256> voiced {}; // half-width letter + "ﾞ" -> voiced letter
    std::array<char16_t, 256> semi {}; // half-width letter + "ﾟ" -> semi-voiced letter

    FullTables()
    {
        // Reverse of the plain letters; "ﾍ" goes back to the katakana "ヘ", which comes first.
        for (size_t i = 0; i < kKanaHalf.size(); ++i)
            if (plain[kKanaHalf[i] & 0xFF] == 0)
                plain[kKanaHalf[i] & 0xFF] = kKanaFull[i];
        for (size_t i = 0; i < kVoicedBase.size(); ++i)
            voiced[kVoicedBase[i] & 0xFF] = kVoicedFull[i];
        voiced[u'ｳ' & 0xFF] = u'ヴ';
        for (size_t i = 0; i < kSemiBase.size(); ++i)
            semi[kSemiBase[i] & 0xFF] = kSemiFull[i];
        plain[u'ｰ' & 0xFF] = u'ー';
        plain[kVoicedMark & 0xFF] = u'゛';
        plain[kSemiMark & 0xFF] = u'゜';
    }
};

const FullTables& Full()
{
    static const FullTables tables;
    return tables;
}

} // namespace

std::u16string ReplaceChar(std::u16string_view text, char16_t c, std::u16string_view s)
{
    // Replacing the first occurrence and searching again from the front gives the same text as one
    // left-to-right pass whenever s lacks c; the pass also ends when s contains c.
    std::u16string out;
    out.reserve(text.size());
    for (char16_t ch : text) {
        if (ch == c)
            out.append(s);
        else
            out.push_back(ch);
    }
    return out;
}

void ToHalfWidthInto(std::u16string_view text, std::u16string& out)
{
    const HalfTables& t = Half();
    out.clear();
    out.reserve(text.size() + text.size() / 4);
    for (char16_t ch : text) {
        const Out* o = nullptr;
        if (ch >= 0x80) {
            const unsigned page = ch >> 8;
            if (page == 0x30)
                o = &t.page30[ch & 0xFF];
            else if (page == 0xFF)
                o = &t.pageFF[ch & 0xFF];
            else if (ch == u'×')
                o = &t.times;
            else if (ch == u'’')
                o = &t.apostrophe;
        }
        if (o == nullptr || o->len == 0) {
            out.push_back(ch);
        } else {
            out.push_back(o->c[0]);
            if (o->len == 2)
                out.push_back(o->c[1]);
        }
    }
}

std::u16string ToHalfWidth(std::u16string_view text)
{
    std::u16string out;
    ToHalfWidthInto(text, out);
    return out;
}

std::u16string ToFullWidth(std::u16string_view text)
{
    const FullTables& t = Full();
    auto isHalfKana = [](char16_t ch) { return ch >= 0xFF61 && ch <= 0xFF9F; };
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (!isHalfKana(ch)) {
            out.push_back(ch);
            continue;
        }
        const unsigned lo = ch & 0xFF;
        if (i + 1 < text.size()) {
            const char16_t next = text[i + 1];
            const char16_t combined = next == kVoicedMark ? t.voiced[lo] : next == kSemiMark ? t.semi[lo] : 0;
            if (combined != 0) {
                out.push_back(combined);
                ++i;
                continue;
            }
        }
        out.push_back(t.plain[lo] != 0 ? t.plain[lo] : ch);
    }
    return out;
}

} // namespace velmora
