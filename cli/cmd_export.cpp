// velmora-cli export TABLE: a table as a JSON array of rows in table order, keyed by the record field
// names, every reference given by the name it stands for (an ancestor missing from the ancestor table by
// the text the horse file holds). TABLE: stallions, mares, ancestors, crosses, lines, groups, colours.

#include "cli/command.h"
#include "cli/json.h"
#include "core/common/errors.h"
#include "core/data/master_data.h"
#include "core/maint/edit_operation.h"

#include <cstdio>

namespace velmora::cli {

namespace {

constexpr const char* kUsage
    = "usage: velmora-cli [--data DIR] export stallions|mares|ancestors|crosses|lines|groups|colours";

std::u16string_view Line(const MasterData& d, int32_t k)
{
    return d.KeitoTable[CheckedIndex(k, d.KeitoCount)].name;
}

template <typename Horse> void Pedigree(Json& j, const MasterData& d, const Horse& h, int firstElement)
{
    j.Key("Father").BeginArray();
    for (int p = 1; p <= 15; ++p)
        j.Value(AncestorNameOf(d, h.Father[static_cast<size_t>(p - 1 + firstElement)], h.Unknown, p));
    j.EndArray();
}

void Export(Json& j, const MasterData& d, EditTable table)
{
    j.BeginArray();
    switch (table) {
    case EditTable::Stallions:
        for (int i = 0; i < d.DadCount; ++i) {
            const DadRec& r = d.DadTable[i];
            j.BeginObject().Field("name", r.name).Field("birth", r.birth).Field("keito", Line(d, r.keito));
            j.Field("keiro", CheckedAt(d.KeiroTable, r.keiro)).Field("Fee", r.Fee);
            j.Field("Distance1", r.Distance1).Field("Distance2", r.Distance2).Field("Dirt", r.Dirt);
            j.Field("Grow", r.Grow).Field("Kisho", r.Kisho).Field("Konjo", r.Konjo).Field("Kenko", r.Kenko);
            j.Field("Jisseki", r.Jisseki).Field("Antei", r.Antei);
            Pedigree(j, d, r, 1);
            j.EndObject();
        }
        break;
    case EditTable::Mares:
        for (int i = 0; i < d.MamCount; ++i) {
            const MamRec& r = d.MamTable[i];
            j.BeginObject().Field("name", r.name).Field("motikomi", r.motikomi).Field("keito", Line(d, r.keito));
            j.Field("keiro", CheckedAt(d.KeiroTable, r.keiro)).Field("Fee", r.Fee).Field("speed", r.speed);
            j.Field("stamina", r.stamina);
            Pedigree(j, d, r, 0);
            j.EndObject();
        }
        break;
    case EditTable::Ancestors:
        for (int i = 0; i < d.OyaCount; ++i) {
            const OyaRec& r = d.OyaTable[i];
            j.BeginObject().Field("name", r.name);
            j.Field("a", d.CrossTable[CheckedIndex(r.a, kCrossRows)].name);
            j.Field("b", d.CrossTable[CheckedIndex(r.b, kCrossRows)].name);
            j.Field("keito", Line(d, r.keito)).Field("omokei", d.OmokeiTable[CheckedIndex(r.omokei, kOmokeiRows)].name);
            j.EndObject();
        }
        break;
    case EditTable::Crosses:
        for (int k = 1; k < kCrossRows; ++k) {
            const TCrossRec& r = d.CrossTable[k];
            j.BeginObject().Field("name", r.name).Field("Color", static_cast<int64_t>(r.Color));
            j.Field("SpNit", r.SpNit).Field("StNit", r.StNit).EndObject();
        }
        break;
    case EditTable::Lines:
        for (int k = 1; k < d.KeitoCount; ++k) {
            const KeitoRec& r = d.KeitoTable[k];
            j.BeginObject().Field("name", r.name);
            j.Field("value", d.OmokeiTable[CheckedIndex(r.value, kOmokeiRows)].name).EndObject();
        }
        break;
    case EditTable::Groups:
        for (int k = 1; k < kOmokeiRows; ++k) {
            const KeitoRec& r = d.OmokeiTable[k];
            j.BeginObject().Field("name", r.name).Field("value", r.value).Field("lbl", r.lbl).EndObject();
        }
        break;
    case EditTable::Colours:
        for (const std::u16string& name : d.KeiroTable)
            j.BeginObject().Field("name", name).EndObject();
        break;
    }
    j.EndArray();
}

int RunExport(Context& ctx)
{
    EditTable table {};
    if (ctx.args.size() != 1 || !EditTableFromName(ctx.args[0], table))
        throw CliError(kUsage);
    const MasterData& d = ctx.Data();
    Json j;
    Export(j, d, table);
    std::printf("%s\n", j.Text().c_str());
    return 0;
}

const Registration reg { "export", "export TABLE              a table's rows with references by name (JSON)",
                         &RunExport };
} // namespace

} // namespace velmora::cli
