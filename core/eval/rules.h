#pragma once
// The mating-type rules: nick value and grade, interesting / splendid / well-made mating, crosses
// with their effects, close relation, parent likeness, pedigree composition and nitro.
//
// Every rule is a plain function over the master data and two pedigree arrays (see positions.h). None
// changes the data or keeps state, none allocates (FillInbreed copies names for display), and all may
// run on several threads at once.

#include "core/common/errors.h"
#include "core/data/master_data.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora {

class NixIndex;
class PairScan;

// What AnalyzeCrosses finds for one pair. The per-effect arrays are indexed by CrossTable row 1..16;
// element 0 is unused and stays 0.
struct CrossAnalysis
{
    bool Taboo = false; // close relation: the stallion on the mare's side, or a shared sire
    int32_t Crosses = 0; // number of counted crosses
    std::array<int32_t, 17> Kosei {}; // composition: distinct horses of both pedigrees carrying the effect
    std::array<int32_t, 17> InCross {}; // how many counted crosses bring the effect
    std::array<int32_t, 17> DadNi {}; // parent likeness, stallion and his positions 1..7 (only with 0 crosses)
    std::array<int32_t, 17> MamNi {}; // parent likeness, mare's positions 1..7 (only with 0 crosses)
    int32_t NitroSp = 0;
    int32_t NitroSt = 0;
};

// Nick weight by star rank (1..5) and the column where the line was met on the mare's side (1..4).
int NixWeight(int rank, int column);

// The nick value of stallion F (star rank 1..5) with broodmare M, or -1 when the rank is outside 1..5
// or one of the five chains involved has no known horse.
int32_t CalcNix(const MasterData& d, int rank, const DadFatherRec& f, const MamFatherRec& m);
// The same value, looking only at the entries of the stallion's line through a prebuilt index.
int32_t CalcNix(const MasterData& d, const NixIndex& index, int rank, const DadFatherRec& f, const MamFatherRec& m);
// The error of a nick value that left the 32-bit range: it names the nick file's entries of the
// stallion's sire line, whose values are too large. Both CalcNix throw it.
OverflowError NixOverflow(const MasterData& d, int32_t line);

// "完璧" (>= 38), "優れた" (34..37), "良くできた" (30..33), "程々" (25..28); otherwise empty (29 included).
std::u16string_view NixGradeText(int32_t v);
// Grade number of a nick value: 1 perfect .. 4 moderate, 0 none (the same bands as NixGradeText).
int NixGrade(int32_t v);

// Interesting mating: 1 when the eight line groups of the foal's sire lines hold 7 or 8 distinct
// groups, 0 when fewer, -1 when a group is unknown or 0.
int CheckOmo(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m);
// Splendid mating: 1 when the groups at the stallion's positions 9, 11, 13, 15 and the groups of the
// mare's chains 1, 5, 3, 7 form the same set; 0 not; -1 undecidable.
int CheckMig(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m);
// Well-made mating: as CheckMig, but each side may have one group the other lacks.
int CheckYok(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m);
// Both tests from one resolution of the eight groups.
void CheckMigYok(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, int& mig, int& yok);

// "？" for -1, "×" for 0, "○" for 1, "◎" for 2, empty for any other value.
std::u16string_view MarkText(int v);

// Classifies stallion position j (0..15) against broodmare position k (1..15): -2 no cross (an unknown
// entry or different horses), -1 a cross that only follows from a nearer one, 0 a cross, 1 a cross of
// a horse with a first effect. Throws RangeError for positions outside those ranges.
int CrossKind(const MasterData& d, const DadFatherRec& f, int j, const MamFatherRec& m, int k);

// Fills r for the pair (cleared first).
void AnalyzeCrosses(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, CrossAnalysis& r);
// The same with the pair's PairScan already made (scoring uses it for more than the crosses).
void AnalyzeCrosses(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, const PairScan& scan,
                    CrossAnalysis& r);

// Fills the per-position display record: names, indices, the strongest cross result of each position
// and whether the horse occurs twice on its side.
void FillInbreed(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, InbreedRec& out);

// Danger (危険): close relation or seven and more crosses.
inline bool IsDanger(const CrossAnalysis& r)
{
    return r.Taboo || r.Crosses > 6;
}
// Outbreeding: no counted cross.
inline bool IsOutbreed(const CrossAnalysis& r)
{
    return r.Crosses == 0;
}
// Same-line mating: the records' own sire lines are equal and not 0.
inline bool IsSameLine(const DadRec& s, const MamRec& m)
{
    return m.keito == s.keito && s.keito != 0;
}

} // namespace velmora
