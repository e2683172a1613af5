#include "core/pedigree/formula.h"

#include "core/data/alias.h"
#include "core/data/name_fold.h"

#include <algorithm>
#include <utility>

namespace velmora {

CharClass ClassOf(char16_t c)
{
    if (c == u' ' || c == u'\uF8F0')
        return CharClass::Blank;
    if (c < 0x80) {
        // ASCII punctuation separates, except the apostrophe, the full stop and U+005B..U+0060.
        if ((c >= 0x21 && c <= 0x26) || c == 0x28 || c == 0x29 || c == 0x2A || (c >= 0x2B && c <= 0x2D) || c == 0x2F
            || (c >= 0x3A && c <= 0x40) || (c >= 0x7B && c <= 0x7E))
            return CharClass::Separator;
        return CharClass::Name;
    }
    if (c >= 0xFF61 && c <= 0xFF64) // half-width punctuation ｡｢｣､
        return CharClass::Separator;
    return CharClass::Name;
}

std::u16string_view BlankTrim(std::u16string_view s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return s.substr(b, e - b);
}

std::u16string_view SeparatorTrim(std::u16string_view s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && ClassOf(s[b]) != CharClass::Name)
        ++b;
    while (e > b && ClassOf(s[e - 1]) != CharClass::Name)
        --e;
    return s.substr(b, e - b);
}

size_t FindWholeName(std::u16string_view text, std::u16string_view name, bool treeReading)
{
    const size_t first = text.find(name);
    if (first == std::u16string_view::npos || name.empty())
        return first;
    auto separates = [treeReading](char16_t c) {
        return treeReading ? (c == u'*' || c == u'(' || c == u')') : ClassOf(c) == CharClass::Separator;
    };
    auto blank = [](char16_t c) { return c <= u' ' || ClassOf(c) == CharClass::Blank; };
    for (size_t at = first; at != std::u16string_view::npos; at = text.find(name, at + 1)) {
        size_t b = at;
        while (b > 0 && blank(text[b - 1]))
            --b;
        size_t e = at + name.size();
        while (e < text.size() && blank(text[e]))
            ++e;
        if ((b == 0 || separates(text[b - 1])) && (e == text.size() || separates(text[e])))
            return at;
    }
    return first;
}

AliasLookup AliasFromFile(std::string aliasFilePath)
{
    return [path = std::move(aliasFilePath)](std::u16string_view name) { return GetAlias(path, name); };
}

namespace {

ParentRec Resolve(const MasterData& d, const AliasLookup& alias, std::u16string_view name, ChainCarry& carry)
{
    ParentRec e;
    if (const int i = FindDad(d, name); i >= 0) {
        e.Sex = true;
        e.Num = i;
        e.Name = d.DadTable[i].name;
        return e;
    }
    if (const int i = FindMam(d, name); i >= 0) {
        e.Sex = false;
        e.Num = i;
        e.Name = d.MamTable[i].name;
        carry.currentMare = i;
        return e;
    }
    if (alias) {
        const std::u16string target = alias(name);
        if (!target.empty()) {
            if (const int i = FindDad(d, target); i >= 0) {
                e.Sex = true;
                e.Num = i;
                e.Name = target;
                return e;
            }
            if (const int i = FindMam(d, target); i >= 0) {
                e.Sex = false;
                e.Num = i;
                e.Name = target;
                carry.currentMare = i;
                return e;
            }
        }
    }
    e.Sex = true;
    e.Num = -1;
    e.Name = std::u16string(name);
    return e;
}

ParentRec UnknownFiller()
{
    ParentRec e;
    e.Name = std::u16string(kUnknownChainName);
    return e;
}

} // namespace

ChainReading ReadChain(const MasterData& d, const AliasLookup& alias, std::u16string_view text, ChainCarry& carry)
{
    ChainReading r;
    r.normalized = ToHalfWidth(text);

    // Split into names.
    std::u16string_view s = BlankTrim(SeparatorTrim(r.normalized));
    while (!s.empty()) {
        size_t p = 0;
        while (p < s.size() && ClassOf(s[p]) != CharClass::Separator)
            ++p;
        std::u16string_view name;
        if (p == s.size()) {
            name = s;
            s = {};
        } else {
            name = BlankTrim(s.substr(0, p));
            s = BlankTrim(SeparatorTrim(s.substr(p + 1, kChainReadWindow)));
        }
        r.entries.push_back(Resolve(d, alias, name, carry));
        if (static_cast<int>(r.entries.size()) == kMaxChainEntries) {
            r.messages.emplace_back(kMsgChainLimit);
            break;
        }
    }

    // Orientation: entry 0 becomes the sire.
    auto& e = r.entries;
    const auto mare = std::find_if(e.begin(), e.end(), [](const ParentRec& x) { return !x.Sex; });
    if (mare == e.end()) {
        r.messages.emplace_back(kMsgNoMare);
    } else if (mare == e.begin()) {
        std::reverse(e.begin(), e.end());
    } else if (mare == e.begin() + 1) {
        std::swap(e[0], e[1]);
        std::reverse(e.begin(), e.end());
    }

    // One entry is completed to a pair; a lone mare becomes the dam of an unknown sire.
    if (e.size() == 1) {
        if (e[0].Sex)
            e.push_back(UnknownFiller());
        else
            e.insert(e.begin(), UnknownFiller());
    }

    // Unknown names are selected in the box one after the other, so the last stays selected. A name is
    // looked for where it stands as a whole name, so that the alias dialog, which replaces the
    // selection, does not change a longer name that contains it.
    for (const ParentRec& x : e) {
        if (x.Num != -1 || x.Name == kUnknownChainName)
            continue;
        const size_t at = FindWholeName(r.normalized, x.Name, false);
        if (at != std::u16string::npos)
            r.selection = TextRange { at, x.Name.size() };
        carry.aliasCandidate = x.Name;
    }
    return r;
}

} // namespace velmora
