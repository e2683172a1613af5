#include "core/pedigree/tree_formula.h"

#include "core/common/ascii_case.h"
#include "core/common/errors.h"
#include "core/data/name_fold.h"

#include <cstdint>
#include <vector>

namespace velmora {

bool FormulaBox::SelectFirst(std::u16string_view s)
{
    const size_t at = FindWholeName(text, s, true);
    if (at == std::u16string::npos)
        return false;
    selection = TextRange { at, s.size() };
    hasSelection = true;
    return true;
}

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

bool HasMatingSymbol(std::u16string_view s)
{
    return s.find_first_of(u"*()") != std::u16string_view::npos;
}

bool IsBracketed(std::u16string_view s)
{
    return s.size() >= 2 && s.front() == u'(' && s.back() == u')';
}

// The editor's lists compare without regard to letter case. An exact match wins; otherwise the
// lowest table row whose name matches ignoring case.
template <typename Table> int FindIgnoringCase(const Table& table, int count, std::u16string_view name)
{
    for (int i = 0; i < count; ++i)
        if (table[i].name == name)
            return i;
    for (int i = 0; i < count; ++i)
        if (EqualIgnoringAsciiCase(table[i].name, name))
            return i;
    return -1;
}

int ReadPlainName(TreeContext& ctx, int k, std::u16string_view s)
{
    std::u16string name(s);
    if (ctx.alias) {
        std::u16string target = ctx.alias(name);
        if (!target.empty()) {
            // Replaced where it stands as a whole name, not inside a longer name that contains it.
            const size_t at = FindWholeName(ctx.box.text, name, true);
            if (at != std::u16string::npos) {
                ctx.box.text.replace(at, name.size(), target);
                ctx.box.selection = TextRange { at + target.size(), 0 };
                ctx.box.hasSelection = true;
            }
            name = std::move(target);
        }
    }
    if (const int dad = FindIgnoringCase(ctx.data.DadTable, ctx.data.DadCount, name); dad >= 0) {
        ctx.selectedDad = dad;
        PlaceStallion(ctx.data, ctx.chart, k, dad);
        return 1;
    }
    if (const int mam = FindIgnoringCase(ctx.data.MamTable, ctx.data.MamCount, name); mam >= 0) {
        ctx.selectedMam = mam;
        // A mare above position 15 has no dam position on the chart: the formula stays readable
        // and she is left out, which the reader is told.
        if (k <= kChartMarePositions)
            PlaceMare(ctx.data, ctx.chart, k, mam);
        else
            ctx.leftOut.push_back(ctx.data.MamTable[static_cast<size_t>(mam)].name);
        return 1;
    }
    ctx.box.SelectFirst(name);
    return 0;
}

int ReadTreeAt(TreeContext& ctx, int k, std::u16string_view text);

} // namespace

int ReadTree(TreeContext& ctx, int k, std::u16string_view text)
{
    // The box may change while the text is read (aliases), and the text may be the box's own.
    const std::u16string copy(text);
    return ReadTreeAt(ctx, k, copy);
}

namespace {

// The first "*" outside every bracket, npos when none.
size_t FindSplit(std::u16string_view s)
{
    int depth = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'(')
            ++depth;
        else if (s[i] == u')')
            --depth;
        else if (s[i] == u'*' && depth == 0)
            return i;
    }
    return std::u16string_view::npos;
}

bool IsBlankUnit(char16_t c)
{
    return c <= u' ';
}

// Reading "(X)" at k is reading X at k. Peels every such layer of a bracketed text in one pass, so
// that deep nesting costs neither stack nor quadratic time: inside L layers, the first "*" at depth 0
// is the first "*" of the whole text at depth L (the peeled ends hold only brackets and blanks).
// Returns the text the peeling ends with in *inner, and its split in *split (npos: a plain name);
// false when a layer is neither a mating, a plain name nor bracketed again (the text cannot be read).
bool PeelBrackets(std::u16string_view s, std::u16string_view* inner, size_t* split)
{
    std::vector<size_t> firstStarAtDepth;
    std::vector<uint32_t> symbolsBefore(s.size() + 1, 0);
    int depth = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        symbolsBefore[i + 1] = symbolsBefore[i] + ((c == u'(' || c == u')' || c == u'*') ? 1 : 0);
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u'*' && depth >= 0) {
            if (firstStarAtDepth.size() <= static_cast<size_t>(depth))
                firstStarAtDepth.resize(depth + 1, std::u16string_view::npos);
            if (firstStarAtDepth[depth] == std::u16string_view::npos)
                firstStarAtDepth[depth] = i;
        }
    }
    size_t a = 0;
    size_t b = s.size();
    for (size_t level = 1;; ++level) {
        // s[a, b) is bracketed: drop the brackets and the blanks inside them.
        ++a;
        --b;
        while (a < b && IsBlankUnit(s[a]))
            ++a;
        while (b > a && IsBlankUnit(s[b - 1]))
            --b;
        *inner = s.substr(a, b - a);
        if (symbolsBefore[b] == symbolsBefore[a]) {
            *split = std::u16string_view::npos;
            return true;
        }
        if (level < firstStarAtDepth.size() && firstStarAtDepth[level] != std::u16string_view::npos) {
            *split = firstStarAtDepth[level] - a;
            return true;
        }
        if (!IsBracketed(*inner))
            return false;
    }
}

