#include "core/search/search_engine.h"

#include "core/common/errors.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <limits>
#include <map>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace velmora::search {

namespace {

constexpr int kWeights[5][4] = {
    { 10, 10, 10, 10 }, { 15, 15, 12, 10 }, { 20, 15, 15, 12 }, { 25, 20, 15, 12 }, { 30, 25, 20, 20 },
};
constexpr uint8_t kBadEffect = 0xFF;
constexpr int kMaxThreads = 64;
// A worker hands its results and progress steps over in batches: when kResultBatch results have
// gathered, or when about a millisecond has passed since the last hand-over (the clock is read every
// kCheckEvery stallions), so that the owner is woken a few thousand times a second at most and
// no lock is taken per result or per step.
constexpr int kCheckEvery = 1024;
constexpr std::chrono::steady_clock::duration kFlushInterval = std::chrono::milliseconds(1);
// Chunks of the walk: about kChunkLeaves leaves each, so that a chunk's results rarely fill the room
// the other workers have while they wait for it; at least kChunksPerThread per worker, so that the
// workers share the walk evenly; at most kMaxChunks in all.
constexpr int64_t kChunkLeaves = 4096;
constexpr int64_t kChunksPerThread = 16;
constexpr int64_t kMaxChunks = int64_t { 1 } << 16;
// Emptied result buffers kept for the next chunks, so that a chunk's results do not grow a new buffer.
constexpr size_t kSpareBuffers = 8;

// Lower and upper limits of a bound with a direction: at least (ud) or at most.
struct Limits
{
    std::array<int32_t, 17> lo {};
    std::array<int32_t, 17> hi {};
};

Limits MakeLimits(const std::array<int32_t, 17>& bounds, const std::array<bool, 17>& ud)
{
    Limits l;
    for (int k = 1; k <= kEffects; ++k) {
        l.lo[k] = ud[k] ? bounds[k] : std::numeric_limits<int32_t>::min();
        l.hi[k] = ud[k] ? std::numeric_limits<int32_t>::max() : bounds[k];
    }
    return l;
}

bool Within(int32_t v, int32_t bound, bool atLeast)
{
    return atLeast ? v >= bound : v <= bound;
}

// The splendid / well-made judgement from the eight resolved groups: counts the members of one
// side missing on the other, in order, with -1 as soon as a member is 0 (allowed = 0: splendid,
// stops at the first missing member; allowed = 1: well-made).
int MigJudge(const std::array<int32_t, 4>& a, const std::array<int32_t, 4>& b, int allowed)
{
    auto contains = [](const std::array<int32_t, 4>& set, int32_t v) {
        return set[0] == v || set[1] == v || set[2] == v || set[3] == v;
    };
    auto missing = [&](const std::array<int32_t, 4>& from, const std::array<int32_t, 4>& in) {
        int n = 0;
        for (int32_t v : from) {
            if (v == 0)
                return -1;
            if (!contains(in, v)) {
                ++n;
                if (allowed == 0)
                    return n;
            }
        }
        return n;
    };
    int n = missing(a, b);
    if (n < 0)
        return -1;
    if (n > allowed)
        return 0;
    n = missing(b, a);
    if (n < 0)
        return -1;
    if (n > allowed)
        return 0;
    return 1;
}

// A cross of the same horse at stallion position j and broodmare position k that only follows from a
// nearer cross (CrossKind's -1), for a pair already known to hold the same horse.
inline bool FollowsFromNearer(const DadFatherRec& f, int j, const MamFatherRec& m, int k)
{
    auto mam = [&](int p) { return m[static_cast<size_t>(p - 1)]; };
    const bool kEven = (k & 1) == 0;
    const bool kDamSire = k == 5 || k == 9 || k == 13;
    switch (j) {
    case 0:
    case 15:
        return false;
    case 1:
        return kEven && SameHorse(mam(k / 2), f[0]);
    case 3:
        return kDamSire && SameHorse(mam((k - 1) / 4), f[0]);
    case 5:
    case 9:
    case 13:
        return kDamSire && SameHorse(f[static_cast<size_t>((j - 1) / 4)], mam((k - 1) / 4));
    case 7:
        return k == 11 && SameHorse(mam(1), f[0]);
    case 11:
        return k == 11 && SameHorse(mam(1), f[1]);
    default: // 2, 4, ..., 14
        return kEven && SameHorse(f[static_cast<size_t>(j / 2)], mam(k / 2));
    }
}

// A three-state mating setting against a rule's result: 2 passes, 1 needs >= 1, 0 needs exactly 0.
bool SettingPasses(uint8_t setting, int result)
{
    return setting == 1 ? result >= 1 : result == 0;
}

} // namespace

void FillInterestingLines(MasterData& d, int maxGen)
{
    if (maxGen <= 1)
        return;
    const int32_t bits = (1 << (std::min(maxGen, kMaxGenerations) - 1)) - 1; // generations 1..maxGen-1
    for (int i = 0; i < d.DadCount; ++i) {
        const DadRec& s = d.DadTable[static_cast<size_t>(CheckedIndex(i, kDadRows))];
        if ((s.Selected & bits) == 0)
            continue;
        const int32_t self = s.Father[0];
        const int32_t sire = s.Father[1];
        if (self < 0 || sire < 0)
            continue;
        OyaRec& row = d.OyaTable[static_cast<size_t>(CheckedIndex(self, kOyaRows))];
        const OyaRec& sireRow = d.OyaTable[static_cast<size_t>(CheckedIndex(sire, kOyaRows))];
        // Other threads may evaluate rules meanwhile in a program that searches while showing
        // pairs; the rules read the field atomically.
        if (GroupOf(row) == 0)
            __atomic_store_n(&row.omokei, GroupOf(sireRow), __ATOMIC_RELAXED);
    }
}

// ---------------------------------------------------------------------------------------------------
// Precomputed tables, shared read-only by the workers.

