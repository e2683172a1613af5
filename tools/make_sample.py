#!/usr/bin/env python3
"""Writes the bundled sample data set into sample/ (or the directory given).

The horses are invented: a small breeding population is simulated over twelve generations in two regions
(a domestic one that imports some foreign sires, and a foreign one that stays apart), so that the
pedigrees are coherent. The registered stallions and broodmares are taken from the last generations;
a few broodmares are then chosen from extra candidates so that every mating type occurs among the
stallion-broodmare pairs: nicks of every grade, interesting, splendid and well-made matings, same-line
matings, crosses with effects, close relation, too many crosses and outbreeding. The script checks that
coverage itself (with its own small model of the evaluation rules) and fails when something is missing.

All nine files are code page 932 with CR LF line ends. Deterministic: the same output on every run.
Usage: tools/make_sample.py [DIR]
"""

import os
import random
import sys

SEED = 58
GENERATIONS = 12

SYLLABLES = (
    "ｱ ｲ ｳ ｴ ｵ ｶ ｷ ｸ ｹ ｺ ｻ ｼ ｽ ｾ ｿ ﾀ ﾁ ﾂ ﾃ ﾄ ﾅ ﾆ ﾇ ﾈ ﾉ ﾊ ﾋ ﾌ ﾍ ﾎ ﾏ ﾐ ﾑ ﾒ ﾓ ﾔ ﾕ ﾖ ﾗ ﾘ ﾙ ﾚ ﾛ ﾜ "
    "ｶﾞ ｷﾞ ｸﾞ ｹﾞ ｺﾞ ｻﾞ ｼﾞ ｽﾞ ｾﾞ ｿﾞ ﾀﾞ ﾃﾞ ﾄﾞ ﾊﾞ ﾋﾞ ﾌﾞ ﾍﾞ ﾎﾞ ﾊﾟ ﾋﾟ ﾌﾟ ﾍﾟ ﾎﾟ"
).split()
TAILS = ["ﾝ", "ｰ", "ｯ"]  # only after a first syllable

GROUP_LABELS = "赤青緑黄紫橙桃茶灰白黒金銀紺翠藍"
COLOURS = ["栗毛", "栃栗毛", "鹿毛", "黒鹿毛", "青鹿毛", "青毛", "芦毛", "白毛"]
CROSS_EFFECTS = [
    ("短距離　", 0x0000FF), ("速力　　", 0x0080FF), ("底力↑　", 0x00C000), ("長距離　", 0xFF0000),
    ("瞬発力　", 0x00FFFF), ("勝負根性", 0x8000FF), ("丈夫　　", 0x808000), ("柔軟性　", 0xFF80FF),
    ("精神力　", 0x4080C0), ("ダート　", 0x004080), ("早熟　　", 0xC0C0FF), ("晩成　　", 0xFFC0C0),
    ("安定　　", 0xC0FFC0), ("気性難　", 0x404040), ("体質弱　", 0x808080), ("底力↓　", 0x0000C0),
]
NIX_WEIGHTS = {1: (10, 10, 10, 10), 2: (15, 15, 12, 10), 3: (20, 15, 15, 12), 4: (25, 20, 15, 12),
               5: (30, 25, 20, 20)}

LINE_COUNT = 24   # sire lines 1..24; 1..12 domestic founders, 13..24 foreign
GROUP_COUNT = 16  # interesting-line groups 1..16
STALLIONS = 60
MARES = 80


class Namer:
    def __init__(self, rng):
        self.rng = rng
        self.used = set()

    def name(self, suffix="", lo=3, hi=5, limit=9):
        while True:
            parts = [self.rng.choice(SYLLABLES)]
            for _ in range(self.rng.randint(lo, hi) - 1):
                # A tail (ﾝ, ｰ, ｯ) never follows another tail.
                parts.append(self.rng.choice(SYLLABLES if parts[-1] in TAILS else SYLLABLES + TAILS))
            text = "".join(parts)
            if len(text) > limit:
                continue
            text += suffix
            if text not in self.used:
                self.used.add(text)
                return text


