#include "core/app/message_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace velmora {

namespace {

// Characters a line must not start with.
bool NoLineStart(char16_t c)
{
    static constexpr std::u16string_view kNoStart = u"。、，．・：；？！゛゜ヽヾゝゞ々ー…‥’”）〕］｝〉》」』】"
                                                    u"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
                                                    u"｡､｣ｧｨｩｪｫｬｭｮｯｰﾞﾟ)]},.:;!?%";
    return kNoStart.find(c) != std::u16string_view::npos;
}

// Characters a line must not end with.
bool NoLineEnd(char16_t c)
{
    static constexpr std::u16string_view kNoEnd = u"（〔［｛〈《「『【‘“｢([{";
    return kNoEnd.find(c) != std::u16string_view::npos;
}

// Where a break reads best: after the end of a sentence or clause, a closing bracket or a path's "/".
bool GoodBreakAfter(char16_t c)
{
    static constexpr std::u16string_view kGood = u"。、，．！？）」』】〕｡､｣/";
    return kGood.find(c) != std::u16string_view::npos;
}

bool Hiragana(char16_t c)
{
    return c >= u'\u3041' && c <= u'\u309F';
}

// A fair place: after a particle or an ending in hiragana, before a word in another script.
bool FairBreak(char16_t before, char16_t after)
{
    return Hiragana(before) && !Hiragana(after);
}

bool LatinOrDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u'-'
        || c == u'.';
}

bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Whether a line may break between text[i - 1] and text[i].
bool CanBreak(std::u16string_view text, size_t i)
{
    const char16_t before = text[i - 1];
    const char16_t after = text[i];
    if (IsLowSurrogate(after) || NoLineStart(after) || NoLineEnd(before))
        return false;
    if (before == u'/')
        return true;
    return !(LatinOrDigit(before) && LatinOrDigit(after));
}

// Splits one paragraph into lines of about equal width, none wider than maxWidth where a break allows.
void BreakParagraph(std::u16string_view p, const TextWidth& width, double maxWidth, std::u16string& out)
{
    const double total = width(p);
    if (total <= maxWidth || p.size() < 2) {
        out += p;
        return;
    }
    const int lines = static_cast<int>(std::ceil(total / maxWidth));
    const double target = total / lines;
    size_t start = 0;
    for (int line = 1; start < p.size(); ++line) {
        const std::u16string_view rest = p.substr(start);
        if (width(rest) <= maxWidth) {
            out += rest;
            return;
        }
        // The break of this line: the allowed place nearest the target width, a good place counting as
        // half the target nearer and a fair one an eighth, among those that leave the rest for the lines
        // planned; the nearest allowed place when none does.
        const double restRoom = std::max(1, lines - line) * maxWidth;
        size_t best = 0;
        double bestCost = std::numeric_limits<double>::max();
        size_t cut = 0; // the last place that still fits, allowed or not
        for (size_t i = start + 1; i < p.size(); ++i) {
            const double w = width(p.substr(start, i - start));
            if (w > maxWidth)
                break;
            cut = i;
            if (!CanBreak(p, i))
                continue;
            const double bonus = GoodBreakAfter(p[i - 1]) ? target / 2 : FairBreak(p[i - 1], p[i]) ? target / 8 : 0.0;
            double cost = std::abs(w - target) - bonus;
            if (width(p.substr(i)) > restRoom)
                cost += maxWidth; // would need a line more than planned
            if (cost < bestCost) {
                bestCost = cost;
                best = i;
            }
        }
        if (best == 0)
            best = cut > start ? cut : start + 1;
        if (best < p.size() && IsLowSurrogate(p[best]))
            ++best;
        out += p.substr(start, best - start);
        out += u'\n';
        start = best;
    }
}

} // namespace

std::u16string BreakMessageLines(std::u16string_view text, const TextWidth& width, double maxWidth)
{
    std::u16string out;
    out.reserve(text.size() + text.size() / 8);
    size_t start = 0;
    while (true) {
        const size_t end = text.find(u'\n', start);
        BreakParagraph(text.substr(start, end == std::u16string_view::npos ? end : end - start), width, maxWidth, out);
        if (end == std::u16string_view::npos)
            return out;
        out += u'\n';
        start = end + 1;
    }
}

} // namespace velmora
