// libFuzzer target for velmora-cli's search conditions: the JSON reader and CONDITIONS.json applied to
// a freshly opened conditions window over a small data set, then the search itself (one worker).
// Checked: applied conditions stay inside the ranges the window allows (generations, three-state
// settings, effect numbers, counts that match the candidate marks), and the search lists no more lines
// than the result limit and reports an error only as a message. Any failed check traps. CI runs it also
// with inputs of up to 1 MB and a time limit per input, so that reading slower than linear is caught.

#include "cli/command.h"
#include "cli/json_reader.h"
#include "cli/search_conditions_json.h"
#include "core/data/loader.h"
#include "core/search/search_conditions.h"
#include "core/search/search_engine.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/data_files.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace velmora;
using namespace velmora::search;
using velmora::fuzz::Check;

namespace {

// A little more than the large inputs' run allows (-max_len=1048576).
constexpr size_t kMaxInput = (1 << 20) + 4096;

const MasterData& BaseData()
{
    static const MasterData data = [] {
        const test::TempDir dir;
        test::WriteDataSet(dir, test::SmallDataSet());
        MasterData d;
        Check(GetMasterData(d, dir.Path(), test::DefaultDataFiles()).completed);
        return d;
    }();
    return data;
}

class CountingListener : public SearchListener
{
public:
    void StepProgress() override { }
    void AddResult(std::u16string_view line) override
    {
        Check(!line.empty());
        ++results;
    }
    void SearchError(std::string_view message) override
    {
        Check(!message.empty());
        ++errors;
    }
    void SearchDone() override { }
    int64_t results = 0;
    int errors = 0;
};

bool ThreeState(uint8_t v)
{
    return v <= 2;
}

void CheckConditions(const MasterData& d, const SearchConditions& c)
{
    Check(c.MaxGen >= 1 && c.MaxGen <= kMaxGenerations);
    Check(c.SearchCounts[0] == CountMamCandidates(d));
    for (int g = 1; g <= kMaxGenerations; ++g) {
        const HaigoJokenRec& h = c.HaigoJoken[static_cast<size_t>(g)];
        Check(ThreeState(h.Omo) && ThreeState(h.Mig) && ThreeState(h.Yok) && ThreeState(h.Outb) && h.Kiken <= 1);
        Check(h.MamNiKoka >= -1 && h.MamNiKoka <= kEffects && h.DadNiKoka >= -1 && h.DadNiKoka <= kEffects);
        Check(h.Active == DeriveActive(h));
        Check(c.SearchCounts[static_cast<size_t>(g)] == CountDadCandidates(d, g));
    }
    bool require = false, exclude = false;
    for (const SosenItem& item : c.Sosen) {
        require = require || item.mark == SosenMark::Checked;
        exclude = exclude || item.mark == SosenMark::Unchecked;
    }
    Check(require == c.SosenRequire && exclude == c.SosenExclude);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size > kMaxInput)
        return 0;
    cli::JsonValue doc;
    try {
        doc = cli::ParseJson(std::string_view(reinterpret_cast<const char*>(bytes), size));
    } catch (const cli::JsonError&) {
        return 0;
    }
    MasterData d = BaseData();
    SearchConditions c;
    InitSearchConditions(d, c);
    try {
        cli::ApplyConditions(d, doc, c);
    } catch (const cli::JsonError&) {
        return 0;
    } catch (const cli::CliError&) {
        return 0;
    }
    CheckConditions(d, c);

    CountingListener listener;
    SearchEngine engine(d, c, listener);
    engine.Start(1);
    engine.Wait();
    const SearchStats stats = engine.Stats();
    Check(stats.results == listener.results && listener.errors <= 1);
    Check(listener.results <= std::max<int64_t>(c.ResultLimit, 0));
    return 0;
}
