#pragma once
// A plain, single-threaded strongest-mating search that evaluates every pair with the rule functions
// themselves (CalcNix, CheckOmo, CheckMig, CheckYok, AnalyzeCrosses) and builds every foal as a
// broodmare record, with no precomputation. It is the yardstick the tests and the benchmark hold the
// engine against: same result lines (in table order), same leaf counts.

#include "core/data/master_data.h"
#include "core/search/search_conditions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::search {

struct ReferenceOutcome
{
    std::vector<std::u16string> lines; // in the order found
    int64_t testedLeaves = 0;
    int64_t countedLeaves = 0;
    bool stopped = false; // the result limit was exceeded
};

// The mating tests of one generation for stallion `dad` and broodmare `mam`, in their order; the
// first failure ends them. childSet says whether the composition and nitro tests apply.
bool ReferenceMatingTests(const MasterData& d, const HaigoJokenRec& h, const ChildJokenRec& c, bool childSet,
                          const DadRec& dad, const MamRec& mam);

// The ancestor marks of one leaf.
bool ReferenceSosenPasses(const MasterData& d, const SearchConditions& c, const DadRec& dad, const MamRec& mam);

// The whole search in table order (the interesting-line fill included).
ReferenceOutcome ReferenceSearch(MasterData& d, const SearchConditions& conditions);

} // namespace velmora::search
