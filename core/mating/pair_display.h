#pragma once
// What a window shows for one stallion-broodmare pair: the texts and colours of every pedigree
// position (ancestor name, hint, effect names and colours, cross marker, italics) and of the
// evaluation panels (面白, 見事, 良でき, 危険, クロス, Nix値, nitro), so that the optimal-mating window,
// the pedigree viewer and the pedigree editor draw a pair by the same rules.
//
// Colours are 0x00BBGGRR values (blue in the high byte). A panel that is not `lit` shows its plain
// background: the optimal-mating window paints it white, other windows may use their window colour.

#include "core/common/text_colour.h"
#include "core/data/master_data.h"
#include "core/eval/rules.h"
#include "core/mating/points.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

inline constexpr uint32_t kDisplayWhite = 0xFFFFFF;
inline constexpr uint32_t kDisplayRed = 0x0000FF;
inline constexpr uint32_t kDisplayBlue = 0xFF0000;
inline constexpr uint32_t kDisplayYellow = 0x00FFFF; // an undecidable mating type
inline constexpr uint32_t kNixOrange = 0x0099FF; // a nick value of 25 and more
inline constexpr uint32_t kOmoLime = 0x00FF00; // 面白
inline constexpr uint32_t kMigAqua = 0xFFFF00; // 見事
inline constexpr uint32_t kYokViolet = 0xFFAADD; // 良でき
inline constexpr int32_t kNixHighlight = 25;

// One pedigree position.
struct SlotDisplay
{
    std::u16string name; // the ancestor's name; empty when the position holds no known ancestor
    std::u16string hint; // sire-line name + "/" + interesting-line name of the ancestor
    std::u16string effectA; // CrossTable names of the ancestor's first and second effect
    std::u16string effectB;
    uint32_t colorA = kDisplayWhite; // the two effect shapes
    uint32_t colorB = kDisplayWhite;
    // Texts that stand on those colours: the effect names on their own shape, the name across both.
    uint32_t textColorA = kTextBlack;
    uint32_t textColorB = kTextBlack;
    uint32_t nameColor = kTextBlack;
    bool italic = false; // the horse stands twice on its own side (evaluated pairs only)
    bool marker = false; // the cross marker is shown (evaluated pairs only)
    uint32_t markerColor = kDisplayWhite; // red: crossed with an effect; blue: crossed without, or only
                                          // through a nearer cross
};

// One evaluation panel.
struct PanelDisplay
{
    std::u16string text;
    std::u16string hint;
    uint32_t color = kDisplayWhite;
    bool lit = false; // the panel has a colour of its own (the rule holds or is undecidable)
    uint32_t textColor = kTextBlack; // readable on `color`
};

struct PairDisplay
{
    std::array<SlotDisplay, 16> dads; // stallion positions 0..15 (0 = the stallion himself)
    std::array<SlotDisplay, 16> mams; // mare positions 1..15; element 0 stays empty
    bool evaluated = false; // the panels below and the markers and italics were filled
    PanelDisplay omo; // 面白: MarkText of CheckOmo; lime for 1, yellow for -1
    PanelDisplay mig; // 見事: aqua for 1, yellow for -1
    PanelDisplay yok; // 良でき: light violet for 1, yellow for -1
    PanelDisplay kiken; // 危険: "◎" on red (close relation), "○" on red (7+ crosses), else "×"
    PanelDisplay crs; // クロス: the cross count, hint InCross[1..10] joined with ","
    PanelDisplay nix; // Nix値: the value, hint its grade text; orange from 25
    int32_t nixValue = -1;
    std::u16string nitroSp; // filled whether or not the pair is evaluated
    std::u16string nitroSt;
    CrossAnalysis analysis; // the pair's AnalyzeCrosses result (composition, per-effect counts)
    InbreedRec inbreed; // the pair's FillInbreed result
};

// What one position shows for an ancestor slot. In colour mode the shapes take the CrossTable colours
// of the ancestor's effects (the second shape repeats the first when there is no second effect);
// otherwise both take the colour of the ancestor's interesting line. `evaluated` adds the italics and
// the cross marker.
SlotDisplay DisplaySlot(const MasterData& d, const TSosenRec& slot, bool colorMode, bool evaluated);

// Fills `out` for the two arrays: every position and the nitro values; when `evaluate` is set (both
// horses chosen) also the markers, italics and panels, the nick with the stallion's star rank `star`.
// Position 0 (the stallion himself) always shows effect colours when `ownEffectColors` is set, as the
// optimal-mating window does; otherwise it follows `colorMode` like every other position.
void BuildPairDisplay(const MasterData& d, int32_t star, const DadFatherRec& f, const MamFatherRec& m, bool colorMode,
                      bool evaluate, bool ownEffectColors, PairDisplay& out);

// The compatibility value shown for a pair of list rows: PairScore of the two horses plus the status
// points each row holds (the status is computed when the row is made, so a list rebuilt after a change
// of point table shows the new table's value). Overflow throws OverflowError.
int32_t ShownCompat(const MasterData& d, const PtsRec& pts, const DadRec& stallion, int32_t stallionStatus,
                    const MamRec& mare, int32_t mareStatus);

// Font colour of a dirt mark or grade: "A" or "◎" red, "B" or "○" 0x00CCCC, "C" or "△" 0xFF9900,
// anything else black.
uint32_t GradeColor(std::u16string_view grade);

// "★" repeated `fee` times; empty when fee <= 0.
std::u16string StarText(int32_t fee);

} // namespace velmora