namespace {

// What one stallion brings to every pair, whatever the broodmare.
struct DadInfo
{
    int32_t row = -1;
    DadFatherRec F {};
    int nDistinct = 0;
    std::array<int32_t, 16> horse {}; // distinct known horses of F, in order of first occurrence
    std::array<uint16_t, 16> jmask {}; // positions j at which each of them stands
    std::array<int32_t, 17> kosei {}; // composition of F alone
    int32_t nickClass = -1; // index of (line of the stallion's chain, star rank); -1 = no nick
    bool omoZero = false; // one of the four stallion groups is 0 or unresolved
    uint64_t omoBits = 0;
    std::array<int32_t, 4> omoG {};
    bool migUnknown = false;
    std::array<int32_t, 4> migA {};
    uint32_t dadNi = 0; // bit k: effect k occurs in F[0..7]
    bool excluded = false;
    size_t reqOffset = 0;
};

struct NickClass
{
    int32_t line = 0;
    int rank = 0;
    size_t first = 0; // entries [first, last) of Impl::nickEntries
    size_t last = 0;
};

struct GenCond
{
    HaigoJokenRec h;
    ChildJokenRec c;
    bool nick = false;
    bool needCross = false;
    bool active = false;
    bool child = false;
    Limits inCross;
    Limits kosei;
    int dadNi = -1; // -1 none, 0 none may occur, 1..16 must occur
    int mamNi = -1;
    bool zeroCrossFails = false; // with no cross at all the in-cross bounds already fail
};

// Where an ancestor row stands among a generation's candidate stallions: candidate position and
// index of the horse among that stallion's distinct horses.
struct Occurrence
{
    uint16_t pos = 0;
    uint8_t t = 0;
};

int LikenessCoding(int32_t v)
{
    return v >= 0 && v <= kEffects ? v : -1;
}

} // namespace

struct SearchEngine::Impl
{
    int maxGen = 1;
    int64_t stepDiv = 1;
    std::array<int64_t, kMaxGenerations + 2> suffix {}; // suffix[g] = product of SearchCounts[g..MaxGen]
    int speedCrossRow = 0;
    std::array<GenCond, kMaxGenerations + 1> gen {};

    std::vector<uint8_t> effA; // per ancestor row: first effect 0..16 (kBadEffect when out of range)
    std::vector<uint8_t> effB;
    std::unordered_map<int32_t, int> groupBit; // positive group value -> bit
    bool groupsGeneric = false; // more than 64 distinct groups: count without bits

    std::vector<DadInfo> dads; // by stallion row
    std::array<std::vector<int32_t>, kMaxGenerations + 1> cand; // candidate rows per generation
    // Per generation, by ancestor row (CSR layout): the candidates that carry the horse, so that a
    // broodmare finds the stallions sharing a horse with her without looking at the others.
    std::array<std::vector<uint32_t>, kMaxGenerations + 1> occFirst; // kOyaRows + 1 offsets
    std::array<std::vector<Occurrence>, kMaxGenerations + 1> occ;
    std::vector<NickClass> nickClasses;
    std::vector<std::pair<int32_t, int32_t>> nickEntries; // (keito2, value), grouped by class
    std::vector<int32_t> mares; // candidate broodmare rows, in table order
    // The walk: unit u is broodmare mares[u / cand[1].size()] with the generation-1 candidate at
    // position u % cand[1].size(); chunk k holds units [k * unitsPerChunk, (k + 1) * unitsPerChunk).
    int64_t units = 0;
    int64_t unitsPerChunk = 1;

    bool sosenExclude = false;
    bool sosenRequire = false;
    bool requireImpossible = false; // a required name without an ancestor row
    std::vector<uint8_t> excludedRow; // per ancestor row
    std::vector<int32_t> requiredBit; // per ancestor row: bit index among the required, -1
    size_t reqWords = 0;
    std::vector<uint64_t> reqFull;
    std::vector<uint64_t> dadReq; // per stallion row, reqWords each

    std::vector<std::u16string> dadNames;
    std::vector<std::u16string> mamNames;

    uint64_t GroupBits(const int32_t* g, int n) const
    {
        uint64_t bits = 0;
        for (int i = 0; i < n; ++i)
            if (g[i] > 0)
                bits |= uint64_t { 1 } << groupBit.at(g[i]);
        return bits;
    }
};

// One broodmare at one level of a worker's walk, with what she brings to every pair.
struct MareCtx
{
    MamFatherRec M {};
    int depth = 1;
    std::vector<uint16_t> mask; // per ancestor row: bit k-1 set when the horse is at position k
    std::vector<uint16_t> common; // per candidate position: bit t set when the stallion's horse t is hers
    bool nickNone = true;
    std::array<int32_t, 4> lines {};
    std::vector<int32_t> nickValue; // per nick class
    std::vector<uint32_t> nickStamp;
    uint32_t stamp = 0;
    bool omoZero = false;
    uint64_t omoBits = 0;
    std::array<int32_t, 4> omoG {};
    bool migUnknown = false;
    std::array<int32_t, 4> migB {};
    std::array<int32_t, 17> kosei {};
    uint32_t mamNi = 0;
    bool excluded = false;
    std::vector<uint64_t> req;
};

class SearchEngine::Worker
{
public:
    Worker(SearchEngine& engine, const Impl& impl)
        : m_engine(engine)
        , m_impl(impl)
    {
        for (size_t g = 0; g < m_ctx.size(); ++g) {
            MareCtx& c = m_ctx[g];
            c.depth = static_cast<int>(g);
            c.common.assign(impl.cand[g].size(), 0);
            c.mask.assign(kOyaRows, 0);
            c.nickValue.assign(impl.nickClasses.size(), 0);
            c.nickStamp.assign(impl.nickClasses.size(), 0);
            c.req.assign(impl.reqWords, 0);
        }
        m_batch.reserve(kResultBatch);
    }

