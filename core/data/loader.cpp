#include "core/data/loader.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/file_lines.h"
#include "core/data/file_set.h"
#include "core/data/text_file.h"

#include <algorithm>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unordered_map>

namespace velmora {

namespace {

// Folds the letters that a case-blind file system treats as equal: ASCII and full-width Latin.
std::u16string FoldFileName(std::u16string_view name)
{
    std::u16string out(name);
    for (auto& c : out) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
        else if (c >= 0xFF41 && c <= 0xFF5A)
            c = static_cast<char16_t>(c - 0x20);
    }
    return out;
}

// A fatal load error: stops the load with a message.
struct LoadStop
{
    std::u16string message;
};

// A name index that gives the same answer as a scan from row 0: the first row with the name.
class NameIndex
{
public:
    void Clear() { m_map.clear(); }
    void Add(const std::u16string& name, int row) { m_map.emplace(name, row); }
    int Find(const std::u16string& name) const
    {
        const auto it = m_map.find(name);
        return it == m_map.end() ? -1 : it->second;
    }

private:
    std::unordered_map<std::u16string, int> m_map;
};

class Loader
{
public:
    Loader(MasterData& d, const std::string& dataDir, const TDataFiles& files, LoadResult& result)
        : m_d(d)
        , m_dir(dataDir)
        , m_files(files)
        , m_result(result)
    {
    }

    void Omokei()
    {
        const auto lines = Read(m_files.Omokei, kOmokeiRows - 1, m_d.Sources.omokei, 1);
        KeitoRec& zero = m_d.OmokeiTable[0];
        zero.name = std::u16string(kUnregistered);
        zero.lbl = u"未";
        zero.value = 0xFFFFFF;
        for (size_t i = 0; i < lines.size() && i < kOmokeiRows - 1; ++i) {
            FieldReader f(lines[i]);
            KeitoRec& r = m_d.OmokeiTable[i + 1];
            r.name = f.Next();
            r.value = ParseIntDef(f.Next(), 0xFFFFFF);
            r.lbl = f.Next();
        }
    }

    void Keito()
    {
        const auto lines = Read(m_files.Keito, kKeitoRows, m_d.Sources.keito, 1);
        m_d.KeitoTable[0].name = std::u16string(kUnregistered);
        m_d.KeitoTable[0].value = 0;
        m_d.KeitoCount = 1;
        m_keitoIndex.Clear();
        m_keitoIndex.Add(m_d.KeitoTable[0].name, 0);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (m_d.KeitoCount >= kKeitoRows)
                throw LoadStop { TooMany(kKeitoRows - 1) };
            FieldReader f(lines[i]);
            KeitoRec& r = m_d.KeitoTable[m_d.KeitoCount];
            r.name = f.Next();
            r.value = ParseIntDef(f.Next(), 0);
            if (r.value < 0 || r.value >= kOmokeiRows)
                throw LoadStop { At(i) + u"面白系統番号 " + Decimal(r.value) + u" は面白系統の範囲 (0〜"
                                 + Decimal(kOmokeiRows - 1) + u") の外です" };
            m_keitoIndex.Add(r.name, m_d.KeitoCount);
            ++m_d.KeitoCount;
        }
    }

    void Keiro()
    {
        const auto lines = Read(m_files.Keiro, kKeiroRows + 1, m_d.Sources.keiro, 0);
        m_d.KeiroTable.clear();
        m_keiroIndex.Clear();
        if (lines.size() > kKeiroRows)
            throw LoadStop { TooMany(kKeiroRows) };
        for (const auto& line : lines) {
            FieldReader f(line);
            m_d.KeiroTable.push_back(f.Next());
            m_keiroIndex.Add(m_d.KeiroTable.back(), static_cast<int>(m_d.KeiroTable.size() - 1));
        }
    }

    void Cross()
    {
        const auto lines = Read(m_files.Cross, kCrossRows - 1, m_d.Sources.cross, 1);
        TCrossRec& zero = m_d.CrossTable[0];
        zero.name = u"\u3000\u3000\u3000\u3000";
        zero.Color = 0xFFFFFF;
        zero.SpNit = 0;
        zero.StNit = 0;
        for (size_t i = 0; i < lines.size() && i < kCrossRows - 1; ++i) {
            FieldReader f(lines[i]);
            TCrossRec& r = m_d.CrossTable[i + 1];
            r.name = f.Next();
            r.Color = static_cast<uint32_t>(ParseIntDef(f.Next(), 0xFFFFFF));
            r.SpNit = 0;
            r.StNit = 0;
            if (r.name == u"短距離\u3000") {
                r.SpNit = 2;
                r.StNit = -1;
            } else if (r.name == u"速力\u3000\u3000") {
                r.SpNit = 1;
            } else if (r.name == u"底力↑\u3000" || r.name == u"長距離\u3000") {
                r.StNit = 1;
            }
        }
        m_d.SpeedCrossRow = 0;
        for (int k = 0; k < kCrossRows; ++k) {
            const auto& name = m_d.CrossTable[k].name;
            if (name.find(u'◎') != std::u16string::npos || name.find(u'短') != std::u16string::npos) {
                m_d.SpeedCrossRow = k;
                break;
            }
        }
    }

