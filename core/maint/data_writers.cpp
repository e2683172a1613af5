#include "core/maint/data_writers.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "core/data/text_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

namespace velmora {

namespace {

// Thrown by the line builders for a text that the file cannot hold; the file writers turn it into a
// FileError naming the file.
class BadField : public FileError
{
public:
    BadField(std::u16string_view text, const std::string& why)
        : FileError("「" + ToUtf8(text) + "」は" + why + "ので保存できません")
    {
    }
};

void Check(std::u16string_view text)
{
    for (const char16_t c : text) {
        if (c == u',')
            throw BadField(text, "「,」を含んでいます");
        if (c == u'"')
            throw BadField(text, "「\"」を含んでいます");
        if (c == u'\r' || c == u'\n')
            throw BadField(text, "改行を含んでいます");
    }
    std::string bytes;
    if (!EncodeCp932(text, bytes))
        throw BadField(text, "Shift-JIS (コードページ 932) にない文字を含んでいます");
}

class Line
{
public:
    Line& Text(std::u16string_view t)
    {
        Check(t);
        Sep();
        m_s += t;
        return *this;
    }
    Line& Int(int32_t v)
    {
        Sep();
        const std::string s = std::to_string(v);
        m_s.append(s.begin(), s.end());
        return *this;
    }
    Line& Colour(uint32_t v)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "$%06X", v);
        Sep();
        m_s.append(buf, buf + std::char_traits<char>::length(buf));
        return *this;
    }
    std::u16string Take() { return std::move(m_s); }

private:
    void Sep()
    {
        if (m_any)
            m_s += u',';
        m_any = true;
    }
    std::u16string m_s;
    bool m_any = false;
};

std::u16string_view KeitoName(const MasterData& d, int32_t keito, const KeptHorseNames* kept)
{
    if (keito == -1 && kept && !kept->keito.empty())
        return kept->keito;
    return d.KeitoTable[CheckedIndex(keito, kKeitoRows)].name;
}

std::u16string_view KeiroName(const MasterData& d, int32_t keiro, const KeptHorseNames* kept)
{
    if (keiro == -1 && kept && !kept->keiro.empty())
        return kept->keiro;
    return CheckedAt(d.KeiroTable, keiro);
}

std::u16string_view AncestorName(const MasterData& d, int32_t oya, const KeptHorseNames* kept, int position)
{
    if (oya == -1) {
        if (kept && !kept->ancestors[static_cast<size_t>(position)].empty())
            return kept->ancestors[static_cast<size_t>(position)];
        return kUnregistered;
    }
    return d.OyaTable[CheckedIndex(oya, kOyaRows)].name;
}

std::vector<std::u16string> Lines(const MasterData& d, DataFileKind kind, const KeptNames* kept)
{
    switch (kind) {
    case DataFileKind::Omokei:
        return OmokeiFileLines(d);
    case DataFileKind::Keito:
        return KeitoFileLines(d);
    case DataFileKind::Keiro:
        return KeiroFileLines(d);
    case DataFileKind::Cross:
        return CrossFileLines(d);
    case DataFileKind::Oya:
        return OyaFileLines(d);
    case DataFileKind::Dad:
        return DadFileLines(d, kept);
    case DataFileKind::Mam:
        return MamFileLines(d, kept);
    }
    throw RangeError();
}

const std::u16string& FileName(const TDataFiles& files, DataFileKind kind)
{
    switch (kind) {
    case DataFileKind::Omokei:
        return files.Omokei;
    case DataFileKind::Keito:
        return files.Keito;
    case DataFileKind::Keiro:
        return files.Keiro;
    case DataFileKind::Cross:
        return files.Cross;
    case DataFileKind::Oya:
        return files.Oya;
    case DataFileKind::Dad:
        return files.Dad;
    case DataFileKind::Mam:
        return files.Mam;
    }
    throw RangeError();
}

// The bytes of a file as it is now; nullopt when there is none.
std::optional<std::string> FormerContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw FileError(path + ": ファイルを読み込めません");
    return bytes;
}

void WriteOne(const MasterData& d, const std::string& dataDir, const TDataFiles& files, DataFileKind kind)
{
    const PreparedFile f = PrepareDataFile(d, dataDir, files, kind);
    WriteCp932Lines(f.path, f.lines);
}

} // namespace

const KeptHorseNames* KeptRow(const KeptNames* kept, bool stallions, int i)
{
    if (!kept)
        return nullptr;
    const std::vector<KeptHorseNames>& rows = stallions ? kept->dad : kept->mam;
    return static_cast<size_t>(i) < rows.size() ? &rows[static_cast<size_t>(i)] : nullptr;
}