    void Run()
    {
        std::string error;
        bool failed = false;
        try {
            Body();
        } catch (const std::exception& e) {
            error = e.what();
            failed = true;
        } catch (...) {
            error = "unknown error";
            failed = true;
        }
        if (failed)
            m_engine.RequestStop();
        if (m_chunk >= 0)
            m_engine.PostBatch(m_chunk, m_batch, 0, false, false);
        m_engine.PostDone(m_tested, m_counted, m_steps, failed ? &error : nullptr);
    }

private:
    void Body()
    {
        const auto& all = m_impl.cand[1];
        const int64_t perMare = static_cast<int64_t>(all.size());
        for (int64_t chunk; (chunk = m_engine.TakeChunk()) >= 0;) {
            m_chunk = chunk;
            m_chunkFound = 0;
            const int64_t last = std::min(m_impl.units, (chunk + 1) * m_impl.unitsPerChunk);
            for (int64_t u = chunk * m_impl.unitsPerChunk; u < last && !Quit();) {
                const int32_t row = m_impl.mares[static_cast<size_t>(u / perMare)];
                const int64_t lo = u % perMare;
                const int64_t hi = std::min(perMare, lo + (last - u));
                if (m_setupMare != row) {
                    m_setupMare = row;
                    Setup(m_ctx[1], m_engine.m_data.MamTable[static_cast<size_t>(row)].Father);
                }
                m_chain.mare = row;
                Search(1, all.data() + lo, all.data() + hi);
                u += hi - lo;
            }
            // A chunk cut short stays incomplete, so that nothing after it is ever listed. The owner is
            // woken for the end of a chunk no more often than for a flush, unless it can list results
            // now.
            const auto now = std::chrono::steady_clock::now();
            const bool woken
                = m_engine.PostBatch(chunk, m_batch, m_steps, !Quit(), now - m_lastFlush >= kFlushInterval);
            m_chunk = -1;
            m_steps = 0;
            m_owed = !woken;
            if (woken)
                m_lastFlush = now;
        }
    }

    // The walk of this chunk is over: stopped, or at or past the first chunk that has more results
    // than the limit.
    bool Quit() const { return m_engine.Beyond(m_chunk); }

    void Flush()
    {
        if (m_steps > 0 || !m_batch.empty() || m_owed)
            m_engine.PostBatch(m_chunk, m_batch, m_steps, false, true);
        m_steps = 0;
        m_owed = false;
        m_lastFlush = std::chrono::steady_clock::now();
    }

    // Hands over what has gathered once the flush interval has passed.
    void MaybeFlush()
    {
        m_sinceCheck = 0;
        if ((m_steps > 0 || !m_batch.empty() || m_owed)
            && std::chrono::steady_clock::now() - m_lastFlush >= kFlushInterval)
            Flush();
    }

    void Step(int64_t leaves)
    {
        m_counted += leaves;
        m_ctr += leaves;
        if (m_ctr >= m_impl.stepDiv) {
            const int64_t steps = m_ctr / m_impl.stepDiv;
            m_ctr -= steps * m_impl.stepDiv;
            m_steps += steps;
        }
    }

    void Search(int depth, const int32_t* first, const int32_t* last)
    {
        MareCtx& m = m_ctx[depth];
        const GenCond& gc = m_impl.gen[depth];
        const bool leaf = depth >= m_impl.maxGen;
        const int32_t* base = m_impl.cand[static_cast<size_t>(depth)].data();
        for (const int32_t* p = first; p != last; ++p) {
            const DadInfo& s = m_impl.dads[static_cast<size_t>(*p)];
            const bool ok = Passes(gc, s, m, m.common[static_cast<size_t>(p - base)]);
            if (!leaf) {
                if (ok) {
                    m_chain.dads[depth] = s.row;
                    Setup(m_ctx[depth + 1], FoalArray(s.F, m.M));
                    const auto& next = m_impl.cand[depth + 1];
                    Search(depth + 1, next.data(), next.data() + next.size());
                } else {
                    Step(m_impl.suffix[depth + 1]);
                }
            } else {
                ++m_tested;
                Step(1);
                if (ok && SosenPasses(s, m)) {
                    m_batch.push_back(m_chain);
                    m_batch.back().dads[static_cast<size_t>(depth)] = s.row;
                    // The owner counts the results against the limit in order and stops the search at
                    // the first one beyond it; no later result of this chunk, nor of a later chunk,
                    // can be listed.
                    if (++m_chunkFound > m_engine.m_cond.ResultLimit)
                        m_engine.Cutoff(m_chunk);
                    if (m_batch.size() >= kResultBatch)
                        Flush();
                }
            }
            if (++m_sinceCheck >= kCheckEvery)
                MaybeFlush();
            if (Quit())
                break;
        }
    }

    // What the broodmare brings to every pair; her entries are checked in Start().
    void Setup(MareCtx& c, const MamFatherRec& mam)
    {
        const MasterData& d = m_engine.m_data;
        for (int32_t h : c.M)
            if (h >= 0)
                c.mask[static_cast<size_t>(h)] = 0;
        c.M = mam;
        c.kosei.fill(0);
        c.mamNi = 0;
        c.excluded = false;
        std::fill(c.common.begin(), c.common.end(), 0);
        std::fill(c.req.begin(), c.req.end(), 0);
        for (int k = 1; k <= 15; ++k) {
            const int32_t h = mam[static_cast<size_t>(k - 1)];
            if (h < 0)
                continue;
            uint16_t& bits = c.mask[static_cast<size_t>(h)];
            const size_t hs = static_cast<size_t>(h);
            if (bits == 0) { // first occurrence on her side
                const auto& first = m_impl.occFirst[static_cast<size_t>(c.depth)];
                if (!first.empty()) {
                    const Occurrence* o = m_impl.occ[static_cast<size_t>(c.depth)].data();
                    for (uint32_t e = first[hs], end = first[hs + 1]; e < end; ++e)
                        c.common[o[e].pos] = static_cast<uint16_t>(c.common[o[e].pos] | (1u << o[e].t));
                }
                ++c.kosei[m_impl.effA[hs]];
                ++c.kosei[m_impl.effB[hs]];
                c.excluded = c.excluded || m_impl.excludedRow[hs];
                if (m_impl.reqWords && m_impl.requiredBit[hs] >= 0) {
                    const int32_t b = m_impl.requiredBit[hs];
                    c.req[static_cast<size_t>(b / 64)] |= uint64_t { 1 } << (b % 64);
                }
            }
            bits = static_cast<uint16_t>(bits | (1u << (k - 1)));
            if (k <= 7)
                c.mamNi |= (1u << m_impl.effA[hs]) | (1u << m_impl.effB[hs]);
        }
        c.mamNi &= ~1u;
        c.kosei[0] = 0;

        c.lines
            = { MamChainLine(d, mam, 1), MamChainLine(d, mam, 3), MamChainLine(d, mam, 7), MamChainLine(d, mam, 15) };
        c.nickNone = c.lines[0] < 0 || c.lines[1] < 0 || c.lines[2] < 0 || c.lines[3] < 0;
        if (++c.stamp == 0) { // wrapped: forget every cached value
            std::fill(c.nickStamp.begin(), c.nickStamp.end(), 0);
            c.stamp = 1;
        }

        c.omoG = { MamChainGroup(d, mam, 1), MamChainGroup(d, mam, 5), MamChainGroup(d, mam, 3),
                   MamChainGroup(d, mam, 7) };
        c.omoZero = c.omoG[0] <= 0 || c.omoG[1] <= 0 || c.omoG[2] <= 0 || c.omoG[3] <= 0;
        c.omoBits = c.omoZero || m_impl.groupsGeneric ? 0 : m_impl.GroupBits(c.omoG.data(), 4);
        c.migB = c.omoG; // the mare's chains 1, 5, 3, 7 serve both tests
        c.migUnknown = c.migB[0] < 0 || c.migB[1] < 0 || c.migB[2] < 0 || c.migB[3] < 0;
    }

