#include "tools/datagen/datagen.h"

#include "core/app/settings.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "core/data/text_file.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

namespace velmora {

namespace {

// splitmix64: small, fast and the same everywhere, unlike the standard distributions.
class Rng
{
public:
    explicit Rng(uint64_t seed)
        : m_state(seed)
    {
    }
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T, size_t N> const T& Pick(const std::array<T, N>& a)
    {
        return a[static_cast<size_t>(Below(static_cast<int>(N)))];
    }

private:
    uint64_t m_state;
};

std::u16string Num(long long v)
{
    const std::string s = std::to_string(v);
    return std::u16string(s.begin(), s.end());
}

std::u16string Hex6(uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%06X", v);
    return std::u16string(buf, buf + std::char_traits<char>::length(buf));
}

// Unique horse-like names in half-width katakana, at most nine characters.
class NameMaker
{
public:
    explicit NameMaker(Rng& rng)
        : m_rng(rng)
    {
    }

    std::u16string Make(int minSyllables, int maxSyllables)
    {
        for (;;) {
            std::u16string name;
            const int n = m_rng.Between(minSyllables, maxSyllables);
            for (int i = 0; i < n; ++i) {
                const char16_t base = kBase[static_cast<size_t>(m_rng.Below(static_cast<int>(kBase.size())))];
                name += base;
                if (IsVoiceable(base) && m_rng.Chance(18))
                    name += u'ﾞ';
                else if (IsSemiVoiceable(base) && m_rng.Chance(10))
                    name += u'ﾟ';
                if (i + 1 < n && m_rng.Chance(8))
                    name += u'ｯ';
                else if (m_rng.Chance(10))
                    name += u'ｰ';
                else if (m_rng.Chance(10))
                    name += u'ﾝ';
            }
            if (name.size() <= 9 && m_used.insert(name).second)
                return name;
        }
    }

private:
    static constexpr std::array<char16_t, 44> kBase {
        u'ｱ', u'ｲ', u'ｳ', u'ｴ', u'ｵ', u'ｶ', u'ｷ', u'ｸ', u'ｹ', u'ｺ', u'ｻ', u'ｼ', u'ｽ', u'ｾ', u'ｿ',
        u'ﾀ', u'ﾁ', u'ﾂ', u'ﾃ', u'ﾄ', u'ﾅ', u'ﾆ', u'ﾇ', u'ﾈ', u'ﾉ', u'ﾊ', u'ﾋ', u'ﾌ', u'ﾍ', u'ﾎ',
        u'ﾏ', u'ﾐ', u'ﾑ', u'ﾒ', u'ﾓ', u'ﾔ', u'ﾕ', u'ﾖ', u'ﾗ', u'ﾘ', u'ﾙ', u'ﾚ', u'ﾛ', u'ﾜ'
    };
    static bool IsVoiceable(char16_t c) { return (c >= u'ｶ' && c <= u'ﾄ') || (c >= u'ﾊ' && c <= u'ﾎ'); }
    static bool IsSemiVoiceable(char16_t c) { return c >= u'ﾊ' && c <= u'ﾎ'; }

    Rng& m_rng;
    std::unordered_set<std::u16string> m_used;
};

// One horse of the generated population; sire indexes the males, dam the females, -1 unknown.
struct Horse
{
    std::u16string name;
    int sire = -1;
    int dam = -1;
    int line = 0; // the sire line the horse belongs to (1..96)
    bool popular = false;
};

constexpr int kAncestors = 3001;
constexpr int kStallions = 513;
constexpr int kMares = 701;
constexpr int kNicks = 4096;
constexpr int kLines = 96;
constexpr int kFounderMares = 240;
constexpr int kWindow = 700; // parents come from the most recent horses

class Population
{
public:
    std::vector<Horse> males;
    std::vector<Horse> females;