    void Oya()
    {
        const auto lines = Read(m_files.Oya, kOyaRows + 1, m_d.Sources.oya, 0);
        m_d.OyaCount = 0;
        m_oyaIndex.Clear();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (m_d.OyaCount >= kOyaRows)
                throw LoadStop { TooMany(kOyaRows) };
            FieldReader f(lines[i]);
            OyaRec& r = m_d.OyaTable[m_d.OyaCount];
            r.name = f.Next();
            r.a = ParseIntDef(f.Next(), 0);
            r.b = ParseIntDef(f.Next(), 0);
            r.keito = ParseIntDef(f.Next(), 0);
            CheckEffect(r.a, u"第1インブリード効果", i);
            CheckEffect(r.b, u"第2インブリード効果", i);
            // The sire-line file is read already: a number past it names no line.
            if (r.keito < 0 || r.keito >= m_d.KeitoCount)
                throw LoadStop { At(i) + u"系統番号 " + Decimal(r.keito) + u" は系統ファイルの範囲 (0〜"
                                 + Decimal(m_d.KeitoCount - 1) + u") の外です" };
            r.omokei = m_d.KeitoTable[r.keito].value;
            m_oyaIndex.Add(r.name, m_d.OyaCount);
            ++m_d.OyaCount;
        }
    }

    void Dad()
    {
        const auto lines = Read(m_files.Dad, kDadRows + 1, m_d.Sources.dad, 0);
        m_d.DadCount = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (m_d.DadCount >= kDadRows)
                throw LoadStop { TooMany(kDadRows) };
            FieldReader f(lines[i]);
            DadRec& r = m_d.DadTable[m_d.DadCount];
            r.name = f.Next();
            r.birth = ShortText(f.Next(), ShortTextLimit::Birth);
            r.keito = KeitoOf(f.Next(), i);
            r.keiro = KeiroOf(f.Next());
            r.Fee = ParseIntDef(f.Next(), 0);
            r.Distance1 = ParseIntDef(f.Next(), 0);
            r.Distance2 = ParseIntDef(f.Next(), 0);
            r.Dirt = ShortText(f.Next(), ShortTextLimit::Dirt);
            r.Grow = ShortText(f.Next(), ShortTextLimit::Grow);
            r.Kisho = ShortText(f.Next(), ShortTextLimit::Grade);
            r.Konjo = ShortText(f.Next(), ShortTextLimit::Grade);
            r.Kenko = ShortText(f.Next(), ShortTextLimit::Grade);
            r.Jisseki = ShortText(f.Next(), ShortTextLimit::Grade);
            r.Antei = ShortText(f.Next(), ShortTextLimit::Grade);
            r.Father[0] = m_oyaIndex.Find(r.name);
            r.Unknown.clear();
            for (int p = 1; p <= 15; ++p)
                r.Father[p] = Ancestor(f.Next(), r.Unknown, p);
            r.Selected = 1;
            ++m_d.DadCount;
            FillFromStallion(r);
        }
    }

    void Mam()
    {
        const auto lines = Read(m_files.Mam, kMamRows + 1, m_d.Sources.mam, 0);
        m_d.MamCount = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (m_d.MamCount >= kMamRows)
                throw LoadStop { TooMany(kMamRows) };
            FieldReader f(lines[i]);
            MamRec& r = m_d.MamTable[m_d.MamCount];
            r.name = f.Next();
            r.motikomi = ShortText(f.Next(), ShortTextLimit::Motikomi);
            r.keito = KeitoOf(f.Next(), i);
            r.keiro = KeiroOf(f.Next());
            r.Fee = ParseIntDef(f.Next(), 0);
            r.speed = ParseIntDef(f.Next(), 0);
            r.stamina = ParseIntDef(f.Next(), 0);
            r.Unknown.clear();
            for (int e = 0; e < 15; ++e)
                r.Father[e] = Ancestor(f.Next(), r.Unknown, e + 1);
            r.Selected = true;
            ++m_d.MamCount;
            FillFromMare(r);
        }
    }

    void Nix()
    {
        // Lines naming unknown sire lines are skipped, so any number of lines may be needed to fill the
        // list: they are decoded one at a time, and the reading stops as soon as the list overflows.
        m_currentPath = DataFilePath(m_dir, m_files.Nix);
        Cp932LineReader lines(m_currentPath);
        m_d.NixCount = 0;
        const std::u16string where = FromUtf8(m_dir) + m_files.Nix + u":";
        std::u16string line;
        while (lines.Next(line)) {
            FieldReader f(line);
            const std::u16string first = f.Next();
            const int k1 = m_keitoIndex.Find(first);
            if (k1 < 0) {
                m_result.messages.push_back(where + NameForMessage(first) + u"が見つかりません");
                continue;
            }
            std::u16string second = f.Next();
            if (ParseIntDef(second, 0) > 0)
                second = f.Next();
            const int k2 = m_keitoIndex.Find(second);
            if (k2 < 0) {
                m_result.messages.push_back(where + NameForMessage(second) + u"が見つかりません");
                continue;
            }
            const int32_t value = ParseIntDef(f.Next(), 0);
            if (m_d.NixCount >= kNixRows)
                throw LoadStop { TooMany(kNixRows) };
            NixRec& n = m_d.NixList[m_d.NixCount];
            n.keito1 = k1;
            n.keito2 = k2;
            n.value = value;
            ++m_d.NixCount;
        }
    }

