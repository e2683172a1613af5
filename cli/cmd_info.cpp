// velmora-cli info: the table counts after loading the master data, and the load's messages.

#include "cli/command.h"
#include "cli/json.h"
#include "core/data/master_data.h"

#include <cstdio>

namespace velmora::cli {

namespace {
int RunInfo(Context& ctx)
{
    if (!ctx.args.empty())
        throw CliError("usage: velmora-cli [--data DIR] info");
    const MasterData& d = ctx.Data();
    Json j;
    j.BeginObject();
    j.Field("oya", d.OyaCount);
    j.Field("dad", d.DadCount);
    j.Field("mam", d.MamCount);
    j.Field("keito", d.KeitoCount);
    j.Field("keiro", static_cast<int64_t>(d.KeiroTable.size()));
    j.Field("nix", d.NixCount);
    j.Field("speedCrossRow", d.SpeedCrossRow);
    j.Key("messages").StringArray(ctx.loadMessages);
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}

const Registration reg { "info", "info                      table counts and load messages (JSON)", &RunInfo };
} // namespace

} // namespace velmora::cli