std::vector<std::u16string> OmokeiFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int k = 1; k < kOmokeiRows; ++k) {
        const KeitoRec& r = d.OmokeiTable[k];
        out.push_back(Line().Text(r.name).Colour(static_cast<uint32_t>(r.value)).Text(r.lbl).Take());
    }
    return out;
}

std::vector<std::u16string> KeitoFileLines(const MasterData& d)
{
    // Row 0 is the sentinel "未登録"; every other row is written, so that line k is row k.
    std::vector<std::u16string> out;
    for (int k = 1; k < d.KeitoCount && k < kKeitoRows; ++k)
        out.push_back(Line().Text(d.KeitoTable[k].name).Int(d.KeitoTable[k].value).Take());
    return out;
}

std::vector<std::u16string> KeiroFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (const auto& name : d.KeiroTable)
        out.push_back(Line().Text(name).Take());
    return out;
}

std::vector<std::u16string> CrossFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int k = 1; k < kCrossRows; ++k)
        out.push_back(Line().Text(d.CrossTable[k].name).Colour(d.CrossTable[k].Color).Take());
    return out;
}

std::vector<std::u16string> OyaFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.OyaCount && i < kOyaRows; ++i) {
        const OyaRec& r = d.OyaTable[i];
        out.push_back(Line().Text(r.name).Int(r.a).Int(r.b).Int(r.keito).Take());
    }
    return out;
}

std::vector<std::u16string> DadFileLines(const MasterData& d, const KeptNames* kept)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.DadCount && i < kDadRows; ++i) {
        const DadRec& r = d.DadTable[i];
        const KeptHorseNames* k = KeptRow(kept, true, i);
        Line l;
        l.Text(r.name).Text(r.birth).Text(KeitoName(d, r.keito, k)).Text(KeiroName(d, r.keiro, k));
        l.Int(r.Fee).Int(r.Distance1).Int(r.Distance2);
        l.Text(r.Dirt).Text(r.Grow).Text(r.Kisho).Text(r.Konjo).Text(r.Kenko).Text(r.Jisseki).Text(r.Antei);
        for (int p = 1; p <= 15; ++p)
            l.Text(AncestorName(d, r.Father[p], k, p));
        out.push_back(l.Take());
    }
    return out;
}

std::vector<std::u16string> MamFileLines(const MasterData& d, const KeptNames* kept)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.MamCount && i < kMamRows; ++i) {
        const MamRec& r = d.MamTable[i];
        const KeptHorseNames* k = KeptRow(kept, false, i);
        Line l;
        l.Text(r.name).Text(r.motikomi).Text(KeitoName(d, r.keito, k)).Text(KeiroName(d, r.keiro, k));
        l.Int(r.Fee).Int(r.speed).Int(r.stamina);
        for (int e = 0; e < 15; ++e)
            l.Text(AncestorName(d, r.Father[e], k, e + 1));
        out.push_back(l.Take());
    }
    return out;
}

PreparedFile PrepareDataFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files,
                             DataFileKind kind, const KeptNames* kept)
{
    PreparedFile f { DataFilePath(dataDir, FileName(files, kind)), {} };
    try {
        f.lines = Lines(d, kind, kept);
    } catch (const BadField& e) {
        throw FileError(f.path + ": " + e.what());
    }
    return f;
}

void WriteDataFiles(const std::vector<PreparedFile>& files)
{
    std::vector<std::optional<std::string>> former;
    former.reserve(files.size());
    for (const PreparedFile& f : files)
        former.push_back(FormerContent(f.path));
    for (size_t i = 0; i < files.size(); ++i) {
        try {
            WriteCp932Lines(files[i].path, files[i].lines);
        } catch (const FileError&) {
            // Put back the files written before this one; a failure there cannot be helped any further.
            for (size_t j = 0; j < i; ++j) {
                try {
                    if (former[j])
                        WriteFileAtomic(files[j].path, *former[j]);
                    else
                        std::remove(files[j].path.c_str());
                } catch (const FileError&) {
                }
            }
            throw;
        }
    }
}

void WriteOmokeiFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Omokei);
}
void WriteKeitoFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Keito);
}
void WriteKeiroFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Keiro);
}
void WriteCrossFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Cross);
}
void WriteOyaFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Oya);
}
void WriteDadFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Dad);
}
void WriteMamFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteOne(d, dataDir, files, DataFileKind::Mam);
}

} // namespace velmora
