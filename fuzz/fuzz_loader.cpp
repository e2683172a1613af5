// libFuzzer target for the data files. The first byte picks one of the nine files, the rest is its
// content; the other eight files hold a small coherent data set. The eight master files are loaded
// with GetMasterData, the point file with ReadPoints. Checked: every index the load stores lies inside
// its table, a pair of every loaded stallion and broodmare evaluates without a crash, and the files
// written back from the tables (the data editing window's writers) load into the same tables; a point
// file read twice is not written the second time. Any failed check traps.

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/data/loader.h"
#include "core/eval/html_report.h"
#include "core/maint/data_writers.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/data_files.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace velmora;
using velmora::fuzz::Check;

namespace {

constexpr int kFileKinds = 9; // the eight master files, then the point file

const test::TempDir& BaseDir()
{
    static const test::TempDir dir;
    return dir;
}

// The file of each kind, in the order of the first byte.
std::u16string TDataFiles::*const kKinds[kFileKinds]
    = { &TDataFiles::Omokei, &TDataFiles::Keito, &TDataFiles::Keiro, &TDataFiles::Cross, &TDataFiles::Oya,
        &TDataFiles::Dad,    &TDataFiles::Mam,   &TDataFiles::Nix,   &TDataFiles::Aisho };

void WriteBase(const test::TempDir& dir)
{
    test::WriteDataSet(dir, test::SmallDataSet());
    dir.WriteBytes(ToUtf8(test::DefaultDataFiles().Aisho), "");
}

// Empty tables for a load; assigning them to tables kept from the previous run reuses their memory,
// which keeps the fuzzer fast.
MasterData& Fresh(MasterData& d)
{
    static const MasterData empty;
    d = empty;
    return d;
}

bool InRange(int32_t v, int32_t lo, int32_t end)
{
    return v >= lo && v < end;
}

void CheckIndices(const MasterData& d)
{
    Check(InRange(d.KeitoCount, 1, kKeitoRows + 1) && InRange(d.OyaCount, 0, kOyaRows + 1)
          && InRange(d.DadCount, 0, kDadRows + 1) && InRange(d.MamCount, 0, kMamRows + 1)
          && InRange(d.NixCount, 0, kNixRows + 1) && InRange(d.SpeedCrossRow, 0, kCrossRows));
    const auto keiro = static_cast<int32_t>(d.KeiroTable.size());
    for (int i = 0; i < d.OyaCount; ++i) {
        const OyaRec& r = d.OyaTable[static_cast<size_t>(i)];
        Check(InRange(r.a, 0, kCrossRows) && InRange(r.b, 0, kCrossRows) && InRange(r.keito, 0, kKeitoRows));
    }
    for (int i = 0; i < d.DadCount; ++i) {
        const DadRec& r = d.DadTable[static_cast<size_t>(i)];
        Check(InRange(r.keito, 0, d.KeitoCount) && InRange(r.keiro, 0, keiro));
        for (const int32_t f : r.Father)
            Check(InRange(f, -1, d.OyaCount));
    }
    for (int i = 0; i < d.MamCount; ++i) {
        const MamRec& r = d.MamTable[static_cast<size_t>(i)];
        Check(InRange(r.keito, 0, d.KeitoCount) && InRange(r.keiro, 0, keiro));
        for (const int32_t f : r.Father)
            Check(InRange(f, -1, d.OyaCount));
    }
    for (int i = 0; i < d.NixCount; ++i) {
        const NixRec& n = d.NixList[static_cast<size_t>(i)];
        Check(InRange(n.keito1, 0, d.KeitoCount) && InRange(n.keito2, 0, d.KeitoCount));
    }
}

// A few pairs of the loaded horses, evaluated and reported as the windows do.
void Evaluate(const MasterData& d)
{
    static const PtsRec pts = DefaultPointTable();
    for (int i = 0; i < std::min(d.DadCount, 8) && d.MamCount > 0; ++i) {
        const DadRec& s = d.DadTable[static_cast<size_t>(i)];
        const MamRec& m = d.MamTable[static_cast<size_t>(i % d.MamCount)];
        try {
            CompatValue(d, pts, s, m);
            if (i == 0)
                HtmlReportBytes(d, s.Fee, s.name + u" * " + m.name, s.Father, m.Father);
        } catch (const VelmoraError&) {
            // Ranges and overflows of odd data are refused with a message.
        }
    }
}

// An ancestor entry as the files mean it: -1 is written as "未登録", which reads back as the row of
// that name when the ancestor file has one; both stand for an unknown horse.
int32_t Ancestor(const MasterData& d, int32_t f)
{
    return f >= 0 && d.OyaTable[static_cast<size_t>(f)].name == kUnregistered ? -1 : f;
}

template <typename Horse> bool SameHorse(const MasterData& a, Horse x, const MasterData& b, Horse y)
{
    for (size_t p = 0; p < x.Father.size(); ++p) {
        if (Ancestor(a, x.Father[p]) != Ancestor(b, y.Father[p]))
            return false;
        x.Father[p] = y.Father[p];
    }
    return x == y;
}

// The fields the files hold, as they come back from the writers (the derived groups are left out:
// they follow the order in which the rows are filled in).
void CheckSame(const MasterData& a, const MasterData& b)
{
    Check(a.KeitoCount == b.KeitoCount && a.OyaCount == b.OyaCount && a.DadCount == b.DadCount
          && a.MamCount == b.MamCount && a.KeiroTable == b.KeiroTable);
    for (int i = 0; i < a.KeitoCount; ++i)
        Check(a.KeitoTable[static_cast<size_t>(i)].name == b.KeitoTable[static_cast<size_t>(i)].name
              && a.KeitoTable[static_cast<size_t>(i)].value == b.KeitoTable[static_cast<size_t>(i)].value);
    for (int k = 0; k < kCrossRows; ++k)
        Check(a.CrossTable[static_cast<size_t>(k)] == b.CrossTable[static_cast<size_t>(k)]);
    for (int k = 0; k < kOmokeiRows; ++k)
        Check(a.OmokeiTable[static_cast<size_t>(k)] == b.OmokeiTable[static_cast<size_t>(k)]);
    // An ancestor's line, once known, is kept. One still unknown (0) may be filled in when the files are
    // read back: the lines are filled in from the stallions in file order, and a relative whose line was
    // filled in only by a later stallion the first time has it from the start then. (With a row named
    // "未登録", the unknown horses the rewritten horse files name read back as that row, which fills in too.)
    for (int i = 0; i < a.OyaCount; ++i) {
        const OyaRec& x = a.OyaTable[static_cast<size_t>(i)];
        const OyaRec& y = b.OyaTable[static_cast<size_t>(i)];
        Check(x.name == y.name && x.a == y.a && x.b == y.b && (x.keito == y.keito || x.keito == 0));
    }
    for (int i = 0; i < a.DadCount; ++i)
        Check(SameHorse(a, a.DadTable[static_cast<size_t>(i)], b, b.DadTable[static_cast<size_t>(i)]));
    for (int i = 0; i < a.MamCount; ++i)
        Check(SameHorse(a, a.MamTable[static_cast<size_t>(i)], b, b.MamTable[static_cast<size_t>(i)]));
}

void RoundTrip(const MasterData& d, const TDataFiles& files)
{
    static const test::TempDir out;
    static const bool base = (WriteBase(out), true); // the nick and point files; the writers replace the rest
    (void)base;
    std::vector<PreparedFile> prepared;
    try {
        for (const DataFileKind kind : { DataFileKind::Omokei, DataFileKind::Keito, DataFileKind::Keiro,
                                         DataFileKind::Cross, DataFileKind::Oya, DataFileKind::Dad, DataFileKind::Mam })
            prepared.push_back(PrepareDataFile(d, out.Path(), files, kind));
    } catch (const FileError&) {
        return; // a text the files cannot give back is refused before anything is written
    }
    std::vector<SetFile> set;
    for (const PreparedFile& f : prepared)
        set.push_back({ f.path, f.content.bytes });
    CommitFileSet(out.Path(), set);
    static MasterData back;
    Check(GetMasterData(Fresh(back), out.Path(), files).completed);
    CheckSame(d, back);
}

void LoadMasterFiles(const TDataFiles& files)
{
    static MasterData d;
    const LoadResult r = GetMasterData(Fresh(d), BaseDir().Path(), files);
    CheckIndices(d);
    if (!r.completed)
        return;
    Evaluate(d);
    RoundTrip(d, files);
}

void ReadPointFile(const std::string& name)
{
    const std::string path = BaseDir().File(name);
    try {
        IniFile file(path);
        PtsRec first;
        ReadPoints(file, first);
        const std::string written = BaseDir().ReadBytes(name);
        IniFile again(path);
        PtsRec second;
        ReadPoints(again, second);
        Check(second == first);
        Check(BaseDir().ReadBytes(name) == written);
    } catch (const FileError&) {
        // Not code page 932 text, or a file that cannot be written: refused with a message.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    static const TDataFiles files = test::DefaultDataFiles();
    static const std::array<std::string, kFileKinds> base = [] {
        WriteBase(BaseDir());
        std::array<std::string, kFileKinds> content;
        for (int k = 0; k < kFileKinds; ++k)
            content[static_cast<size_t>(k)] = BaseDir().ReadBytes(ToUtf8(files.*kKinds[k]));
        return content;
    }();
    const int kind = bytes[0] % kFileKinds;
    const std::string name = ToUtf8(files.*kKinds[kind]);
    BaseDir().WriteBytes(name, std::string_view(reinterpret_cast<const char*>(bytes) + 1, size - 1));
    if (kind < kFileKinds - 1)
        LoadMasterFiles(files);
    else
        ReadPointFile(name);
    BaseDir().WriteBytes(name, base[static_cast<size_t>(kind)]);
    return 0;
}
