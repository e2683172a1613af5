// tree FORMULA: the editor's tree reading of a pedigree formula onto an empty chart at position 1.

#include "cli/command.h"
#include "cli/json.h"
#include "core/data/alias.h"
#include "core/data/cp932.h"
#include "core/pedigree/tree_formula.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velmora::cli {

namespace {
int RunTree(Context& ctx)
{
    if (ctx.args.size() != 1)
        throw CliError("usage: tree FORMULA");
    const MasterData& d = ctx.Data();
    Chart chart;
    FormulaBox box;
    box.text = FromUtf8(ctx.args[0]);
    TreeContext tc { d, chart, box, AliasFromFile(AliasFilePath("")) };
    std::u16string message;
    const int result = ShowTreeFormula(tc, &message);
    const ChartCaptions captions = BuildCaptions(d, chart);

    Json j;
    j.BeginObject();
    j.Field("result", result);
    std::vector<std::u16string> messages;
    if (!message.empty())
        messages.push_back(message);
    j.Key("messages").StringArray(messages);
    j.Key("slots").BeginArray();
    for (int k = 1; k <= kChartPositions; ++k) {
        const SlotRec& s = chart.slot[k];
        j.BeginObject();
        j.Field("pos", k);
        j.Field("oya", s.OyaIdx);
        j.Field("dad", s.DadIdx);
        j.Field("mam", s.MamIdx);
        j.EndObject();
    }
    j.EndArray();
    j.Key("complete").Bool(captions.complete);
    j.Field("formula", std::u16string_view(captions.formula));
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}
} // namespace

static const Registration reg { "tree", "tree FORMULA   (tree reading onto an empty chart at position 1)", &RunTree };

} // namespace velmora::cli
