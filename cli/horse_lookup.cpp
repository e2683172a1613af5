#include "cli/horse_lookup.h"

#include "cli/command.h"
#include "core/app/app_state.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/data/name_fold.h"
#include "core/mating/points.h"

#include <string>

namespace velmora::cli {

namespace {

template <typename Find> int Lookup(const MasterData& d, std::string_view name, Find find, const char* what)
{
    const std::u16string given = FromUtf8(name);
    int i = find(d, given);
    if (i < 0)
        i = find(d, ToHalfWidth(given));
    if (i < 0)
        throw CliError(std::string("velmora-cli: ") + what + " not found: " + NameForMessage(name));
    return i;
}

} // namespace

int LookupStallion(const MasterData& d, std::string_view name)
{
    return Lookup(d, name, FindDad, "stallion");
}

int LookupMare(const MasterData& d, std::string_view name)
{
    return Lookup(d, name, FindMam, "broodmare");
}

const PtsRec& CurrentPoints(Context& ctx)
{
    ctx.Data();
    AppState& app = App();
    if (!ctx.pointsName.empty())
        ChoosePointTable(app, FromUtf8(ctx.pointsName));
    else
        ReadPoints(OpenPointFile(app.DataDir, app.DataFiles.Aisho), PointTable());
    return PointTable();
}

} // namespace velmora::cli