    int32_t Nick(const DadInfo& s, MareCtx& m)
    {
        if (s.nickClass < 0 || m.nickNone)
            return -1;
        const size_t cls = static_cast<size_t>(s.nickClass);
        if (m.nickStamp[cls] == m.stamp)
            return m.nickValue[cls];
        const NickClass& nc = m_impl.nickClasses[cls];
        const int* w = kWeights[nc.rank - 1];
        int32_t sum = 0;
        int32_t v = 0;
        try {
            for (size_t i = nc.first; i < nc.last; ++i) {
                const auto [keito2, value] = m_impl.nickEntries[i];
                int32_t mv = 0;
                for (int c = 0; c < 4; ++c)
                    if (m.lines[static_cast<size_t>(c)] == keito2)
                        mv = mv > 0 ? CheckedAdd(mv, 1) : CheckedMul(w[c], value);
                sum = CheckedAdd(sum, mv);
            }
            v = CheckedAdd(sum, 9) / 10;
        } catch (const OverflowError&) {
            throw NixOverflow(m_engine.m_data, nc.line);
        }
        m.nickValue[cls] = v;
        m.nickStamp[cls] = m.stamp;
        return v;
    }

    int Omo(const DadInfo& s, const MareCtx& m) const
    {
        if (s.omoZero || m.omoZero)
            return -1;
        int distinct;
        if (!m_impl.groupsGeneric) {
            distinct = std::popcount(s.omoBits | m.omoBits);
        } else {
            const int32_t g[8]
                = { s.omoG[0], s.omoG[1], s.omoG[2], s.omoG[3], m.omoG[0], m.omoG[1], m.omoG[2], m.omoG[3] };
            distinct = 0;
            for (int i = 0; i < 8; ++i) {
                bool seen = false;
                for (int k = 0; k < i && !seen; ++k)
                    seen = g[k] == g[i];
                distinct += seen ? 0 : 1;
            }
        }
        return distinct >= 7 ? 1 : 0;
    }

    // The mating tests of one pair; common holds the stallion's horses that also stand on her side.
    // Any failing test rejects the pair, so the cross tests end at their first failure.
    bool Passes(const GenCond& gc, const DadInfo& s, MareCtx& m, uint32_t common)
    {
        const HaigoJokenRec& h = gc.h;
        if (gc.nick && Nick(s, m) < h.NixBase)
            return false;
        if (h.Omo != 2 && !SettingPasses(h.Omo, Omo(s, m)))
            return false;
        if (h.Mig != 2 && !SettingPasses(h.Mig, s.migUnknown || m.migUnknown ? -1 : MigJudge(s.migA, m.migB, 0)))
            return false;
        if (h.Yok != 2 && !SettingPasses(h.Yok, s.migUnknown || m.migUnknown ? -1 : MigJudge(s.migA, m.migB, 1)))
            return false;
        if (!gc.needCross)
            return true;
        if (common == 0 && gc.zeroCrossFails)
            return false; // no cross: Outb and Kiken pass, the in-cross bounds do not

        // The crosses: only horses of the stallion that also stand on her side can meet.
        int32_t crosses = 0;
        bool taboo = false;
        std::array<int32_t, 17> inCross;
        std::array<int32_t, 17> kosei;
        if (gc.active)
            inCross.fill(0);
        if (gc.child)
            for (int k = 0; k <= kEffects; ++k)
                kosei[k] = s.kosei[k] + m.kosei[k];
        const bool stopAtCross = h.Outb == 1;
        const bool kiken = h.Kiken == 1;
        for (; common; common &= common - 1) {
            const int t = std::countr_zero(common);
            const int32_t horse = s.horse[static_cast<size_t>(t)];
            const uint32_t mm = m.mask[static_cast<size_t>(horse)];
            const uint8_t ea = m_impl.effA[static_cast<size_t>(horse)];
            const uint8_t eb = m_impl.effB[static_cast<size_t>(horse)];
            if (gc.child) { // counted once, on the stallion's side
                --kosei[ea];
                --kosei[eb];
            }
            for (uint32_t js = s.jmask[static_cast<size_t>(t)]; js; js &= js - 1) {
                const int j = std::countr_zero(js);
                for (uint32_t ks = mm; ks; ks &= ks - 1) {
                    const int k = std::countr_zero(ks) + 1;
                    if (j == 0 || (j == 1 && k == 1)) {
                        if (kiken)
                            return false;
                        taboo = true;
                    }
                    if (!FollowsFromNearer(s.F, j, m.M, k)) {
                        ++crosses;
                        if (stopAtCross || (kiken && crosses >= 7))
                            return false;
                        if (gc.active) {
                            ++inCross[ea];
                            ++inCross[eb];
                        }
                    }
                }
            }
        }
        if (h.Outb == 1 && crosses > 0)
            return false;
        if (h.Kiken == 1 && (taboo || crosses >= 7))
            return false;
        if (gc.active)
            for (int k = 1; k <= kEffects; ++k)
                if (inCross[k] < gc.inCross.lo[k] || inCross[k] > gc.inCross.hi[k])
                    return false;
        if (gc.child) {
            for (int k = 1; k <= kEffects; ++k)
                if (kosei[k] < gc.kosei.lo[k] || kosei[k] > gc.kosei.hi[k])
                    return false;
            int32_t sp, st;
            if (m_impl.speedCrossRow == 1) {
                sp = 2 * kosei[1] + kosei[2];
                st = kosei[3] + kosei[4] - kosei[1];
            } else {
                sp = kosei[1] + 2 * kosei[2];
                st = kosei[3] + kosei[4] - kosei[2];
            }
            const ChildJokenRec& c = gc.c;
            if (!Within(sp, c.NitroSpBound, c.NitroSpUd) || !Within(st, c.NitroStBound, c.NitroStUd)
                || !Within(sp + st, c.NitroTotalBound, c.NitroTotalUd))
                return false;
        }
        // Likeness counts exist only for an outbred pair; otherwise they are all 0.
        if (gc.dadNi == 0 && crosses == 0 && s.dadNi != 0)
            return false;
        if (gc.dadNi > 0 && (crosses > 0 || !(s.dadNi >> gc.dadNi & 1u)))
            return false;
        if (gc.mamNi == 0 && crosses == 0 && m.mamNi != 0)
            return false;
        if (gc.mamNi > 0 && (crosses > 0 || !(m.mamNi >> gc.mamNi & 1u)))
            return false;
        return true;
    }

