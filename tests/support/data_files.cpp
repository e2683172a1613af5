#include "tests/support/data_files.h"

#include "core/app/settings.h"
#include "core/data/cp932.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velmora::test {

TempDir::TempDir()
    : TempDir(std::filesystem::temp_directory_path().string())
{
}

TempDir::TempDir(const std::string& base)
{
    std::string tmpl = base + "/velmora-test-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("cannot create a temporary directory under " + base);
    m_path = tmpl + "/";
}

void CopyFiles(const std::string& from, const TempDir& dir)
{
    for (const auto& e : std::filesystem::directory_iterator(from))
        if (e.is_regular_file())
            std::filesystem::copy_file(e.path(), dir.File(e.path().filename().string()),
                                       std::filesystem::copy_options::overwrite_existing);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempDir::WriteBytes(std::string_view name, std::string_view bytes) const
{
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file " + File(name));
}

void TempDir::WriteText(std::string_view name, std::u16string_view text) const
{
    WriteBytes(name, ToCp932(text));
}

void TempDir::WriteLines(std::string_view name, const std::vector<std::u16string>& lines) const
{
    std::u16string text;
    for (const auto& l : lines) {
        text += l;
        text += u"\r\n";
    }
    WriteText(name, text);
}

std::string TempDir::ReadBytes(std::string_view name) const
{
    std::ifstream in(File(name), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read test file " + File(name));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TDataFiles DefaultDataFiles()
{
    return velmora::DefaultDataFiles();
}

void WriteDataSet(const TempDir& dir, const DataSetText& data)
{
    const TDataFiles f = DefaultDataFiles();
    dir.WriteLines(ToUtf8(f.Omokei), data.omokei);
    dir.WriteLines(ToUtf8(f.Keito), data.keito);
    dir.WriteLines(ToUtf8(f.Keiro), data.keiro);
    dir.WriteLines(ToUtf8(f.Cross), data.cross);
    dir.WriteLines(ToUtf8(f.Oya), data.oya);
    dir.WriteLines(ToUtf8(f.Dad), data.dad);
    dir.WriteLines(ToUtf8(f.Mam), data.mam);
    dir.WriteLines(ToUtf8(f.Nix), data.nix);
}

DataSetText SmallDataSet()
{
    DataSetText s;
    for (int i = 1; i <= 16; ++i) {
        const std::string n = std::to_string(i);
        const std::u16string num(n.begin(), n.end());
        s.omokei.push_back(u"ｸﾞﾙｰﾌﾟ" + num + u",$00" + (i < 10 ? u"0" + num : num) + u"00,G" + num);
    }
    s.keito = { u"ﾉｰｻﾞﾝ,1", u"ﾌﾞﾗｲﾄ,2", u"ﾒｲﾌﾟﾙ,3", u"ﾛｰｽﾞ,0", u"ｱｲﾗﾝﾄﾞ,4" };
    s.keiro = { u"栗毛", u"鹿毛", u"芦毛" };
    s.cross = { u"短距離　,$0000FF", u"速力　　,$00FF00", u"底力↑　,$FF0000", u"長距離　,$808080" };
    // name, a, b, keito
    s.oya = {
        u"ｱﾙﾌｧ,0,0,1", // 0
        u"ﾍﾞｰﾀ,1,0,1", // 1
        u"ｶﾞﾝﾏ,0,0,2", // 2
        u"ﾃﾞﾙﾀ,2,3,2", // 3
        u"ｲﾌﾟｼﾛﾝ,0,0,3", // 4
        u"ｾﾞｰﾀ,0,0,3", // 5
        u"ｴｰﾀ,4,0,4", // 6
        u"ｼｰﾀ,0,0,5", // 7
        u"ｲｵﾀ,0,0,0", // 8: no line, no group
        u"ｶｯﾊﾟ,0,0,1", // 9
        u"ﾗﾑﾀﾞ,0,0,2", // 10
        u"ﾐｭｰ,0,0,0", // 11: no line, no group
    };
    // name, birth, line, colour, star, dist1, dist2, dirt, grow, 5 grades, 15 ancestors
    s.dad = {
        u"ｶｯﾊﾟ,内国,ﾉｰｻﾞﾝ,栗毛,3,1200,2000,◎,早熟,A,B,C,A,B,"
        u"ｱﾙﾌｧ,ﾍﾞｰﾀ,ｶﾞﾝﾏ,,ﾃﾞﾙﾀ,ｲﾌﾟｼﾛﾝ,ｾﾞｰﾀ,ｴｰﾀ,ｼｰﾀ,,,,,,",
        u"ﾗﾑﾀﾞ,外国,ﾌﾞﾗｲﾄ,鹿毛,5,1600,2400,○,普通,B,B,B,B,B,"
        u"ｶﾞﾝﾏ,ﾃﾞﾙﾀ,ｱﾙﾌｧ,ｲﾌﾟｼﾛﾝ,ｴｰﾀ,ﾍﾞｰﾀ,ｼｰﾀ,,,,,,,,",
        u"ﾐｭｰ,配信,ｷﾝｸﾞ,青鹿毛,1,1000,1400,,晩成,C,C,C,C,C,"
        u"ｲｵﾀ,ｱﾙﾌｧ,ｶﾞﾝﾏ,,,,,,,,,,,,",
    };
    // name, origin, line, colour, price, speed, stamina, 15 ancestors
    s.mam = {
        u"ﾋﾒ,自家,ﾉｰｻﾞﾝ,鹿毛,5000,7,4,ｶｯﾊﾟ,ｱﾙﾌｧ,ｶﾞﾝﾏ,ﾍﾞｰﾀ,ﾃﾞﾙﾀ,ｲﾌﾟｼﾛﾝ,ｾﾞｰﾀ,,,,,,,,",
        u"ﾊﾅ,他家,ﾌﾞﾗｲﾄ,白毛,8000,5,8,ﾗﾑﾀﾞ,ｶﾞﾝﾏ,ｴｰﾀ,ﾃﾞﾙﾀ,,ｼｰﾀ,,,,,,,,,",
    };
    s.nix = { u"ﾉｰｻﾞﾝ,ﾌﾞﾗｲﾄ,30", u"ﾌﾞﾗｲﾄ,2,ﾒｲﾌﾟﾙ,25", u"ﾒｲﾌﾟﾙ,ﾛｰｽﾞ,-5" };
    return s;
}

} // namespace velmora::test
