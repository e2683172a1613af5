// rank --mare NAME | rank --stallion NAME [--text [--max N] [--wrap W] [--namelen L] [--date TEXT]]:
// every stallion against the mare (or every broodmare against the stallion), ranked by compatibility.

#include "cli/command.h"
#include "cli/horse_lookup.h"
#include "cli/json.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/mating/ordering.h"
#include "core/mating/scoring.h"
#include "core/mating/text_list.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velmora::cli {

namespace {

constexpr const char* kUsage = "usage: velmora-cli [--data DIR] [--points NAME] rank (--mare NAME | --stallion NAME) "
                               "[--text [--max N] [--wrap W] [--namelen L] [--date TEXT]]";

int RunRank(Context& ctx)
{
    std::string mareName, stallionName;
    bool text = false;
    TextListSettings settings;
    std::u16string date;
    bool haveDate = false;
    const auto& a = ctx.args;
    for (size_t i = 0; i < a.size(); ++i) {
        auto value = [&]() -> const std::string& {
            if (i + 1 >= a.size())
                throw CliError(kUsage);
            return a[++i];
        };
        if (a[i] == "--mare")
            mareName = value();
        else if (a[i] == "--stallion")
            stallionName = value();
        else if (a[i] == "--text")
            text = true;
        else if (a[i] == "--max")
            settings.maxRank = FromUtf8(value());
        else if (a[i] == "--wrap")
            settings.wrap = FromUtf8(value());
        else if (a[i] == "--namelen")
            settings.nameLength = FromUtf8(value());
        else if (a[i] == "--date")
            date = FromUtf8(value()), haveDate = true;
        else
            throw CliError(kUsage);
    }
    if (mareName.empty() == stallionName.empty())
        throw CliError(kUsage);

    const MasterData& d = ctx.Data();
    const bool stallions = !mareName.empty(); // the list of stallions against a mare
    const int target = stallions ? LookupMare(d, mareName) : LookupStallion(d, stallionName);
    const PtsRec& pts = CurrentPoints(ctx);

    std::vector<ListRow> rows;
    if (stallions) {
        const MamRec& mare = d.MamTable[static_cast<size_t>(target)];
        for (int i = 0; i < d.DadCount; ++i)
            rows.push_back({ i, 0, StallionStatusPoints(d, pts, d.DadTable[static_cast<size_t>(i)]) });
        SetStallionKeys(d, pts, rows, mare, MareStatusPoints(d, pts, mare));
        SortRows(d, rows, ListOrder::StallionCompat);
    } else {
        const DadRec& stallion = d.DadTable[static_cast<size_t>(target)];
        for (int i = 0; i < d.MamCount; ++i)
            rows.push_back({ i, 0, MareStatusPoints(d, pts, d.MamTable[static_cast<size_t>(i)]) });
        SetMareKeys(d, pts, rows, stallion, StallionStatusPoints(d, pts, stallion));
        SortRows(d, rows, ListOrder::MareCompat);
    }
    const std::u16string& targetName
        = stallions ? d.MamTable[static_cast<size_t>(target)].name : d.DadTable[static_cast<size_t>(target)].name;

    if (text) {
        TextListRequest rq;
        rq.kind = stallions ? TextListKind::Stallions : TextListKind::Mares;
        rq.title = stallions ? u"対象牝馬" : u"対象牡馬";
        rq.targetName = targetName;
        rq.date = haveDate ? date : TextListToday();
        rq.settings = settings;
        rq.settings.columns = DefaultTextListSwitches(rq.kind);
        rq.target = target;
        for (const std::u16string& line : BuildTextList(d, rq, rows)) {
            const std::string out = ToUtf8(line) + "\n";
            std::fwrite(out.data(), 1, out.size(), stdout);
        }
        return 0;
    }

    std::vector<int32_t> ranks(rows.size());
    CompetitionRanks(rows, ranks);
    Json j;
    j.BeginObject();
    j.Field("target", targetName);
    j.Key("rows").BeginArray();
    for (size_t i = 0; i < rows.size(); ++i) {
        j.BeginObject();
        j.Field("name",
                stallions ? d.DadTable[static_cast<size_t>(rows[i].index)].name
                          : d.MamTable[static_cast<size_t>(rows[i].index)].name);
        j.Field("key", rows[i].key);
        j.Field("rank", ranks[i]);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}

const Registration reg { "rank",
                         "rank --mare NAME | --stallion NAME [--text [--max N] [--wrap W] [--namelen L] [--date T]]",
                         &RunRank };

} // namespace

} // namespace velmora::cli
