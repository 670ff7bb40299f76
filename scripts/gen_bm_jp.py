#!/usr/bin/env python3
"""Generates resources/bm_jp.tsv, the pinyin initials of single characters.

Usage:  python3 scripts/gen_bm_jp.py [output]    (default: resources/bm_jp.tsv)

Reads the kMandarin readings of /usr/share/unicode/Unihan_Readings.txt.bz2
(Debian package unicode-data). Writes one line "<character>\\t<LETTER>" (UTF-8)
for every Chinese character of the GBK code page whose code lies outside the
GB2312 level-1 block 0xB0A1..0xD7F9, whose initials follow from the code alone.
LETTER is the first letter of the first reading, tone marks stripped
("lǘ" -> "L"). Compatibility ideographs take the reading of their canonical
equivalent; characters without any reading are left out. Lines are sorted by
GBK code, so the output is the same on every run.
"""

import bz2
import sys
import unicodedata
from pathlib import Path

UNIHAN_READINGS = Path("/usr/share/unicode/Unihan_Readings.txt.bz2")
DEFAULT_OUTPUT = Path(__file__).resolve().parent.parent / "resources" / "bm_jp.tsv"

# GB2312 level 1 is ordered by pinyin; those codes need no table row.
LEVEL1_FIRST = 0xB0A1
LEVEL1_LAST = 0xD7F9


def read_mandarin(path):
    """Maps each character to its first kMandarin reading."""
    readings = {}
    with bz2.open(path, "rt", encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("#") or "\tkMandarin\t" not in line:
                continue
            code, _, value = line.rstrip("\n").split("\t", 2)
            readings[chr(int(code[2:], 16))] = value.split()[0]
    return readings


def is_chinese_character(char):
    name = unicodedata.name(char, "")
    return name.startswith("CJK UNIFIED IDEOGRAPH") or name.startswith("CJK COMPATIBILITY IDEOGRAPH")


def gbk_characters():
    """Yields (code, character) for every double-byte code of GBK, in code order."""
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F:
                continue
            try:
                char = bytes((lead, trail)).decode("gbk")
            except UnicodeDecodeError:
                continue
            yield lead * 256 + trail, char


def initial_letter(reading):
    """First letter of a reading without its tone mark; ü becomes U."""
    base = "".join(c for c in unicodedata.normalize("NFD", reading) if not unicodedata.combining(c))
    return base[0].upper()


def reading_of(char, readings):
    canonical = unicodedata.normalize("NFC", char)
    return readings.get(canonical) or readings.get(char)


def table_lines(readings):
    for code, char in gbk_characters():
        if LEVEL1_FIRST <= code <= LEVEL1_LAST or not is_chinese_character(char):
            continue
        reading = reading_of(char, readings)
        if reading:
            yield f"{char}\t{initial_letter(reading)}\n"


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_OUTPUT
    lines = list(table_lines(read_mandarin(UNIHAN_READINGS)))
    with open(output, "w", encoding="utf-8", newline="\n") as out:
        out.writelines(lines)
    print(f"{output}: {len(lines)} lines")


if __name__ == "__main__":
    main()
