#!/usr/bin/env python3
"""Generate src/text/PinyinTablesLevel2.cpp, the syllables of the GB2312 level-2 characters.

Level 2 (zones 56 to 87) is ordered by radical, not by reading, so every character needs its
own entry. Each entry is the first kMandarin reading of the Unihan database with tone marks
removed, in capitals, restricted to the syllable inventory that level 1 already uses plus the
few syllables only level 2 needs; a character whose readings all fall outside it stays empty
and converts to "?". Bare radicals stay empty on purpose: they are components, not names.

Runs on a developer's machine, not in the build; the generated file is kept in the repository.
"""

import argparse
import bz2
import io
import pathlib
import re
import sys
import unicodedata
import zipfile

REPO = pathlib.Path(__file__).resolve().parents[2]
DEFAULT_LEVEL1 = REPO / "src/text/PinyinTablesLevel1.cpp"
DEFAULT_OUT = REPO / "src/text/PinyinTablesLevel2.cpp"
UNIHAN_CANDIDATES = [
    pathlib.Path("/usr/share/unicode/Unihan_Readings.txt"),
    pathlib.Path("/usr/share/unicode/Unihan_Readings.txt.bz2"),
    pathlib.Path("/usr/share/unicode/Unihan.zip"),
]

FIRST_CODE, LAST_CODE = 5601, 8794

# ü is kept only in these two syllables, as the GBK characters A8 B9 (ü) and A8 B5 (ǖ);
# every other ü is written U, as level 1 writes it.
L_UMLAUT = "L\u00fc"
N_UMLAUT = "N\u01d6"
UMLAUT_CHARS = {ch: L_UMLAUT for ch in "闾榈膂锊稆褛"} | {ch: N_UMLAUT for ch in "恧钕衄"}
LEVEL2_ONLY_SYLLABLES = {"CEN", "DIA", "M", "N", "NOU", L_UMLAUT, N_UMLAUT}

# Components that appear in dictionaries only as radicals. Radicals that are words in their
# own right (匕 鬲 爻 孑 缶 豕 ...) keep their reading.
BARE_RADICALS = set(
    "丨丿丶匚刂冂亻勹亠冫冖讠卩阝廴凵厶艹廾尢扌囗彡犭夂饣忄丬氵宀辶彐纟巛攴攵灬礻钅疒衤虍糸髟"
)
# Rare characters deliberately left without a syllable.
NO_SYLLABLE = set("丌")
# Where the first kMandarin reading is not the one the mainland dictionary (kXHC1983) gives
# for the character's everyday use.
READING_OVERRIDES = {"嗲": "DIA", "呒": "M"}

# Rows whose value is relied on; the run fails if the data would change any of them.
EXPECTED = {
    5601: "CHU", 5602: "", 5603: "WU", 5604: "GAI", 5605: "NIAN", 5606: "SA", 5607: "PI",
    5608: "GEN", 5609: "CHENG", 5610: "GE", 5868: "QIAN", 6437: "N", 6744: L_UMLAUT,
    7704: N_UMLAUT, 8150: "CHU", 8793: "HAN", 8794: "ZHA",
}
EXPECTED_BY_CHAR = {ch: "CI" for ch in "茈呲祠鹚糍"} | {ch: "GA" for ch in "尬尕尜旮钆"}


def open_unihan_readings(path):
    if path.suffix == ".zip":
        with zipfile.ZipFile(path) as archive:
            data = archive.read("Unihan_Readings.txt")
        return io.StringIO(data.decode("utf-8"))
    if path.suffix == ".bz2":
        return bz2.open(path, "rt", encoding="utf-8")
    return open(path, encoding="utf-8")


def read_mandarin(path):
    readings = {}
    with open_unihan_readings(path) as lines:
        for line in lines:
            if line.startswith("#") or not line.strip():
                continue
            cp, key, value = line.rstrip("\n").split("\t")
            if key == "kMandarin":
                readings[chr(int(cp[2:], 16))] = value.split()
    return readings


def read_level1_syllables(path):
    text = path.read_text(encoding="utf-8")
    syllables = re.findall(r'\{\d+, "([A-Z]+)"\}', text)
    if len(syllables) != 395:
        sys.exit(f"{path}: expected 395 level-1 runs, found {len(syllables)}")
    return set(syllables)


