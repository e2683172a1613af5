#include "core/data/file_lines.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"

#include <climits>

#include <cstdio>

namespace velmora {

namespace {

// Thrown by the line builders for a text that the file cannot hold.
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
    if (!IsCp932Encodable(text))
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

std::u16string_view AncestorName(const MasterData& d, int32_t oya, const UnknownNames& unknown, int position)
{
    const std::u16string_view name = AncestorNameOf(d, oya, unknown, position);
    return name.empty() && oya == -1 ? kUnregistered : name;
}

} // namespace

const std::u16string& FileNameOf(const TDataFiles& files, DataFileKind kind)
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

FileSource& SourceOf(DataSources& s, DataFileKind kind)
{
    return const_cast<FileSource&>(SourceOf(static_cast<const DataSources&>(s), kind));
}

const FileSource& SourceOf(const DataSources& s, DataFileKind kind)
{
    switch (kind) {
    case DataFileKind::Omokei:
        return s.omokei;
    case DataFileKind::Keito:
        return s.keito;
    case DataFileKind::Keiro:
        return s.keiro;
    case DataFileKind::Cross:
        return s.cross;
    case DataFileKind::Oya:
        return s.oya;
    case DataFileKind::Dad:
        return s.dad;
    case DataFileKind::Mam:
        return s.mam;
    }
    throw RangeError();
}

size_t FirstFileRow(DataFileKind kind)
{
    return kind == DataFileKind::Omokei || kind == DataFileKind::Keito || kind == DataFileKind::Cross ? 1 : 0;
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

std::u16string OyaFileLine(const OyaRec& r)
{
    return Line().Text(r.name).Int(r.a).Int(r.b).Int(r.keito).Take();
}

int32_t StoredOyaLine(const FileSource& source, size_t row)
{
    if (row >= source.rows.size())
        return INT32_MAX;
    const SourceLine& l = source.rows[row];
    std::u16string text;
    if (l.offset + l.length > source.bytes.size()
        || !DecodeCp932(std::string_view(source.bytes).substr(l.offset, l.length), text))
        return INT32_MAX;
    FieldReader f(text);
    for (int i = 0; i < 3; ++i)
        f.Next();
    return ParseIntDef(f.Next(), 0);
}

std::vector<std::u16string> OyaFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.OyaCount && i < kOyaRows; ++i)
        out.push_back(OyaFileLine(d.OyaTable[i]));
    return out;
}

std::vector<std::u16string> DadFileLines(const MasterData& d)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < d.DadCount && i < kDadRows; ++i) {
        const DadRec& r = d.DadTable[i];
        Line l;
        l.Text(r.name).Text(r.birth);
        l.Text(d.KeitoTable[CheckedIndex(r.keito, kKeitoRows)].name).Text(CheckedAt(d.KeiroTable, r.keiro));
        l.Int(r.Fee).Int(r.Distance1).Int(r.Distance2);
        l.Text(r.Dirt).Text(r.Grow).Text(r.Kisho).Text(r.Konjo).Text(r.Kenko).Text(r.Jisseki).Text(r.Antei);
        for (int p = 1; p <= 15; ++p)
            l.Text(AncestorName(d, r.Father[p], r.Unknown, p));
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
        l.Text(r.name).Text(r.motikomi);
        l.Text(d.KeitoTable[CheckedIndex(r.keito, kKeitoRows)].name).Text(CheckedAt(d.KeiroTable, r.keiro));
        l.Int(r.Fee).Int(r.speed).Int(r.stamina);
        for (int e = 0; e < 15; ++e)
            l.Text(AncestorName(d, r.Father[e], r.Unknown, e + 1));
        out.push_back(l.Take());
    }
    return out;
}

std::vector<std::u16string> FileLines(const MasterData& d, DataFileKind kind)
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
        return DadFileLines(d);
    case DataFileKind::Mam:
        return MamFileLines(d);
    }
    throw RangeError();
}

void NoteWrittenLines(MasterData& d)
{
    for (const DataFileKind kind : kEditedFiles) {
        FileSource& source = SourceOf(d.Sources, kind);
        std::vector<std::u16string> lines;
        try {
            lines = FileLines(d, kind);
        } catch (const VelmoraError&) {
            continue; // a row that cannot be written as read: every row of the file is written afresh
        }
        const size_t first = FirstFileRow(kind);
        for (size_t i = first; i < source.rows.size() && i - first < lines.size(); ++i)
            source.rows[i].written = std::move(lines[i - first]);
    }
}

} // namespace velmora
