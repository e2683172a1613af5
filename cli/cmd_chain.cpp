// chain FORMULA: the viewer's chain reading of a pedigree formula and the arrays of its first five entries.

#include "cli/command.h"
#include "cli/json.h"
#include "core/data/alias.h"
#include "core/data/cp932.h"
#include "core/pedigree/formula.h"
#include "core/pedigree/viewer.h"

#include <cstdio>
#include <string>

namespace velmora::cli {

namespace {
int RunChain(Context& ctx)
{
    if (ctx.args.size() != 1)
        throw CliError("usage: chain FORMULA");
    const MasterData& d = ctx.Data();
    ChainCarry carry;
    const ChainReading r = ReadChain(d, AliasFromFile(AliasFilePath("")), FromUtf8(ctx.args[0]), carry);

    ViewerChain view;
    view.Show(r.entries);
    const ViewArrays arrays = BuildViewArrays(d, view.window);

    Json j;
    j.BeginObject();
    j.Field("normalized", std::u16string_view(r.normalized));
    j.Key("entries").BeginArray();
    for (const ParentRec& e : r.entries) {
        j.BeginObject();
        j.Key("sex").Bool(e.Sex);
        j.Field("num", e.Num);
        j.Field("name", std::u16string_view(e.Name));
        j.EndObject();
    }
    j.EndArray();
    j.Key("messages").StringArray(r.messages);
    j.Field("aliasCandidate", std::u16string_view(carry.aliasCandidate));
    j.Field("currentMare", carry.currentMare);
    j.Key("stallion").IntArray(arrays.stallion.data(), arrays.stallion.size());
    j.Key("mare").IntArray(arrays.mare.data(), arrays.mare.size());
    j.Field("star", arrays.star);
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}
} // namespace

static const Registration reg { "chain",
                                "chain FORMULA   (chain reading; sex true = registered stallion or unknown horse, "
                                "false = registered broodmare; aliases from ALIAS.TXT in the current directory)",
                                &RunChain };

} // namespace velmora::cli