def plain_syllable(reading):
    """Tone marks off, capitals, ü as U."""
    decomposed = unicodedata.normalize("NFD", reading)
    letters = "".join(c for c in decomposed if not unicodedata.combining(c))
    return letters.upper()


def char_of(code):
    zone, position = divmod(code, 100)
    if not 1 <= position <= 94:
        return None
    return bytes([zone + 160, position + 160]).decode("cp936")


def syllable_of(ch, readings, inventory):
    if ch in BARE_RADICALS or ch in NO_SYLLABLE:
        return ""
    if ch in UMLAUT_CHARS:
        return UMLAUT_CHARS[ch]
    if ch in READING_OVERRIDES:
        return READING_OVERRIDES[ch]
    for reading in readings.get(ch, []):
        syllable = plain_syllable(reading)
        if syllable in inventory:
            return syllable
    return ""


def build_table(readings, inventory):
    slots = [(code, char_of(code)) for code in range(FIRST_CODE, LAST_CODE + 1)]
    table = {code: syllable_of(ch, readings, inventory) if ch else "" for code, ch in slots}
    return slots, table


def check(slots, table, level1):
    problems = []
    for code, want in EXPECTED.items():
        if table[code] != want:
            problems.append(f"{code} {char_of(code)}: {table[code]!r}, expected {want!r}")
    by_char = {ch: table[code] for code, ch in slots if ch}
    for ch, want in EXPECTED_BY_CHAR.items():
        if by_char.get(ch) != want:
            problems.append(f"{ch}: {by_char.get(ch)!r}, expected {want!r}")
    for ch in BARE_RADICALS | NO_SYLLABLE | set(UMLAUT_CHARS):
        if ch not in by_char:
            problems.append(f"{ch} is not a level-2 character")
    level2_only = {s for s in table.values() if s and s not in level1}
    if level2_only != LEVEL2_ONLY_SYLLABLES:
        problems.append(f"level-2-only syllables {sorted(level2_only)}, "
                        f"expected {sorted(LEVEL2_ONLY_SYLLABLES)}")
    if problems:
        sys.exit("level-2 table check failed:\n  " + "\n  ".join(problems))


def cxx_literal(syllable):
    if not syllable:
        return "{}"
    raw = syllable.encode("cp936")
    return '"' + "".join(chr(b) if b < 0x80 else f"\\x{b:02X}" for b in raw) + '"'


def render(slots, table):
    lines = [
        "// Generated by data/pinyin/gen_level2.py from the kMandarin readings of Unihan.",
        "// Do not edit; change the script and run it again.",
        '#include "text/PinyinTables.h"',
        "",
        "namespace kivtal::pinyin {",
        "",
        "const std::array<std::string_view, kLevel2SlotCount> kLevel2Syllables = {{",
    ]
    for code, ch in slots:
        note = f"{code} {ch}" if ch else f"{code}"
        lines.append(f"    {cxx_literal(table[code])},  // {note}")
    lines += ["}};", "", "}  // namespace kivtal::pinyin", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unihan", type=pathlib.Path,
                        help="Unihan_Readings.txt[.bz2] or Unihan.zip (default: under /usr/share/unicode)")
    parser.add_argument("--level1", type=pathlib.Path, default=DEFAULT_LEVEL1)
    parser.add_argument("--out", type=pathlib.Path, default=DEFAULT_OUT)
    args = parser.parse_args()

    unihan = args.unihan or next((p for p in UNIHAN_CANDIDATES if p.exists()), None)
    if unihan is None:
        sys.exit("Unihan readings not found; install unicode-data or pass --unihan")
    level1 = read_level1_syllables(args.level1)
    readings = read_mandarin(unihan)
    slots, table = build_table(readings, level1 | LEVEL2_ONLY_SYLLABLES)
    check(slots, table, level1)
    args.out.write_text(render(slots, table), encoding="utf-8")

    chars = [code for code, ch in slots if ch]
    filled = sum(1 for code in chars if table[code])
    print(f"{args.out}: {len(slots)} slots, {len(chars)} characters, "
          f"{filled} with a syllable, {len(chars) - filled} empty")


if __name__ == "__main__":
    main()
