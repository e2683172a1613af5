#pragma once
// The attribute filters of the optimal-mating window's two lists and the partner search by marked
// ancestors. A filter says which buttons of each group are down; a horse is left out of its list by
// the first attribute whose button is up.

#include "core/data/master_data.h"
#include "core/mating/ordering.h"
#include "core/mating/points.h"

#include <array>
#include <string>
#include <vector>

namespace velmora {

// Stallion filter buttons, true = down (the horses with that attribute are shown).
struct StallionFilter
{
    std::array<bool, 4> origin { true, true, true, true }; // 内国, 外国, 無印, 自家
    std::array<bool, 5> star { true, true, true, true, true }; // star bands 1..5
    std::array<bool, 4> grow { true, true, true, true }; // 普通, 早熟, 晩成, 持続
    std::array<bool, 3> dirt { true, true, true }; // ◎, ○, △
    // 気性, 底力, 健康 (体質), 実績, 安定, each for the grades A, B, C.
    std::array<std::array<bool, 3>, 5> grade {
        { { true, true, true }, { true, true, true }, { true, true, true }, { true, true, true }, { true, true, true } }
    };
};

// Broodmare filter buttons, true = down.
struct MareFilter
{
    bool jika = true; // home-bred mares
    std::array<bool, 4> price { true, true, true, true }; // price bands 1..4, tested on speed + stamina
    std::array<bool, 3> sp { true, true, true }; // speed bands 高, 中, 低
    std::array<bool, 3> st { true, true, true }; // stamina bands 高, 中, 低
};

// False when the first rule whose button is up leaves the stallion out. starBands[1..5] are used.
bool StallionShown(const DadRec& s, const StallionFilter& f, const std::array<TFeeButton, 6>& starBands);
// False when the mare is left out; the bands are used from index 1.
bool MareShown(const MamRec& m, const MareFilter& f, const std::array<TFeeButton, 5>& priceBands,
               const std::array<TFeeButton, 4>& speedBands, const std::array<TFeeButton, 4>& staminaBands);

// Marks every stallion row (Selected 1 shown / 0 left out) and fills out with the shown rows in table
// order, each with its status points under pts; key 0. out keeps its capacity.
void BuildStallionList(MasterData& d, const PtsRec& pts, const StallionFilter& f,
                       const std::array<TFeeButton, 6>& starBands, std::vector<ListRow>& out);
// The same for the broodmares.
void BuildMareList(MasterData& d, const PtsRec& pts, const MareFilter& f, const std::array<TFeeButton, 5>& priceBands,
                   const std::array<TFeeButton, 4>& speedBands, const std::array<TFeeButton, 4>& staminaBands,
                   std::vector<ListRow>& out);

// Partner search from the stallion side: the mares of mareList, in list order, that for every marked
// stallion position i (marks[1..15]) hold a position j with CrossKind(f, i, mare, j) >= 0. Each caption
// is the mare's name followed by "," + the generation of every such j of the clicked position.
std::vector<std::u16string> MarePartnerCaptions(const MasterData& d, const DadFatherRec& f,
                                                const std::array<bool, 16>& marks, int clicked,
                                                const std::vector<ListRow>& mareList);
// Partner search from the mare side: the stallions of stallionList that for every marked mare
// position j (marks[1..15]) hold a position i (0..15) with CrossKind(his array, i, m, j) >= 0; the
// caption adds the generation of every such i of the clicked position.
std::vector<std::u16string> StallionPartnerCaptions(const MasterData& d, const MamFatherRec& m,
                                                    const std::array<bool, 16>& marks, int clicked,
                                                    const std::vector<ListRow>& stallionList);

// The name part of a partner caption: the text before its first ",".
std::u16string PartnerName(std::u16string_view caption);

} // namespace velmora