int ReadTreeAt(TreeContext& ctx, int k, std::u16string_view text)
{
    if (k < 1 || k > kChartPositions)
        return -1;
    std::u16string_view s = BlankTrim(text);
    if (!HasMatingSymbol(s))
        return ReadPlainName(ctx, k, s);

    size_t split = FindSplit(s);
    if (split == std::u16string_view::npos) {
        if (!IsBracketed(s))
            return -1;
        std::u16string_view inner;
        if (!PeelBrackets(s, &inner, &split))
            return -1;
        if (split == std::u16string_view::npos)
            return ReadPlainName(ctx, k, inner);
        s = inner;
    }

    const std::u16string_view left = BlankTrim(s.substr(0, split));
    int r = IsBracketed(left) ? ReadTreeAt(ctx, 2 * k, left.substr(1, left.size() - 2)) : ReadTreeAt(ctx, k, left);
    if (r > 0) {
        const std::u16string_view right = BlankTrim(s.substr(split + 1));
        r = HasMatingSymbol(right) ? ReadTreeAt(ctx, 2 * k + 1, right) : ReadTreeAt(ctx, k, right);
    }
    return r;
}

} // namespace

int ShowTreeFormula(TreeContext& ctx, std::u16string* message)
{
    ctx.box.text = std::u16string(BlankTrim(ToHalfWidth(ctx.box.text)));
    const int r = ReadTree(ctx, 1, ctx.box.text);
    if (message == nullptr)
        return r;
    if (r < 0) {
        *message = std::u16string(kMsgCannotAnalyse);
    } else if (r > 0 && !ctx.leftOut.empty()) {
        std::u16string names;
        for (const std::u16string& n : ctx.leftOut)
            names += (names.empty() ? u"" : u"、") + n;
        *message = u"繁殖牝馬" + names + u"は血統表の５代目にあたり、置く場所がありません。省いて表示しました";
    }
    return r;
}

ChartCaptions BuildCaptions(const MasterData& d, const Chart& c)
{
    ChartCaptions out;
    out.complete = true;
    auto oyaName = [&](int32_t o) -> const std::u16string& { return d.OyaTable[CheckedIndex(o, d.OyaCount)].name; };
    auto dadName = [&](int32_t i) -> const std::u16string& { return d.DadTable[CheckedIndex(i, d.DadCount)].name; };
    auto mamName = [&](int32_t i) -> const std::u16string& { return d.MamTable[CheckedIndex(i, d.MamCount)].name; };

    // Generation 5: the ancestor's name.
    for (int k = 16; k <= 31; ++k) {
        const int32_t a = AncestorAt(d, c, k);
        if (a >= 0) {
            out.caption[k] = oyaName(a);
        } else {
            out.caption[k] = u"?";
            out.complete = false;
        }
    }

    // Generation 4: names only; the sires and dams above are named only when registered stallions.
    for (int k = 15; k >= 8; --k) {
        const SlotRec& s = c.slot[k];
        const SlotRec& sire = c.slot[2 * k];
        const SlotRec& damSire = c.slot[2 * k + 1];
        auto damPart = [&]() -> std::u16string {
            if (s.MamIdx >= 0)
                return std::u16string(kCrLf) + u" * " + mamName(s.MamIdx);
            if (damSire.DadIdx >= 0)
                return std::u16string(kCrLf) + u" * (" + dadName(damSire.DadIdx) + u")";
            out.complete = false;
            return std::u16string(kCrLf) + u" * ?";
        };
        std::u16string& cap = out.caption[k];
        if (s.OyaIdx >= 0) {
            cap = oyaName(s.OyaIdx);
        } else if (s.DadIdx >= 0) {
            cap = dadName(s.DadIdx) + damPart();
        } else if (sire.DadIdx >= 0) {
            cap = u"(" + dadName(sire.DadIdx) + u")" + damPart();
        } else {
            out.complete = false;
            if (s.MamIdx >= 0)
                cap = u"?" + std::u16string(kCrLf) + u"* " + mamName(s.MamIdx);
            else if (damSire.DadIdx >= 0)
                cap = u"?" + std::u16string(kCrLf) + u" * (" + dadName(damSire.DadIdx) + u")";
            else
                cap = u"?" + std::u16string(kCrLf) + u" * ?";
        }
    }

    // Generations 3 to 1: built from the captions above.
    for (int k = 7; k >= 1; --k) {
        const SlotRec& s = c.slot[k];
        std::u16string& cap = out.caption[k];
        if (s.OyaIdx >= 0) {
            cap = oyaName(s.OyaIdx);
            continue;
        }
        cap = s.DadIdx >= 0 ? dadName(s.DadIdx) : u"(" + out.caption[2 * k] + u")";
        cap += kCrLf;
        if (s.MamIdx >= 0)
            cap += u"* " + mamName(s.MamIdx);
        else
            cap += u"* (" + out.caption[2 * k + 1] + u")";
    }

    if (out.complete) {
        const std::u16string& top = out.caption[1];
        out.formula.reserve(top.size());
        for (size_t i = 0; i < top.size(); ++i) {
            if (top[i] == u'\r' && i + 1 < top.size() && top[i + 1] == u'\n')
                ++i;
            else
                out.formula.push_back(top[i]);
        }
    }
    return out;
}

std::u16string SlotCaption(const MasterData& d, const Chart& c, int k, bool* complete, std::u16string* formula)
{
    ChartCaptions all = BuildCaptions(d, c);
    if (complete != nullptr)
        *complete = all.complete;
    if (formula != nullptr)
        *formula = all.formula;
    return std::move(all.caption[CheckedIndex(k - 1, kChartPositions) + 1]);
}

} // namespace velmora