    bool SosenPasses(const DadInfo& s, const MareCtx& m) const
    {
        if (m_impl.sosenExclude && (s.excluded || m.excluded))
            return false;
        if (m_impl.sosenRequire) {
            if (m_impl.requireImpossible)
                return false;
            const uint64_t* dr = m_impl.dadReq.data() + s.reqOffset;
            for (size_t w = 0; w < m_impl.reqWords; ++w)
                if ((dr[w] | m.req[w]) != m_impl.reqFull[w])
                    return false;
        }
        return true;
    }

    SearchEngine& m_engine;
    const Impl& m_impl;
    std::array<MareCtx, kMaxGenerations + 1> m_ctx;
    ResultChain m_chain;
    std::vector<ResultChain> m_batch;
    int m_sinceCheck = 0;
    int64_t m_steps = 0; // progress steps not yet handed over
    bool m_owed = false; // the end of a chunk was handed over without waking the owner
    std::chrono::steady_clock::time_point m_lastFlush = std::chrono::steady_clock::now();
    int64_t m_chunk = -1; // the chunk being walked
    int64_t m_chunkFound = 0; // its results so far
    int32_t m_setupMare = -1; // the broodmare m_ctx[1] was set up for
    int64_t m_ctr = 0;
    int64_t m_tested = 0;
    int64_t m_counted = 0;
};

// ---------------------------------------------------------------------------------------------------

SearchEngine::SearchEngine(MasterData& data, const SearchConditions& conditions, SearchListener& listener,
                           std::function<void()> wake)
    : m_data(data)
    , m_cond(conditions)
    , m_listener(listener)
    , m_wake(std::move(wake))
    , m_owner(std::this_thread::get_id())
{
}

SearchEngine::~SearchEngine()
{
    RequestStop();
    for (auto& t : m_threads)
        if (t.joinable())
            t.join();
}

void SearchEngine::RequestStop()
{
    // Under the lock, so that a worker waiting for room in the queue cannot miss it.
    std::lock_guard lock(m_mutex);
    m_stop.store(true, std::memory_order_relaxed);
    m_firstBeyond.store(0, std::memory_order_relaxed);
    m_roomListed.notify_all();
    m_roomLater.notify_all();
}

