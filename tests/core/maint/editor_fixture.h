#pragma once
// A data editing window model over a small data set written to a temporary data directory: the small
// test data set, plus a stallion ｴｽ whose fifteen ancestors S1..S15 are all known, six cross effects and
// nine sire lines.

#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "core/maint/data_editor.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// The seven files the editor writes.
inline const std::vector<std::string>& EditedFiles()
{
    static const std::vector<std::string> files { "面白系統.CSV", "系統.CSV",   "毛色.CSV", "ｸﾛｽ.CSV",
                                                  "祖先馬.CSV",   "種牡馬.CSV", "牝馬.CSV" };
    return files;
}

inline DataSetText EditorDataSet()
{
    DataSetText s = SmallDataSet();
    std::u16string es = u"ｴｽ,内国,ﾉｰｻﾞﾝ,栗毛,4,1600,2400,△,持続,A,A,A,A,A";
    for (int p = 1; p <= 15; ++p) {
        const std::u16string name = u"S" + FromUtf8(std::to_string(p));
        s.oya.push_back(name + u",0,0," + FromUtf8(std::to_string(1 + p % 9)));
        es += u"," + name;
    }
    s.oya.push_back(u"ｴｽ,0,0,1");
    s.dad.push_back(es);
    s.cross.push_back(u"ｸﾛｽ5,$000001");
    s.cross.push_back(u"ｸﾛｽ6,$000002");
    for (const char16_t* line : { u"ﾗｲﾝ6,0", u"ﾗｲﾝ7,0", u"ﾗｲﾝ8,0", u"ﾗｲﾝ9,0" })
        s.keito.push_back(line);
    return s;
}

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override { Load(EditorDataSet()); }

    // Writes the data set and loads it. Each written file loses its last line end, which the editor
    // always writes, so that every rewrite shows in the bytes.
    void Load(const DataSetText& data)
    {
        WriteDataSet(dir, data);
        for (const std::string& f : EditedFiles()) {
            std::string bytes = dir.ReadBytes(f);
            bytes.resize(bytes.size() - 2);
            dir.WriteBytes(f, bytes);
        }
        Reload();
    }

    // Loads the tables from the files and opens the editor afresh.
    void Reload()
    {
        d = std::make_unique<MasterData>();
        const LoadResult r = GetMasterData(*d, dir.Path(), DefaultDataFiles());
        ASSERT_TRUE(r.completed);
        ed = std::make_unique<DataEditor>(*d, dir.Path(), DefaultDataFiles(), autoFill);
    }

    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> bytes;
        for (const std::string& f : EditedFiles())
            bytes[f] = dir.ReadBytes(f);
        return bytes;
    }

    // The files whose bytes differ from before, in the order of EditedFiles.
    std::vector<std::string> Changed(const std::map<std::string, std::string>& before) const
    {
        std::vector<std::string> changed;
        for (const std::string& f : EditedFiles())
            if (before.at(f) != dir.ReadBytes(f))
                changed.push_back(f);
        return changed;
    }

    std::vector<std::u16string> FileLines(const std::string& name) const
    {
        std::vector<std::u16string> lines;
        const std::u16string text = FromCp932(dir.ReadBytes(name));
        size_t start = 0;
        for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    TempDir dir;
    bool autoFill = false;
    std::unique_ptr<MasterData> d;
    std::unique_ptr<DataEditor> ed;
};

// Every table within its count (and every row of the fixed tables) is the same.
inline void ExpectSameTables(const MasterData& a, const MasterData& b)
{
    EXPECT_EQ(a.OyaCount, b.OyaCount);
    EXPECT_EQ(a.DadCount, b.DadCount);
    EXPECT_EQ(a.MamCount, b.MamCount);
    EXPECT_EQ(a.KeitoCount, b.KeitoCount);
    EXPECT_TRUE(a.OyaTable == b.OyaTable);
    EXPECT_TRUE(a.DadTable == b.DadTable);
    EXPECT_TRUE(a.MamTable == b.MamTable);
    EXPECT_TRUE(a.KeitoTable == b.KeitoTable);
    EXPECT_TRUE(a.KeiroTable == b.KeiroTable);
    EXPECT_TRUE(a.CrossTable == b.CrossTable);
    EXPECT_TRUE(a.OmokeiTable == b.OmokeiTable);
}

} // namespace velmora::test
