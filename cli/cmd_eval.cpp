// eval STALLION MARE: the whole evaluation and scoring of one pair as JSON.

#include "cli/command.h"
#include "cli/horse_lookup.h"
#include "cli/json.h"
#include "core/common/errors.h"
#include "core/data/master_data.h"
#include "core/eval/rules.h"
#include "core/mating/scoring.h"

#include <cstdio>

namespace velmora::cli {

namespace {

void Slots(Json& j, const TSosenRec* slots, size_t count)
{
    j.BeginArray();
    for (size_t i = 0; i < count; ++i) {
        j.BeginObject();
        j.Field("num", slots[i].num);
        j.Field("isCrs", slots[i].isCrs);
        j.Key("isInCrs").Bool(slots[i].isInCrs);
        j.EndObject();
    }
    j.EndArray();
}

int RunEval(Context& ctx)
{
    if (ctx.args.size() != 2)
        throw CliError("usage: velmora-cli [--data DIR] [--points NAME] eval STALLION MARE");
    const MasterData& d = ctx.Data();
    const DadRec& s = d.DadTable[static_cast<size_t>(LookupStallion(d, ctx.args[0]))];
    const MamRec& m = d.MamTable[static_cast<size_t>(LookupMare(d, ctx.args[1]))];
    const PtsRec& pts = CurrentPoints(ctx);

    CrossAnalysis r;
    const int32_t pair = PairScore(d, pts, s, m, &r);
    const int32_t stallionStatus = StallionStatusPoints(d, pts, s);
    const int32_t mareStatus = MareStatusPoints(d, pts, m);
    InbreedRec ib;
    FillInbreed(d, s.Father, m.Father, ib);
    const int32_t nix = CalcNix(d, s.Fee, s.Father, m.Father);

    Json j;
    j.BeginObject();
    j.Field("stallion", s.name);
    j.Field("mare", m.name);
    j.Field("nix", nix);
    j.Field("nixGrade", NixGradeText(nix));
    j.Field("omo", CheckOmo(d, s.Father, m.Father));
    j.Field("mig", CheckMig(d, s.Father, m.Father));
    j.Field("yok", CheckYok(d, s.Father, m.Father));
    j.Key("taboo").Bool(r.Taboo);
    j.Field("crosses", r.Crosses);
    j.Key("danger").Bool(IsDanger(r));
    j.Key("outbreed").Bool(IsOutbreed(r));
    j.Key("sameLine").Bool(IsSameLine(s, m));
    j.Key("kosei").IntArray(r.Kosei.data() + 1, 16);
    j.Key("inCross").IntArray(r.InCross.data() + 1, 16);
    j.Key("dadNi").IntArray(r.DadNi.data() + 1, 16);
    j.Key("mamNi").IntArray(r.MamNi.data() + 1, 16);
    j.Field("nitroSp", r.NitroSp);
    j.Field("nitroSt", r.NitroSt);
    j.Field("pairScore", pair);
    j.Field("stallionStatus", stallionStatus);
    j.Field("mareStatus", mareStatus);
    j.Field("compat", CompatSum(pts, s, m, pair, stallionStatus, mareStatus));
    j.Key("inbreed").BeginObject();
    j.Key("dads");
    Slots(j, ib.Dads.data(), ib.Dads.size());
    j.Key("mams");
    Slots(j, ib.Mams.data(), ib.Mams.size());
    j.EndObject();
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}

const Registration reg { "eval", "eval STALLION MARE        evaluation and compatibility of one pair (JSON)",
                         &RunEval };

} // namespace

} // namespace velmora::cli
