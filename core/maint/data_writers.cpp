#include "core/maint/data_writers.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "core/data/text_file.h"

#include <cstdio>

namespace velmora {

namespace {

// Thrown by the line builders for a text that the file cannot hold; turned into a FileError naming
// the file by the writers.
struct BadField
{
    std::u16string text;
    std::string why;
};

void Check(std::u16string_view text)
{
    for (const char16_t c : text) {
        if (c == u',')
            throw BadField { std::u16string(text), "「,」を含んでいます" };
        if (c == u'"')
            throw BadField { std::u16string(text), "「\"」を含んでいます" };
        if (c == u'\r' || c == u'\n')
            throw BadField { std::u16string(text), "改行を含んでいます" };
    }
    std::string bytes;
    if (!EncodeCp932(text, bytes))
        throw BadField { std::u16string(text), "Shift-JIS (コードページ 932) にない文字を含んでいます" };
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

const std::u16string& KeitoName(const MasterData& d, int32_t keito)
{
    return d.KeitoTable[CheckedIndex(keito, kKeitoRows)].name;
}

const std::u16string& KeiroName(const MasterData& d, int32_t keiro)
{
    return d.KeiroTable[CheckedIndex(keiro, static_cast<int64_t>(d.KeiroTable.size()))];
}

std::u16string_view AncestorName(const MasterData& d, int32_t oya)
{
    if (oya == -1)
        return kUnregistered;
    return d.OyaTable[CheckedIndex(oya, kOyaRows)].name;
}

template <typename Lines>
void WriteFile(const std::string& dataDir, const std::u16string& name, Lines&& build, const MasterData& d)
{
    const std::string path = DataFilePath(dataDir, name);
    std::vector<std::u16string> lines;
    try {
        lines = build(d);
    } catch (const BadField& e) {
        throw FileError(path + ": 「" + ToUtf8(e.text) + "」は" + e.why + "ので保存できません");
    }
    WriteCp932Lines(path, lines);
}

} // namespace

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

std::vector<std::u16string> DadFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.DadCount && i < kDadRows; ++i) {
        const DadRec& r = d.DadTable[i];
        Line l;
        l.Text(r.name).Text(r.birth).Text(KeitoName(d, r.keito)).Text(KeiroName(d, r.keiro));
        l.Int(r.Fee).Int(r.Distance1).Int(r.Distance2);
        l.Text(r.Dirt).Text(r.Grow).Text(r.Kisho).Text(r.Konjo).Text(r.Kenko).Text(r.Jisseki).Text(r.Antei);
        for (int p = 1; p <= 15; ++p)
            l.Text(AncestorName(d, r.Father[p]));
        out.push_back(l.Take());
    }
    return out;
}

std::vector<std::u16string> MamFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.MamCount && i < kMamRows; ++i) {
        const MamRec& r = d.MamTable[i];
        Line l;
        l.Text(r.name).Text(r.motikomi).Text(KeitoName(d, r.keito)).Text(KeiroName(d, r.keiro));
        l.Int(r.Fee).Int(r.speed).Int(r.stamina);
        for (int e = 0; e < 15; ++e)
            l.Text(AncestorName(d, r.Father[e]));
        out.push_back(l.Take());
    }
    return out;
}

void WriteOmokeiFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Omokei, OmokeiFileLines, d);
}
void WriteKeitoFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Keito, KeitoFileLines, d);
}
void WriteKeiroFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Keiro, KeiroFileLines, d);
}
void WriteCrossFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Cross, CrossFileLines, d);
}
void WriteOyaFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Oya, OyaFileLines, d);
}
void WriteDadFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Dad, DadFileLines, d);
}
void WriteMamFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files)
{
    WriteFile(dataDir, files.Mam, MamFileLines, d);
}

} // namespace velmora