private:
    // The lines of a data file; no more than maxLines are read (a table's capacity and one more line
    // tell whether the file overflows it, however large the file is). The file's bytes and where each
    // line stands go into source, its line 1 for table row firstRow.
    std::vector<std::u16string> Read(const std::u16string& name, size_t maxLines, FileSource& source, size_t firstRow)
    {
        m_currentPath = DataFilePath(m_dir, name);
        Cp932LineReader reader(m_currentPath, maxLines);
        std::vector<std::u16string> lines;
        source.rows.assign(firstRow, SourceLine {});
        std::u16string line;
        std::string_view raw;
        while (reader.Next(line, &raw)) {
            lines.push_back(line);
            source.rows.push_back({ static_cast<size_t>(raw.data() - reader.Bytes().data()), raw.size(), {} });
        }
        source.bytes = reader.Take();
        return lines;
    }

    // An ancestor of a horse by name; a name no ancestor row holds is kept with the horse.
    int32_t Ancestor(const std::u16string& name, UnknownNames& unknown, int position) const
    {
        const int o = m_oyaIndex.Find(name);
        if (o < 0)
            KeepUnknown(unknown, position, name);
        return o;
    }

    // An inbreeding effect of an ancestor row: a CrossTable row.
    void CheckEffect(int32_t effect, std::u16string_view field, size_t lineIndex) const
    {
        if (effect < 0 || effect >= kCrossRows)
            throw LoadStop { At(lineIndex) + std::u16string(field) + u" " + Decimal(effect)
                             + u" はクロス効果の範囲 (0〜" + Decimal(kCrossRows - 1) + u") の外です" };
    }

    std::u16string TooMany(int capacity) const
    {
        return FromUtf8(m_currentPath) + u": データが多すぎます (" + Decimal(capacity) + u" 件まで)";
    }

    std::u16string At(size_t lineIndex) const
    {
        return FromUtf8(m_currentPath) + u": " + Decimal(static_cast<int64_t>(lineIndex) + 1) + u" 行目: ";
    }

    // The sire line of a horse row by name; a line met for the first time is added with group 0.
    int KeitoOf(const std::u16string& name, size_t lineIndex)
    {
        const int k = m_keitoIndex.Find(name);
        if (k >= 0)
            return k;
        if (m_d.KeitoCount >= kKeitoRows)
            throw LoadStop { At(lineIndex) + u"系統「" + NameForMessage(name) + u"」を追加できません (系統は "
                             + Decimal(kKeitoRows - 1) + u" 件まで)" };
        const int row = m_d.KeitoCount;
        m_d.KeitoTable[row].name = name;
        m_d.KeitoTable[row].value = 0;
        m_keitoIndex.Add(name, row);
        ++m_d.KeitoCount;
        return row;
    }

    // The coat colour of a horse row by name; a colour met for the first time is appended.
    int KeiroOf(const std::u16string& name)
    {
        const int k = m_keiroIndex.Find(name);
        if (k >= 0)
            return k;
        if (m_d.KeiroTable.size() >= kKeiroRows)
            throw LoadStop { u"毛色が多すぎます (" + Decimal(kKeiroRows) + u" 色まで): " + name };
        m_d.KeiroTable.push_back(name);
        const int pos = static_cast<int>(m_d.KeiroTable.size() - 1);
        m_keiroIndex.Add(name, pos);
        return pos;
    }

    OyaRec& Row(int index) { return m_d.OyaTable[CheckedIndex(index, kOyaRows)]; }

    // Gives ancestors without a group or line those of their relatives in the stallion's pedigree.
    void FillFromStallion(const DadRec& r)
    {
        const DadFatherRec& F = r.Father;
        static constexpr int kSires[] = { 1, 2, 4, 6, 8, 10, 12, 14 };
        for (const int p : kSires)
            if (F[p] >= 0 && F[p / 2] >= 0 && Row(F[p]).omokei == 0)
                Row(F[p]).omokei = Row(F[p / 2]).omokei;
        for (int p = 7; p >= 1; --p)
            if (F[p] >= 0 && F[2 * p] >= 0 && Row(F[p]).omokei == 0)
                Row(F[p]).omokei = Row(F[2 * p]).omokei;
        if (F[0] >= 0 && F[1] >= 0 && Row(F[0]).omokei == 0)
            Row(F[0]).omokei = Row(F[1]).omokei;
        for (int p = 7; p >= 1; --p)
            if (F[p] >= 0 && F[2 * p] >= 0 && Row(F[p]).keito == 0)
                Row(F[p]).keito = Row(F[2 * p]).keito;
        if (F[0] >= 0 && Row(F[0]).keito == 0)
            Row(F[0]).keito = r.keito;
        for (const int p : kSires)
            if (F[p] >= 0 && F[p / 2] >= 0 && Row(F[p]).keito == 0)
                Row(F[p]).keito = Row(F[p / 2]).keito;
    }

    // Gives ancestors without a group the group of their son in the broodmare's pedigree.
    void FillFromMare(const MamRec& r)
    {
        const MamFatherRec& M = r.Father; // element i = position i + 1
        for (int q = 2; q <= 14; q += 2) {
            const int at = M[q - 1];
            const int son = M[q / 2 - 1];
            if (at >= 0 && son >= 0 && Row(at).omokei == 0)
                Row(at).omokei = Row(son).omokei;
        }
    }

    MasterData& m_d;
    const std::string& m_dir;
    const TDataFiles& m_files;
    LoadResult& m_result;
    std::string m_currentPath;
    NameIndex m_oyaIndex;
    NameIndex m_keitoIndex;
    NameIndex m_keiroIndex;
};

} // namespace