void SearchEngine::Start(int threads)
{
    if (std::this_thread::get_id() != m_owner)
        throw std::logic_error("SearchEngine::Start called off the owning thread");
    if (m_started)
        throw std::logic_error("SearchEngine::Start called twice");
    if (m_cond.MaxGen < 1 || m_cond.MaxGen > kMaxGenerations)
        throw RangeError("MaxGen must be 1..4");
    threads = std::clamp(threads, 1, kMaxThreads);
    MasterData& d = m_data;
    CheckedIndex(d.DadCount, kDadRows + 1);
    CheckedIndex(d.MamCount, kMamRows + 1);
    CheckedIndex(d.OyaCount, kOyaRows + 1);
    CheckedIndex(d.NixCount, kNixRows + 1);

    UpdateSosenFlags(m_cond);
    RefreshSearchCounts(d, m_cond);
    FillInterestingLines(d, m_cond.MaxGen);

    auto impl = std::make_unique<Impl>();
    Impl& im = *impl;
    im.maxGen = m_cond.MaxGen;
    m_estimate = UpdateEstimate(m_cond);
    m_plan = PlanProgress(m_estimate);
    im.stepDiv = m_plan.stepDiv;
    im.suffix[static_cast<size_t>(im.maxGen + 1)] = 1;
    for (int g = im.maxGen; g >= 1; --g)
        im.suffix[static_cast<size_t>(g)] = im.suffix[static_cast<size_t>(g + 1)] * m_cond.SearchCounts[g];
    im.speedCrossRow = d.SpeedCrossRow;

    for (int g = 1; g <= kMaxGenerations; ++g) {
        GenCond& gc = im.gen[static_cast<size_t>(g)];
        gc.h = m_cond.HaigoJoken[static_cast<size_t>(g)];
        gc.c = m_cond.ChildJoken[static_cast<size_t>(g)];
        gc.nick = gc.h.NixBase > 0;
        gc.active = gc.h.Active;
        gc.child = ChildConditionsSet(gc.c);
        gc.inCross = MakeLimits(gc.h.Crs, gc.h.Ud);
        gc.kosei = MakeLimits(gc.c.Crs, gc.c.Ud);
        gc.dadNi = LikenessCoding(gc.h.DadNiKoka);
        gc.mamNi = LikenessCoding(gc.h.MamNiKoka);
        gc.needCross = gc.h.Outb == 1 || gc.h.Kiken == 1 || gc.active || gc.child || gc.dadNi >= 0 || gc.mamNi >= 0;
        if (gc.active)
            for (int k = 1; k <= kEffects; ++k)
                gc.zeroCrossFails = gc.zeroCrossFails || gc.inCross.lo[k] > 0 || gc.inCross.hi[k] < 0;
    }

    // Effects of every ancestor row; a value above 16 is an error once a pedigree uses the row.
    im.effA.assign(kOyaRows, 0);
    im.effB.assign(kOyaRows, 0);
    for (size_t i = 0; i < static_cast<size_t>(kOyaRows); ++i) {
        const OyaRec& r = d.OyaTable[i];
        im.effA[i] = r.a <= 0 ? 0 : r.a <= kEffects ? static_cast<uint8_t>(r.a) : kBadEffect;
        im.effB[i] = r.b <= 0 ? 0 : r.b <= kEffects ? static_cast<uint8_t>(r.b) : kBadEffect;
    }
    auto checkEntry = [&](int32_t h) {
        if (h < 0)
            return;
        CheckedIndex(h, kOyaRows);
        if (im.effA[static_cast<size_t>(h)] == kBadEffect || im.effB[static_cast<size_t>(h)] == kBadEffect)
            throw RangeError();
        const int32_t g = GroupOf(d.OyaTable[static_cast<size_t>(h)]);
        if (g > 0 && !im.groupBit.count(g))
            im.groupBit.emplace(g, static_cast<int>(im.groupBit.size()));
    };

    // Candidates: stallions of generations 1..MaxGen, broodmares.
    const int32_t genBits = (1 << im.maxGen) - 1;
    im.dads.resize(static_cast<size_t>(d.DadCount));
    im.dadNames.resize(static_cast<size_t>(d.DadCount));
    for (int i = 0; i < d.DadCount; ++i) {
        const DadRec& s = d.DadTable[static_cast<size_t>(i)];
        im.dadNames[static_cast<size_t>(i)] = s.name;
        if ((s.Selected & genBits) == 0)
            continue;
        for (int32_t h : s.Father)
            checkEntry(h);
        for (int g = 1; g <= im.maxGen; ++g)
            if (s.Selected & (1 << (g - 1)))
                im.cand[static_cast<size_t>(g)].push_back(i);
    }
    im.mamNames.resize(static_cast<size_t>(d.MamCount));
    for (int i = 0; i < d.MamCount; ++i) {
        const MamRec& m = d.MamTable[static_cast<size_t>(i)];
        im.mamNames[static_cast<size_t>(i)] = m.name;
        if (!m.Selected)
            continue;
        im.mares.push_back(i);
        for (int32_t h : m.Father)
            checkEntry(h);
    }
    im.groupsGeneric = im.groupBit.size() > 64;

    // Ancestor marks.
    im.sosenExclude = m_cond.SosenExclude;
    im.sosenRequire = m_cond.SosenRequire;
    im.excludedRow.assign(kOyaRows, 0);
    im.requiredBit.assign(kOyaRows, -1);
    int required = 0;
    for (const SosenItem& item : m_cond.Sosen) {
        const int row = FindOya(d, item.name);
        if (item.mark == SosenMark::Unchecked && row >= 0) {
            im.excludedRow[static_cast<size_t>(row)] = 1;
        } else if (item.mark == SosenMark::Checked) {
            if (row < 0)
                im.requireImpossible = true;
            else if (im.requiredBit[static_cast<size_t>(row)] < 0)
                im.requiredBit[static_cast<size_t>(row)] = required++;
        }
    }
    im.reqWords = im.sosenRequire ? static_cast<size_t>((required + 63) / 64) : 0;
    im.reqFull.assign(im.reqWords, 0);
    for (int b = 0; b < required && im.reqWords; ++b)
        im.reqFull[static_cast<size_t>(b / 64)] |= uint64_t { 1 } << (b % 64);
    if (!im.reqWords)
        std::fill(im.requiredBit.begin(), im.requiredBit.end(), -1);
    im.dadReq.assign(im.dads.size() * im.reqWords, 0);

    // Nick entries grouped by the stallion's line, in table order.
    std::map<int32_t, std::vector<std::pair<int32_t, int32_t>>> byLine;
    for (int i = 0; i < d.NixCount; ++i) {
        const NixRec& e = d.NixList[static_cast<size_t>(i)];
        byLine[e.keito1].emplace_back(e.keito2, e.value);
    }
    std::map<std::pair<int32_t, int>, int32_t> classOf;

    // Per-stallion tables.
    for (int g = 1; g <= im.maxGen; ++g) {
        for (int32_t row : im.cand[static_cast<size_t>(g)]) {
            DadInfo& info = im.dads[static_cast<size_t>(row)];
            if (info.row >= 0)
                continue;
            const DadRec& s = d.DadTable[static_cast<size_t>(row)];
            const DadFatherRec& f = s.Father;
            info.row = row;
            info.F = f;
            for (int j = 0; j < 16; ++j) {
                const int32_t h = f[static_cast<size_t>(j)];
                if (h < 0)
                    continue;
                int t = 0;
                while (t < info.nDistinct && info.horse[static_cast<size_t>(t)] != h)
                    ++t;
                if (t == info.nDistinct) {
                    info.horse[static_cast<size_t>(t)] = h;
                    ++info.nDistinct;
                    ++info.kosei[im.effA[static_cast<size_t>(h)]];
                    ++info.kosei[im.effB[static_cast<size_t>(h)]];
                    info.excluded = info.excluded || im.excludedRow[static_cast<size_t>(h)];
                }
                info.jmask[static_cast<size_t>(t)]
                    = static_cast<uint16_t>(info.jmask[static_cast<size_t>(t)] | (1u << j));
                if (j <= 7)
                    info.dadNi |= (1u << im.effA[static_cast<size_t>(h)]) | (1u << im.effB[static_cast<size_t>(h)]);
            }
            info.kosei[0] = 0;
            info.dadNi &= ~1u;

            const int32_t line = DadChainLine(d, f, kSelfChain);
            if (line >= 0 && s.Fee >= 1 && s.Fee <= 5) {
                const auto key = std::make_pair(line, static_cast<int>(s.Fee));
                auto it = classOf.find(key);
                if (it == classOf.end()) {
                    NickClass nc;
                    nc.line = line;
                    nc.rank = s.Fee;
                    nc.first = im.nickEntries.size();
                    if (auto e = byLine.find(line); e != byLine.end())
                        im.nickEntries.insert(im.nickEntries.end(), e->second.begin(), e->second.end());
                    nc.last = im.nickEntries.size();
                    it = classOf.emplace(key, static_cast<int32_t>(im.nickClasses.size())).first;
                    im.nickClasses.push_back(nc);
                }
                info.nickClass = it->second;
            }

            info.omoG = { DadChainGroup(d, f, kSelfChain), DadChainGroup(d, f, 5), DadChainGroup(d, f, 3),
                          DadChainGroup(d, f, 7) };
            info.omoZero = info.omoG[0] <= 0 || info.omoG[1] <= 0 || info.omoG[2] <= 0 || info.omoG[3] <= 0;
            info.omoBits = info.omoZero || im.groupsGeneric ? 0 : im.GroupBits(info.omoG.data(), 4);
            static constexpr int kMigPos[4] = { 9, 11, 13, 15 };
            for (int i = 0; i < 4; ++i) {
                const int32_t h = f[static_cast<size_t>(kMigPos[i])];
                if (h < 0)
                    info.migUnknown = true;
                else
                    info.migA[static_cast<size_t>(i)] = GroupOf(d.OyaTable[static_cast<size_t>(h)]);
            }
            info.reqOffset = static_cast<size_t>(row) * im.reqWords;
            for (int32_t h : f)
                if (h >= 0 && im.reqWords && im.requiredBit[static_cast<size_t>(h)] >= 0) {
                    const int32_t b = im.requiredBit[static_cast<size_t>(h)];
                    im.dadReq[info.reqOffset + static_cast<size_t>(b / 64)] |= uint64_t { 1 } << (b % 64);
                }
        }
    }

    // Where each ancestor row stands among each generation's candidates.
    for (int g = 1; g <= im.maxGen; ++g) {
        const auto& cand = im.cand[static_cast<size_t>(g)];
        auto& first = im.occFirst[static_cast<size_t>(g)];
        auto& occ = im.occ[static_cast<size_t>(g)];
        first.assign(static_cast<size_t>(kOyaRows) + 1, 0);
        for (const int32_t row : cand) {
            const DadInfo& info = im.dads[static_cast<size_t>(row)];
            for (int t = 0; t < info.nDistinct; ++t)
                ++first[static_cast<size_t>(info.horse[static_cast<size_t>(t)]) + 1];
        }
        for (size_t h = 1; h < first.size(); ++h)
            first[h] += first[h - 1];
        occ.resize(first.back());
        std::vector<uint32_t> next(first.begin(), first.end() - 1);
        for (size_t pos = 0; pos < cand.size(); ++pos) {
            const DadInfo& info = im.dads[static_cast<size_t>(cand[pos])];
            for (int t = 0; t < info.nDistinct; ++t)
                occ[next[static_cast<size_t>(info.horse[static_cast<size_t>(t)])]++]
                    = Occurrence { static_cast<uint16_t>(pos), static_cast<uint8_t>(t) };
        }
    }

    m_impl = std::move(impl);
    m_started = true;

    // The chunks of the walk, and the workers that take them.
    im.units = static_cast<int64_t>(im.mares.size()) * static_cast<int64_t>(im.cand[1].size());
    int64_t per = std::max<int64_t>(1, kChunkLeaves / std::max<int64_t>(1, im.suffix[2]));
    per = std::min(per, std::max<int64_t>(1, im.units / (threads * kChunksPerThread)));
    per = std::max(per, (im.units + kMaxChunks - 1) / kMaxChunks);
    im.unitsPerChunk = per;
    m_chunkCount = (im.units + per - 1) / per;
    if (im.units == 0) {
        // Nothing to search: the search is over at once.
        std::unique_lock lock(m_mutex);
        Signal(lock);
        return;
    }
    for (int i = 0; i < threads; ++i)
        m_workers.push_back(std::make_unique<Worker>(*this, *m_impl));
    m_threadCount = static_cast<int>(m_workers.size());
    m_threads.reserve(m_workers.size());
    for (auto& w : m_workers)
        try {
            m_threads.emplace_back([worker = w.get()] { worker->Run(); });
        } catch (...) {
            // The workers already running are stopped and counted; the caller learns of the failure.
            RequestStop();
            std::lock_guard lock(m_mutex);
            m_threadCount = static_cast<int>(m_threads.size());
            throw;
        }
}

