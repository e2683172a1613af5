#pragma once
// Pair scoring: the compatibility value (相性値) of a stallion and a broodmare under a point table,
// the sum of the pair score and the two horses' own status points. All arithmetic is 32-bit and
// overflow-checked (OverflowError); indices are range-checked (RangeError). No allocation per call.

#include "core/data/master_data.h"
#include "core/mating/points.h"

#include <cstdint>

namespace velmora {

struct CrossAnalysis;
class NixIndex;

// The part that depends on both horses: crossed effects, cross count or outbreeding with parent
// likeness, composition, nick, same line and the three mating types.
int32_t PairScore(const MasterData& d, const PtsRec& pts, const DadRec& stallion, const MamRec& mare);
// The same, also handing the AnalyzeCrosses result of the pair to the caller (when not null), so that
// a display of the pair need not run it again.
// With `nix` (built from the same data) the nick looks only at the stallion line's entries.
int32_t PairScore(const MasterData& d, const PtsRec& pts, const DadRec& stallion, const MamRec& mare,
                  CrossAnalysis* analysis, const NixIndex* nix = nullptr);

// Origin, coat colour, star band, distance, growth, dirt and the five grades of a stallion.
int32_t StallionStatusPoints(const MasterData& d, const PtsRec& pts, const DadRec& stallion);
// Origin, coat colour, base price, speed and stamina bands of a broodmare.
int32_t MareStatusPoints(const MasterData& d, const PtsRec& pts, const MamRec& mare);

// The compatibility value from its three parts under `pts`. An overflow anywhere in PairScore, the status
// points or this sum is reported with a message naming the pair or the horse and the point values too
// large for them (PointOverflowCause); one in the nick value names the nick file's entries.
int32_t CompatSum(const PtsRec& pts, const DadRec& stallion, const MamRec& mare, int32_t pairScore,
                  int32_t stallionStatus, int32_t mareStatus);

// PairScore + StallionStatusPoints + MareStatusPoints.
int32_t CompatValue(const MasterData& d, const PtsRec& pts, const DadRec& stallion, const MamRec& mare,
                    const NixIndex* nix = nullptr);

} // namespace velmora