    // The male ancestor at pedigree position p (1..15) of h, or -1: the path of p from the horse outwards
    // (sire 0, dam 1, without the final sire) is the binary number p - 2^(g-1) of g-1 digits.
    int AncestorAt(const Horse& h, int p) const
    {
        const int g = std::bit_width(static_cast<unsigned>(p));
        const int path = p - (1 << (g - 1));
        const Horse* cur = &h;
        for (int bit = g - 2; bit >= 0; --bit) {
            const bool viaDam = ((path >> bit) & 1) != 0;
            const int next = viaDam ? cur->dam : cur->sire;
            if (next < 0)
                return -1;
            cur = viaDam ? &females[static_cast<size_t>(next)] : &males[static_cast<size_t>(next)];
        }
        return cur->sire;
    }
};

// A sire among the recent males: popular sires get most of the matings, so that they recur in pedigrees.
int PickSire(Rng& rng, const Population& pop, int end, const std::vector<int>& popular)
{
    const int begin = end > kWindow ? end - kWindow : 0;
    if (rng.Chance(65)) {
        // the popular sires born in the window
        int tries = 8;
        while (tries-- > 0 && !popular.empty()) {
            const int s = popular[static_cast<size_t>(rng.Below(static_cast<int>(popular.size())))];
            if (s >= begin && s < end)
                return s;
        }
    }
    (void)pop;
    return rng.Between(begin, end - 1);
}

int PickDam(Rng& rng, int end)
{
    const int begin = end > kWindow ? end - kWindow : 0;
    return rng.Between(begin, end - 1);
}

} // namespace

void WriteFullCapacityData(const std::string& dirIn)
{
    std::string dir = dirIn.empty() ? std::string("./") : dirIn;
    if (dir.back() != '/')
        dir += '/';
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        throw FileError(dir + ": フォルダを作れません (" + ec.message() + ")");

    Rng rng(20261209);
    NameMaker names(rng);

    // Interesting lines: 16 groups, each with a colour and a one-character label.
    std::vector<std::u16string> omokei;
    for (int g = 1; g <= 16; ++g) {
        const std::u16string name = names.Make(3, 4);
        const uint32_t colour = static_cast<uint32_t>(rng.Next() & 0xFFFFFF);
        omokei.push_back(name + u"," + Hex6(colour) + u"," + name.substr(0, 1));
    }

    // Sire lines: 96, most in an interesting-line group.
    std::vector<std::u16string> lineNames;
    std::vector<std::u16string> keito;
    for (int k = 1; k <= kLines; ++k) {
        lineNames.push_back(names.Make(2, 4));
        const int group = rng.Chance(85) ? rng.Between(1, 16) : 0;
        keito.push_back(lineNames.back() + u"," + Num(group));
    }

    // Coat colours: the file lacks "白毛", which a few horses carry.
    const std::vector<std::u16string> keiro { u"栗毛", u"栃栗毛", u"鹿毛", u"黒鹿毛", u"青鹿毛", u"青毛", u"芦毛" };
    const std::array<std::u16string_view, 8> colours { u"栗毛",   u"栃栗毛", u"鹿毛", u"黒鹿毛",
                                                       u"青鹿毛", u"青毛",   u"芦毛", u"白毛" };

    // Cross effects: the four that carry nitro weights first, then twelve more.
    const std::array<std::u16string_view, 16> effects { u"短距離　", u"速力　　", u"底力↑　",  u"長距離　",
                                                        u"瞬発力　", u"根性　　", u"柔軟性　", u"精神力　",
                                                        u"賢さ　　", u"健康　　", u"丈夫　　", u"早熟　　",
                                                        u"晩成　　", u"ダート◎",  u"芝◎　　",  u"持続　　" };
    std::vector<std::u16string> cross;
    for (const auto& e : effects)
        cross.push_back(std::u16string(e) + u"," + Hex6(static_cast<uint32_t>(rng.Next() & 0xFFFFFF)));

    // The population: founders, then males and females descending from the recent horses.
    Population pop;
    std::vector<int> popular;
    for (int k = 0; k < kLines; ++k) {
        Horse h;
        h.name = names.Make(2, 5);
        h.line = k + 1;
        h.popular = rng.Chance(30);
        if (h.popular)
            popular.push_back(k);
        pop.males.push_back(std::move(h));
    }
    for (int i = 0; i < kFounderMares; ++i) {
        Horse f;
        f.sire = rng.Chance(50) ? rng.Below(kLines) : -1;
        pop.females.push_back(f);
    }
    while (static_cast<int>(pop.males.size()) < kAncestors) {
        Horse h;
        h.name = names.Make(2, 5);
        h.sire = PickSire(rng, pop, static_cast<int>(pop.males.size()), popular);
        h.dam = PickDam(rng, static_cast<int>(pop.females.size()));
        h.line = pop.males[static_cast<size_t>(h.sire)].line;
        h.popular = rng.Chance(8);
        if (h.popular)
            popular.push_back(static_cast<int>(pop.males.size()));
        pop.males.push_back(std::move(h));
        Horse f;
        f.sire = PickSire(rng, pop, static_cast<int>(pop.males.size()), popular);
        f.dam = PickDam(rng, static_cast<int>(pop.females.size()));
        pop.females.push_back(f);
    }

    // Ancestors: every male, in birth order; some without a line in the file (the loader fills those in).
    std::vector<std::u16string> oya;
    for (const Horse& h : pop.males) {
        int a = 0, b = 0;
        if (rng.Chance(22)) {
            a = rng.Between(1, 16);
            if (rng.Chance(30))
                b = rng.Between(1, 16);
        }
        const int fileLine = rng.Chance(4) ? 0 : h.line;
        oya.push_back(h.name + u"," + Num(a) + u"," + Num(b) + u"," + Num(fileLine));
    }

    auto pedigree = [&](const Horse& h, int first, int last) {
        std::u16string out;
        for (int p = first; p <= last; ++p) {
            const int m = pop.AncestorAt(h, p);
            out += u",";
            out += m < 0 ? std::u16string(u"未登録") : pop.males[static_cast<size_t>(m)].name;
        }
        return out;
    };

    // Stallions: the youngest 513 males.
    const std::array<std::u16string_view, 4> births { u"内国", u"外国", u"自家", u"配信" };
    const std::array<std::u16string_view, 4> dirts { u"◎", u"○", u"△", u"" };
    const std::array<std::u16string_view, 4> grows { u"早熟", u"普通", u"晩成", u"持続" };
    const std::array<std::u16string_view, 3> grades { u"A", u"B", u"C" };
    std::vector<std::u16string> dad;
    std::vector<int> stallionLines;
    for (int i = kAncestors - kStallions; i < kAncestors; ++i) {
        const Horse& h = pop.males[static_cast<size_t>(i)];
        const int d1 = rng.Between(10, 20) * 100;
        const int d2 = std::min(3600, d1 + rng.Between(4, 16) * 100);
        std::u16string l = h.name + u"," + std::u16string(rng.Pick(births)) + u","
            + lineNames[static_cast<size_t>(h.line - 1)] + u"," + std::u16string(rng.Pick(colours)) + u","
            + Num(rng.Between(1, 5)) + u"," + Num(d1) + u"," + Num(d2) + u"," + std::u16string(rng.Pick(dirts)) + u","
            + std::u16string(rng.Pick(grows));
        for (int g = 0; g < 5; ++g)
            l += u"," + std::u16string(rng.Pick(grades));
        l += pedigree(h, 1, 15);
        dad.push_back(std::move(l));
        stallionLines.push_back(h.line);
    }

    // Broodmares: 701 young named females.
    const std::array<std::u16string_view, 4> origins { u"自家", u"他家", u"持込", u"" };
    std::vector<std::u16string> mam;
    std::vector<std::array<int, 3>> mareLines; // lines of her chains 1, 3 and 7 (sire, dam's sire, dam's dam's sire)
    for (int i = 0; i < kMares; ++i) {
        Horse f;
        f.name = names.Make(2, 5);
        f.sire = PickSire(rng, pop, static_cast<int>(pop.males.size()), popular);
        f.dam = PickDam(rng, static_cast<int>(pop.females.size()));
        auto lineAt = [&](int p) {
            const int m = pop.AncestorAt(f, p);
            return m < 0 ? 0 : pop.males[static_cast<size_t>(m)].line;
        };
        mareLines.push_back({ lineAt(1), lineAt(3), lineAt(7) });
        mam.push_back(f.name + u"," + std::u16string(rng.Pick(origins)) + u","
                      + lineNames[static_cast<size_t>(lineAt(1) - 1)] + u"," + std::u16string(rng.Pick(colours)) + u","
                      + Num(rng.Between(1, 25) * 500) + u"," + Num(rng.Between(1, 10)) + u"," + Num(rng.Between(1, 10))
                      + pedigree(f, 1, 15));
    }

    // Nicks: half of them between lines that real pairs bring together, the rest at random; every
    // sixteenth in the four-field form.
    std::set<std::pair<int, int>> pairs;
    for (int tries = 0; tries < 50 * kNicks && static_cast<int>(pairs.size()) < kNicks / 2; ++tries) {
        const int s = stallionLines[static_cast<size_t>(rng.Below(kStallions))];
        const auto& m = mareLines[static_cast<size_t>(rng.Below(kMares))];
        const int t = m[static_cast<size_t>(rng.Below(3))];
        if (t > 0)
            pairs.emplace(s, t);
    }
    while (static_cast<int>(pairs.size()) < kNicks)
        pairs.emplace(rng.Between(1, kLines), rng.Between(1, kLines));
    std::vector<std::pair<int, int>> order(pairs.begin(), pairs.end());
    for (size_t i = order.size(); i > 1; --i) // shuffle, so the file is not sorted by line
        std::swap(order[i - 1], order[static_cast<size_t>(rng.Below(static_cast<int>(i)))]);
    std::vector<std::u16string> nix;
    for (size_t i = 0; i < order.size(); ++i) {
        const auto& first = lineNames[static_cast<size_t>(order[i].first - 1)];
        const auto& second = lineNames[static_cast<size_t>(order[i].second - 1)];
        const std::u16string value = Num(rng.Between(5, 40));
        if (i % 16 == 15)
            nix.push_back(first + u"," + Num(rng.Between(1, 9)) + u"," + second + u"," + value);
        else
            nix.push_back(first + u"," + second + u"," + value);
    }

    WriteCp932Lines(dir + "面白系統.CSV", omokei);
    WriteCp932Lines(dir + "系統.CSV", keito);
    WriteCp932Lines(dir + "毛色.CSV", keiro);
    WriteCp932Lines(dir + "ｸﾛｽ.CSV", cross);
    WriteCp932Lines(dir + "祖先馬.CSV", oya);
    WriteCp932Lines(dir + "種牡馬.CSV", dad);
    WriteCp932Lines(dir + "牝馬.CSV", mam);
    WriteCp932Lines(dir + "ニックス.CSV", nix);
    WriteFileAtomic(dir + "相性.CSV", "");
}

std::unique_ptr<MasterData> LoadFullCapacityData()
{
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-full-XXXXXX").string();
    if (!::mkdtemp(dir.data()))
        throw FileError("cannot create a temporary directory for the full-capacity data set");
    auto data = std::make_unique<MasterData>();
    LoadResult result;
    try {
        WriteFullCapacityData(dir);
        result = GetMasterData(*data, dir + "/", DefaultDataFiles());
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        throw;
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    if (!result.completed)
        throw FileError("the full-capacity data set did not load: "
                        + (result.messages.empty() ? std::string() : ToUtf8(result.messages.back())));
    return data;
}

} // namespace velmora