void SearchEngine::Signal(std::unique_lock<std::mutex>& lock)
{
    // The owner drains everything queued when it wakes, so only the first post after a drain wakes it.
    const bool first = !m_signalled;
    m_signalled = true;
    lock.unlock();
    if (!first)
        return;
    m_cv.notify_all();
    if (m_wake)
        m_wake();
}

int64_t SearchEngine::TakeChunk()
{
    std::lock_guard lock(m_mutex);
    if (m_nextChunk >= m_chunkCount || Beyond(m_nextChunk))
        return -1;
    m_chunks.emplace_back();
    return m_nextChunk++;
}

void SearchEngine::Cutoff(int64_t chunk)
{
    std::lock_guard lock(m_mutex);
    if (chunk < m_firstBeyond.load(std::memory_order_relaxed))
        m_firstBeyond.store(chunk, std::memory_order_relaxed);
    m_roomLater.notify_all(); // workers waiting with a later chunk give it up
}

bool SearchEngine::PostBatch(int64_t chunk, std::vector<ResultChain>& results, int64_t steps, bool complete, bool wake)
{
    std::unique_lock lock(m_mutex);
    ChunkResults& own = m_chunks[static_cast<size_t>(chunk - m_head)];
    // The results of the chunk being listed wait for the owner, those of the chunks after it for that
    // chunk to end: while either holds kResultQueueCapacity, the workers adding to it wait. A stopped
    // search (or a chunk past the cutoff) does not wait: its results are never listed.
    const auto room = [&] {
        if (Beyond(chunk))
            return true;
        const int64_t listing = static_cast<int64_t>(m_chunks.front().results.size());
        const int64_t held = chunk == m_head ? listing : m_held - listing;
        return held < static_cast<int64_t>(kResultQueueCapacity);
    };
    if (!results.empty() && !room()) {
        // The owner may not have been woken for what it can take (the end of a chunk wakes it only
        // with the next flush): it is woken before waiting for it.
        Signal(lock);
        lock.lock();
        // Each waits for what makes room for its chunk: the owner taking the listed results, or the
        // listing moving on; a chunk that comes to be listed meanwhile waits for the former next.
        while (!room())
            (chunk == m_head ? m_roomListed : m_roomLater).wait(lock);
    }
    if (!results.empty() && own.results.capacity() == 0 && !m_spare.empty()) {
        own.results = std::move(m_spare.back());
        m_spare.pop_back();
    }
    own.results.insert(own.results.end(), results.begin(), results.end());
    own.complete = complete;
    m_held += static_cast<int64_t>(results.size());
    m_peakQueued = std::max(m_peakQueued, m_held);
    m_pendingSteps += steps;
    results.clear();
    // The end of the chunk being listed lets the owner list what the chunks after it hold.
    if (wake || (complete && chunk == m_head && m_held > static_cast<int64_t>(own.results.size()))) {
        Signal(lock);
        return true;
    }
    return false;
}