std::string DataFilePath(const std::string& dataDir, std::u16string_view name)
{
    const std::string plain = dataDir + ToUtf8(name);
    struct stat st
    {
    };
    if (::stat(plain.c_str(), &st) == 0 || name.find(u'/') != std::u16string_view::npos)
        return plain;
    DIR* dir = ::opendir(dataDir.empty() ? "." : dataDir.c_str());
    if (!dir)
        return plain;
    const std::u16string wanted = FoldFileName(name);
    std::string best;
    while (const dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (FoldFileName(FromUtf8(entry)) != wanted)
            continue;
        if (best.empty() || entry < best) // the same choice whatever order the listing has
            best = entry;
    }
    ::closedir(dir);
    return best.empty() ? plain : dataDir + best;
}

bool DataFileExists(const std::string& dataDir, std::u16string_view name)
{
    struct stat st
    {
    };
    return ::stat(DataFilePath(dataDir, name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

LoadResult GetMasterData(MasterData& d, const std::string& dataDir, const TDataFiles& files, const LoadHooks& hooks)
{
    LoadResult result;
    ++d.LoadGeneration; // even a load that stops half way has changed the tables
    if (hooks.setBusy)
        hooks.setBusy(true);
    try {
        // A commit of several files that a kill interrupted is finished (or undone) before anything is read.
        if (std::u16string recovered = RecoverFileSet(dataDir); !recovered.empty())
            result.messages.push_back(std::move(recovered));
        Loader loader(d, dataDir, files, result);
        loader.Omokei();
        loader.Keito();
        loader.Keiro();
        loader.Cross();
        loader.Oya();
        if (hooks.processEvents)
            hooks.processEvents();
        loader.Dad();
        if (hooks.processEvents)
            hooks.processEvents();
        loader.Mam();
        loader.Nix();
        NoteWrittenLines(d);
    } catch (const LoadStop& e) {
        result.messages.push_back(e.message);
        result.completed = false;
    } catch (const std::exception& e) {
        result.messages.push_back(FromUtf8(e.what()));
        result.completed = false;
    }
    if (hooks.setBusy)
        hooks.setBusy(false);
    return result;
}

} // namespace velmora