class Horse:
    def __init__(self, name, male, region, gen, sire=None, dam=None, line=0):
        self.name = name
        self.male = male
        self.region = region
        self.gen = gen
        self.sire = sire
        self.dam = dam
        self.line = sire.line if sire else line
        self.a = 0
        self.b = 0
        # The 15 male ancestors by position: 1 sire, 2p sire of p, 2p+1 dam's sire of p ...
        self.pos = [None] * 16
        if sire:
            self.pos[1] = sire
            for g in (2, 3, 4):
                first, half = 1 << (g - 1), 1 << (g - 2)
                for p in range(first, first * 2):
                    if p < first + half:
                        self.pos[p] = sire.pos[p - half]
                    else:
                        self.pos[p] = dam.pos[p - first] if dam else None


def simulate(rng, namer):
    males = {0: [], 1: []}    # region -> list of all males
    females = {0: [], 1: []}
    for region in (0, 1):
        for i in range(12):
            line = region * 12 + i + 1
            males[region].append(Horse(namer.name(), True, region, 0, line=line))
        for i in range(26):
            females[region].append(Horse(namer.name(), False, region, 0))
    # Popularity makes some sires dominate, as in real breeding.
    fame = {}
    for region in (0, 1):
        for h in males[region]:
            fame[h] = rng.uniform(0.3, 3.0)
    for gen in range(1, GENERATIONS):
        for region in (0, 1):
            sires = [h for h in males[region] if gen - 3 <= h.gen < gen]
            imports = [h for h in males[1] if gen - 3 <= h.gen < gen] if region == 0 else []
            dams = [h for h in females[region] if gen - 2 <= h.gen < gen]
            born_m, born_f = [], []
            for i in range(22 + 18):
                pool = imports if imports and rng.random() < 0.12 else sires
                sire = rng.choices(pool, weights=[fame[h] for h in pool])[0]
                dam = rng.choice(dams)
                male = i < 22
                h = Horse(namer.name(), male, region, gen, sire, dam)
                if male:
                    fame[h] = rng.uniform(0.3, 3.0)
                    born_m.append(h)
                else:
                    born_f.append(h)
            males[region] += born_m
            females[region] += born_f
    return males, females


# ---- A small model of the evaluation rules, to check the coverage of the data set ----

