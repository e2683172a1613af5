#include "core/mating/pair_display.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/eval/positions.h"
#include "core/mating/scoring.h"

#include <string>

namespace velmora {

namespace {

// Stars beyond any real rank only come from broken data; a label of a few dozen is plenty.
constexpr int32_t kMaxStars = 99;

// A mating-type result (1 holds, 0 does not, -1 undecidable) in its panel.
PanelDisplay MatingPanel(int result, uint32_t holdsColor)
{
    PanelDisplay p;
    p.text = std::u16string(MarkText(result));
    if (result != 0) {
        p.lit = true;
        p.color = result == 1 ? holdsColor : kDisplayYellow;
        p.textColor = ReadableTextColor(p.color);
    }
    return p;
}

} // namespace

SlotDisplay DisplaySlot(const MasterData& d, const TSosenRec& slot, bool colorMode, bool evaluated)
{
    SlotDisplay out;
    if (slot.num < 0)
        return out;
    const OyaRec& o = OyaAt(d, slot.num);
    out.name = slot.name;
    out.hint = CheckedAt(d.KeitoTable, o.keito).name + u"/" + CheckedAt(d.OmokeiTable, GroupOf(o)).name;
    out.effectA = CheckedAt(d.CrossTable, o.a).name;
    out.effectB = CheckedAt(d.CrossTable, o.b).name;
    if (colorMode) {
        out.colorA = CheckedAt(d.CrossTable, o.a).Color;
        out.colorB = o.b == 0 ? out.colorA : CheckedAt(d.CrossTable, o.b).Color;
    } else {
        out.colorA = out.colorB = static_cast<uint32_t>(CheckedAt(d.OmokeiTable, GroupOf(o)).value);
    }
    out.textColorA = ReadableTextColor(out.colorA);
    out.textColorB = ReadableTextColor(out.colorB);
    out.nameColor = ReadableTextColor(out.colorA, out.colorB);
    if (evaluated) {
        out.italic = slot.isInCrs;
        out.marker = slot.isCrs >= -1;
        out.markerColor = !out.marker ? kDisplayWhite : slot.isCrs > 0 ? kDisplayRed : kDisplayBlue;
    }
    return out;
}

void BuildPairDisplay(const MasterData& d, int32_t star, const DadFatherRec& f, const MamFatherRec& m, bool colorMode,
                      bool evaluate, bool ownEffectColors, PairDisplay& out)
{
    out = PairDisplay {};
    FillInbreed(d, f, m, out.inbreed);
    AnalyzeCrosses(d, f, m, out.analysis);
    for (size_t k = 0; k <= 15; ++k)
        out.dads[k] = DisplaySlot(d, out.inbreed.Dads[k], colorMode || (k == 0 && ownEffectColors), evaluate);
    for (size_t k = 1; k <= 15; ++k)
        out.mams[k] = DisplaySlot(d, out.inbreed.Mams[k - 1], colorMode, evaluate);
    const CrossAnalysis& ca = out.analysis;
    out.nitroSp = Decimal(ca.NitroSp);
    out.nitroSt = Decimal(ca.NitroSt);
    out.evaluated = evaluate;
    if (!evaluate)
        return;

    out.kiken.lit = ca.Taboo || ca.Crosses >= 7;
    out.kiken.text = ca.Taboo ? u"◎" : ca.Crosses >= 7 ? u"○" : u"×";
    out.kiken.color = out.kiken.lit ? kDisplayRed : kDisplayWhite;
    out.kiken.textColor = ReadableTextColor(out.kiken.color);

    out.nixValue = CalcNix(d, star, f, m);
    out.nix.text = Decimal(out.nixValue);
    out.nix.hint = std::u16string(NixGradeText(out.nixValue));
    out.nix.lit = out.nixValue >= kNixHighlight;
    out.nix.color = out.nix.lit ? kNixOrange : kDisplayWhite;
    out.nix.textColor = ReadableTextColor(out.nix.color);

    out.omo = MatingPanel(CheckOmo(d, f, m), kOmoLime);
    out.mig = MatingPanel(CheckMig(d, f, m), kMigAqua);
    out.yok = MatingPanel(CheckYok(d, f, m), kYokViolet);

    out.crs.text = Decimal(ca.Crosses);
    for (size_t e = 1; e <= 10; ++e) {
        if (e > 1)
            out.crs.hint += u',';
        out.crs.hint += Decimal(ca.InCross[e]);
    }
}

int32_t ShownCompat(const MasterData& d, const PtsRec& pts, const DadRec& stallion, int32_t stallionStatus,
                    const MamRec& mare, int32_t mareStatus)
{
    return CompatSum(pts, stallion, mare, PairScore(d, pts, stallion, mare), stallionStatus, mareStatus);
}

uint32_t GradeColor(std::u16string_view grade)
{
    if (grade == u"A" || grade == u"◎")
        return 0x0000FF;
    if (grade == u"B" || grade == u"○")
        return 0x00CCCC;
    if (grade == u"C" || grade == u"△")
        return 0xFF9900;
    return 0x000000;
}

std::u16string StarText(int32_t fee)
{
    if (fee <= 0)
        return {};
    return std::u16string(static_cast<size_t>(fee < kMaxStars ? fee : kMaxStars), u'★');
}

} // namespace velmora