void SearchEngine::PostDone(int64_t tested, int64_t counted, int64_t steps, const std::string* error)
{
    std::unique_lock lock(m_mutex);
    m_tested += tested;
    m_counted += counted;
    m_pendingSteps += steps;
    ++m_ended;
    ++m_pendingDone;
    if (error)
        m_pendingErrors.push_back(*error);
    Signal(lock);
}

std::u16string_view SearchEngine::LineOf(const ResultChain& chain)
{
    // Built into one buffer that keeps its capacity: no allocation per result. Results come in runs
    // that share the broodmare and the first stallions, so the part shared with the previous line is
    // kept and only the rest is rebuilt.
    const int maxGen = m_impl->maxGen;
    int keep = 0; // leading members (broodmare, stallions of generations 1..) shared with the last line
    if (m_lineChain.mare >= 0 && chain.mare == m_lineChain.mare) {
        keep = 1;
        while (keep <= maxGen && chain.dads[static_cast<size_t>(keep)] == m_lineChain.dads[static_cast<size_t>(keep)])
            ++keep;
    }
    if (keep == 0) {
        m_line.assign(m_impl->mamNames[static_cast<size_t>(chain.mare)]);
        m_lineEnd[0] = m_line.size();
        keep = 1;
    } else {
        m_line.resize(m_lineEnd[static_cast<size_t>(keep - 1)]);
    }
    for (int g = keep; g <= maxGen; ++g) {
        m_line += u" * ";
        m_line += m_impl->dadNames[static_cast<size_t>(chain.dads[static_cast<size_t>(g)])];
        m_lineEnd[static_cast<size_t>(g)] = m_line.size();
    }
    m_lineChain = chain;
    return m_line;
}

void SearchEngine::ProcessPending()
{
    if (std::this_thread::get_id() != m_owner)
        throw std::logic_error("SearchEngine::ProcessPending called off the owning thread");
    if (!m_started)
        return;
    if (m_processing) {
        // Called from inside a listener call that runs the event loop: the calls run one at a time,
        // so this one is left to the running call, which wakes the owner again when it ends.
        m_reentered = true;
        return;
    }
    {
        m_processing = true;
        struct Reset
        {
            bool& flag;
            ~Reset() { flag = false; }
        } reset { m_processing };
        Deliver();
    }
    if (!m_reentered)
        return;
    m_reentered = false;
    // The wake-up that the nested call took is gone; whatever was queued after the last take needs a
    // new one.
    bool queued;
    {
        std::lock_guard lock(m_mutex);
        queued = m_signalled;
    }
    if (queued && m_wake)
        m_wake();
}

void SearchEngine::NotifyRoom(bool moved)
{
    if (!m_batch.empty())
        m_roomListed.notify_all();
    if (moved)
        m_roomLater.notify_all();
}

bool SearchEngine::TakeReady(bool& moved)
{
    m_batch.clear();
    moved = false;
    if (m_chunks.empty())
        return false;
    // The results move by swapping buffers: the chunk keeps the emptied one to go on filling it.
    ChunkResults& c = m_chunks.front();
    m_held -= static_cast<int64_t>(c.results.size());
    m_batch.swap(c.results);
    if (!c.complete)
        return false;
    if (c.results.capacity() > 0 && m_spare.size() < kSpareBuffers)
        m_spare.push_back(std::move(c.results));
    m_chunks.pop_front();
    ++m_head;
    moved = true;
    return !m_chunks.empty();
}

void SearchEngine::Deliver()
{
    int64_t steps;
    int done;
    std::vector<std::string> errors;
    bool more;
    bool moved;
    {
        std::lock_guard lock(m_mutex);
        more = TakeReady(moved);
        steps = m_pendingSteps;
        m_pendingSteps = 0;
        done = m_pendingDone;
        m_pendingDone = 0;
        errors.swap(m_pendingErrors);
        m_signalled = false;
    }
    NotifyRoom(moved);
    // Everything the chunks in order have ready, one chunk at a time: the whole of each complete chunk,
    // then what the first incomplete one has so far.
    for (bool listing = true; listing;) {
        for (const ResultChain& chain : m_batch) {
            // The first result beyond the limit stops the search; it and any later one are not listed.
            if (m_listed >= m_cond.ResultLimit) {
                RequestStop();
                listing = false;
                break;
            }
            ++m_listed;
            m_listener.AddResult(LineOf(chain));
        }
        if (!listing || !more)
            break;
        {
            std::lock_guard lock(m_mutex);
            more = TakeReady(moved);
        }
        NotifyRoom(moved);
    }
    for (int64_t i = 0; i < steps; ++i) {
        ++m_stepsDelivered;
        m_listener.StepProgress();
    }
    // One message per search: the other workers usually stop on the same pair.
    if (!errors.empty() && !m_errorDelivered) {
        m_errorDelivered = true;
        m_listener.SearchError(errors.front());
    }
    m_doneCount += done;
    if (m_doneCount >= m_threadCount && !m_doneDelivered) {
        m_doneDelivered = true;
        m_listener.SearchDone();
    }
}

void SearchEngine::Wait()
{
    if (std::this_thread::get_id() != m_owner)
        throw std::logic_error("SearchEngine::Wait called off the owning thread");
    if (!m_started)
        return;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [&] { return m_signalled || m_ended >= m_threadCount; });
        }
        ProcessPending();
        std::lock_guard lock(m_mutex);
        if (m_ended >= m_threadCount && !m_signalled)
            break;
    }
    for (auto& t : m_threads)
        if (t.joinable())
            t.join();
}

bool SearchEngine::Finished() const
{
    if (!m_started)
        return false;
    std::lock_guard lock(m_mutex);
    return m_ended >= m_threadCount && !m_signalled && m_doneCount >= m_threadCount;
}

SearchStats SearchEngine::Stats() const
{
    std::lock_guard lock(m_mutex);
    SearchStats s;
    s.testedLeaves = m_tested;
    s.countedLeaves = m_counted;
    s.progressSteps = m_stepsDelivered;
    s.results = m_listed;
    s.peakQueued = m_peakQueued;
    s.stopped = StopRequested();
    return s;
}

} // namespace velmora::search
