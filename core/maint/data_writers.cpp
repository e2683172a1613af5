#include "core/maint/data_writers.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/loader.h"

namespace velmora {

namespace {

void WriteOne(const MasterData& d, const std::string& dataDir, const TDataFiles& files, DataFileKind kind)
{
    const PreparedFile f = PrepareDataFile(d, dataDir, files, kind);
    CommitFileSet(dataDir, { SetFile { f.path, f.content.bytes } });
}

} // namespace

PreparedFile PrepareDataFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files,
                             DataFileKind kind)
{
    PreparedFile f;
    f.kind = kind;
    f.path = DataFilePath(dataDir, FileNameOf(files, kind));
    std::vector<std::u16string> lines;
    try {
        lines = FileLines(d, kind);
    } catch (const FileError& e) {
        throw FileError(f.path + ": " + e.what());
    }
    const FileSource& before = SourceOf(d.Sources, kind);
    const size_t first = FirstFileRow(kind);
    FileSource& out = f.content;
    out.rows.assign(first, SourceLine {});
    std::string encoded;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view raw;
        if (!before.SameAs(first + i, lines[i], &raw)) {
            EncodeCp932(lines[i], encoded); // the line builders refuse what the code page lacks
            raw = encoded;
        }
        out.rows.push_back({ out.bytes.size(), raw.size(), std::move(lines[i]) });
        out.bytes += raw;
        out.bytes += "\r\n";
    }
    return f;
}

std::vector<std::string> WriteDataFiles(MasterData& d, const std::string& dataDir, std::vector<PreparedFile> files,
                                        std::vector<SetFile> extra)
{
    std::vector<SetFile> set;
    for (const PreparedFile& f : files)
        set.push_back({ f.path, f.content.bytes });
    for (SetFile& e : extra)
        set.push_back(std::move(e));
    std::vector<std::string> linksDropped = CommitFileSet(dataDir, set);
    for (PreparedFile& f : files)
        SourceOf(d.Sources, f.kind) = std::move(f.content);
    return linksDropped;
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