class Model:
    def __init__(self, line_group, nicks):
        self.line_group = line_group
        self.nicks = nicks

    @staticmethod
    def stallion_array(h):
        return [h] + h.pos[1:16]

    @staticmethod
    def mare_array(h):
        return h.pos[1:16]  # element i = position i+1

    def chain(self, arr, positions, key):
        for p in positions:
            h = arr[p]
            if h is not None:
                return key(h)
        return None

    def dline(self, f, positions):
        return self.chain(f, positions, lambda h: h.line)

    def mline(self, m, positions):
        return self.chain([None] + m, positions, lambda h: h.line)

    def dgroup(self, f, positions):
        return self.chain(f, positions, lambda h: self.line_group[h.line])

    def mgroup(self, m, positions):
        return self.chain([None] + m, positions, lambda h: self.line_group[h.line])

    def calc_nix(self, rank, f, m):
        if rank < 1 or rank > 5:
            return -1
        lines = [self.dline(f, (0, 1, 2, 4, 8)), self.mline(m, (1, 2, 4, 8)), self.mline(m, (3, 6, 12)),
                 self.mline(m, (7, 14)), self.mline(m, (15,))]
        if any(x is None for x in lines):
            return -1
        w = NIX_WEIGHTS[rank]
        total = 0
        for k1, k2, value in self.nicks:
            if k1 != lines[0]:
                continue
            mm = 0
            for col in range(4):
                if lines[col + 1] == k2:
                    mm = mm + 1 if mm > 0 else w[col] * value
            total += mm
        return int((total + 9) / 10)

    @staticmethod
    def grade(v):
        if v >= 38:
            return "完璧"
        if 34 <= v <= 37:
            return "優れた"
        if 30 <= v <= 33:
            return "良くできた"
        if 25 <= v <= 28:
            return "程々"
        return ""

    def check_omo(self, f, m):
        groups = [self.dgroup(f, (0, 1, 2, 4, 8)), self.dgroup(f, (5, 10)), self.dgroup(f, (3, 6, 12)),
                  self.dgroup(f, (7, 14)), self.mgroup(m, (1, 2, 4, 8)), self.mgroup(m, (5, 10)),
                  self.mgroup(m, (3, 6, 12)), self.mgroup(m, (7, 14))]
        if any(not g for g in groups):
            return -1
        return 1 if len(set(groups)) >= 7 else 0

    def mig_values(self, f, m):
        a = [self.line_group[f[p].line] if f[p] is not None else None for p in (9, 11, 13, 15)]
        b = [self.mgroup(m, (1, 2, 4, 8)), self.mgroup(m, (5, 10)), self.mgroup(m, (3, 6, 12)), self.mgroup(m, (7, 14))]
        if any(x is None or x == 0 for x in a + b):
            return None
        return a, b

    def check_mig(self, f, m):
        v = self.mig_values(f, m)
        if v is None:
            return -1
        a, b = v
        return 1 if set(a) == set(b) else 0

    def check_yok(self, f, m):
        v = self.mig_values(f, m)
        if v is None:
            return -1
        a, b = v
        if sum(1 for x in a if x not in b) > 1 or sum(1 for x in b if x not in a) > 1:
            return 0
        return 1

    @staticmethod
    def cross_kind(f, j, m, k):
        M = [None] + m
        if f[j] is None or M[k] is None or f[j] is not M[k]:
            return -2
        r = 1 if f[j].a else 0
        if j == 1 and k % 2 == 0 and M[k // 2] is f[0]:
            return -1
        if j in (2, 4, 6, 8, 10, 12, 14) and k % 2 == 0 and f[j // 2] is not None and f[j // 2] is M[k // 2]:
            return -1
        if j == 3 and k in (5, 9, 13) and M[(k - 1) // 4] is f[0]:
            return -1
        if j in (5, 9, 13) and k in (5, 9, 13) and f[(j - 1) // 4] is not None and f[(j - 1) // 4] is M[(k - 1) // 4]:
            return -1
        if j == 7 and k == 11 and M[1] is f[0]:
            return -1
        if j == 11 and k == 11 and M[1] is not None and M[1] is f[1]:
            return -1
        return r

    def crosses(self, f, m):
        taboo, count, with_effect = False, 0, 0
        for j in range(16):
            for k in range(1, 16):
                r = self.cross_kind(f, j, m, k)
                if r >= -1:
                    if j == 0 or (j == 1 and k == 1):
                        taboo = True
                    if r >= 0:
                        count += 1
                        if r == 1:
                            with_effect += 1
        return taboo, count, with_effect

    def kinds(self, stallion, fee, mare):
        """The mating types of one pair, as a set of names."""
        f, m = self.stallion_array(stallion), self.mare_array(mare)
        out = set()
        g = self.grade(self.calc_nix(fee, f, m))
        if g:
            out.add("nix:" + g)
        if self.check_omo(f, m) == 1:
            out.add("omo")
        if self.check_mig(f, m) == 1:
            out.add("mig")
        if self.check_yok(f, m) == 1:
            out.add("yok")
        if stallion.line == mare.sire.line and stallion.line != 0:
            out.add("dokei")
        taboo, count, with_effect = self.crosses(f, m)
        if taboo:
            out.add("taboo")
        if count > 6:
            out.add("kiken")
        if count == 0:
            out.add("outbreed")
        if with_effect:
            out.add("cross-effect")
        return out


REQUIRED = ["nix:完璧", "nix:優れた", "nix:良くできた", "nix:程々", "omo", "mig", "yok", "dokei", "taboo", "kiken",
            "outbreed", "cross-effect"]


def build(rng):
    namer = Namer(rng)
    group_names = [namer.name("系", 3, 4, 6) for _ in range(GROUP_COUNT)]
    line_names = [namer.name("系", 3, 4, 6) for _ in range(LINE_COUNT)]
    line_group = {0: 0}
    for l in range(1, LINE_COUNT + 1):
        line_group[l] = (l * 7) % GROUP_COUNT + 1  # every group used, lines 17..24 share groups
    nicks = []
    for l1 in range(1, LINE_COUNT + 1):
        partners = rng.sample([l for l in range(1, LINE_COUNT + 1) if l != l1], 5)
        for l2 in partners:
            nicks.append((l1, l2, rng.randint(8, 14)))
    model = Model(line_group, nicks)

    males, females = simulate(rng, namer)
    for region in (0, 1):
        for h in males[region]:
            roll = rng.random()
            if roll < 0.40:
                h.a = rng.randint(1, 16)
                if roll < 0.15:
                    h.b = rng.choice([x for x in range(1, 17) if x != h.a])

    last = GENERATIONS - 1
    stallions = [h for h in males[0] if h.gen == last - 1][:20] + [h for h in males[0] if h.gen == last][:20]
    stallions += [h for h in males[1] if h.gen == last - 1][:12] + [h for h in males[1] if h.gen == last][:8]
    # Broodmares: the last generation, and some daughters of registered stallions (close relation).
    pool_f = [h for h in females[0] if h.gen >= last - 2] + [h for h in females[1] if h.gen >= last - 1]
    rng.shuffle(pool_f)
    mares = pool_f[:MARES]
    fees = {h: rng.choices([1, 2, 3, 4, 5], weights=[2, 3, 4, 3, 2])[0] for h in stallions}

    def coverage(ms):
        seen = {}
        for s in stallions:
            for m in ms:
                for kind in model.kinds(s, fees[s], m):
                    seen[kind] = seen.get(kind, 0) + 1
        return seen

    seen = coverage(mares)
    # Replace broodmares by extra candidates (a known sire and dam from the population) until every
    # mating type occurs; each replacement brings at least one missing type.
    sires = [h for r in (0, 1) for h in males[r] if h.gen >= last - 3]
    dams = [h for r in (0, 1) for h in females[r] if last - 3 <= h.gen < last]
    slot = 0
    tries = 0
    while any(k not in seen for k in REQUIRED):
        tries += 1
        if tries > 200000:
            raise SystemExit("make_sample: cannot cover " + ", ".join(k for k in REQUIRED if k not in seen))
        sire = rng.choice(sires)
        dam = rng.choice(dams)
        cand = Horse(None, False, sire.region, last, sire, dam)
        missing = [k for k in REQUIRED if k not in seen]
        found = set()
        for s in stallions:
            found |= model.kinds(s, fees[s], cand) & set(missing)
        if found:
            cand.name = namer.name()
            # Keep the broodmares that carry a type nothing else gives; replace from the front.
            mares[slot] = cand
            slot += 1
            seen = coverage(mares)
    return dict(group_names=group_names, line_names=line_names, line_group=line_group, nicks=nicks,
                stallions=stallions, mares=mares, fees=fees, seen=seen, model=model)


def write_lines(path, lines):
    with open(path, "wb") as f:
        for line in lines:
            f.write(line.encode("cp932") + b"\r\n")


def point_file_lines():
    haigo = [("同系配合", 0), ("面白配合", 2000), ("見事な配合", 2000), ("よくできた配合", 2000), ("ニックス:完璧", 800),
             ("ニックス:優れている", 600), ("ニックス:良い", 400), ("ニックス:程々", 200), ("危険（近親）", -10000),
             ("危険（過多）", -5000), ("アウトブリード", 2000)]
    lines = ["[配合]"] + [f"{k}={v}" for k, v in haigo]
    lines += ["[クロス本数]"] + [f"{i}本=0" for i in range(1, 8)]
    lines += ["[血統構成]"] + [f"効果{i:02d}=0" for i in range(1, 17)]
    lines += ["[インブリード]"] + [f"効果{i:02d}=0" for i in range(0, 17)]
    lines += ["[親似効果]"] + [f"効果{i:02d}=0" for i in range(0, 17)]
    mstatus = [("自家生産", 0), ("他家生産", 0), ("毛色Pts", 0), ("基本料下限", 0), ("基本料上限", 12500), ("基本料Pts", 0),
               ("スピード下限", 0), ("スピード上限", 10), ("スピードPts", 0), ("スタミナ下限", 0), ("スタミナ上限", 10),
               ("スタミナPts", 0)]
    lines += ["[繁殖牝馬]"] + [f"{k}={v}" for k, v in mstatus] + ["毛色="]
    dstatus = [("内国産", 0), ("外国産", 0), ("毛色Pts", 0), ("★下限", 1), ("★上限", 5), ("★Pts", 0), ("距離下限", 1000),
               ("距離上限", 3600), ("距離Pts", 0)]
    dstatus += [(k, 0) for k in ("早熟", "普通", "晩成", "持続", "ダート◎", "ダート○", "ダート△")]
    dstatus += [(f"{k}{g}", 0) for k in ("気性", "底力", "健康", "実績", "安定") for g in "ABC"]
    dstatus += [("気性O", 0), ("健康O", 0)]
    lines += ["[種牡馬]"] + [f"{k}={v}" for k, v in dstatus] + ["毛色="]
    return lines


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sample")
    os.makedirs(out, exist_ok=True)
    rng = random.Random(SEED)
    d = build(rng)
    stallions, mares, fees = d["stallions"], d["mares"], d["fees"]

    group_colours = [0x8080FF, 0xFF8080, 0x80FF80, 0x80FFFF, 0xFF80FF, 0x40A0FF, 0xC0C0FF, 0x4080A0,
                     0xC0C0C0, 0xF0F0F0, 0x606060, 0x00D0FF, 0xE0E0E0, 0x804000, 0x80C000, 0xC08000]
    write_lines(os.path.join(out, "面白系統.CSV"),
                [f"{n},${c:06X},{GROUP_LABELS[i]}" for i, (n, c) in enumerate(zip(d["group_names"], group_colours))])
    write_lines(os.path.join(out, "系統.CSV"),
                [f"{n},{d['line_group'][i + 1]}" for i, n in enumerate(d["line_names"])])
    write_lines(os.path.join(out, "毛色.CSV"), COLOURS)
    write_lines(os.path.join(out, "ｸﾛｽ.CSV"), [f"{n},${c:06X}" for n, c in CROSS_EFFECTS])

    # Ancestors: every male of every registered pedigree, the stallions themselves included, oldest first.
    ancestors = []
    seen_names = set()

    def add(h):
        if h is not None and h.name not in seen_names:
            seen_names.add(h.name)
            ancestors.append(h)

    for h in stallions:
        for p in range(1, 16):
            add(h.pos[p])
    for h in mares:
        for p in range(1, 16):
            add(h.pos[p])
    for h in stallions:
        add(h)
    ancestors.sort(key=lambda h: (h.gen, h.region, h.name))
    write_lines(os.path.join(out, "祖先馬.CSV"), [f"{h.name},{h.a},{h.b},{h.line}" for h in ancestors])

    rng2 = random.Random(SEED + 1)
    line_names = d["line_names"]
    dad_lines = []
    for h in stallions:
        birth = rng2.choice(["内国", "内国", "自家", "　　"]) if h.region == 0 else rng2.choice(["外国", "外国", "配信"])
        d1 = rng2.choice(range(1000, 2401, 200))
        d2 = d1 + rng2.choice(range(400, 1201, 200))
        fields = [h.name, birth, line_names[h.line - 1], rng2.choice(COLOURS), str(fees[h]), str(d1), str(d2),
                  rng2.choice(["◎", "○", "△", ""]), rng2.choice(["早熟", "普通", "晩成", "持続"])]
        fields += [rng2.choice("ABC") for _ in range(5)]
        fields += [h.pos[p].name if h.pos[p] else "未登録" for p in range(1, 16)]
        dad_lines.append(",".join(fields))
    write_lines(os.path.join(out, "種牡馬.CSV"), dad_lines)

    mam_lines = []
    for h in mares:
        motikomi = rng2.choice(["無し", "無し", "自家", "他家"]) if h.region == 0 else "有り"
        speed = rng2.randint(35, 75)
        stamina = rng2.randint(35, 75)
        fee = rng2.choice(range(500, 12001, 500))
        fields = [h.name, motikomi, line_names[h.sire.line - 1], rng2.choice(COLOURS), str(fee), str(speed),
                  str(stamina)]
        fields += [h.pos[p].name if h.pos[p] else "未登録" for p in range(1, 16)]
        mam_lines.append(",".join(fields))
    write_lines(os.path.join(out, "牝馬.CSV"), mam_lines)

    nix_lines = []
    for i, (l1, l2, v) in enumerate(d["nicks"]):
        if i % 9 == 4:  # the four-field form: line, number, line, value
            nix_lines.append(f"{line_names[l1 - 1]},{i + 1},{line_names[l2 - 1]},{v}")
        else:
            nix_lines.append(f"{line_names[l1 - 1]},{line_names[l2 - 1]},{v}")
    write_lines(os.path.join(out, "ニックス.CSV"), nix_lines)
    write_lines(os.path.join(out, "相性.CSV"), point_file_lines())

    print(f"make_sample: {len(ancestors)} ancestors, {len(stallions)} stallions, {len(mares)} broodmares, "
          f"{len(d['nicks'])} nicks, {LINE_COUNT} sire lines")
    print("make_sample: pairs per mating type: " + ", ".join(f"{k} {d['seen'].get(k, 0)}" for k in REQUIRED))


if __name__ == "__main__":
    main()
