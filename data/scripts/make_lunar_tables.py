#!/usr/bin/python3
"""Computes the Chinese lunar calendar of the lunar years 1901..2100 and prints the tables of
src/text/LunarTables.cpp (one month word a year and the leap-month nibbles).

The rules are those of the national standard for compiling the calendar: a month begins on
the civil day of the new moon; the month that holds the winter solstice is the eleventh;
when thirteen months separate two eleventh months, the first of them that holds no
principal term (a multiple of 30 degrees of the Sun's longitude) is the leap month and takes
the number of the month before it. Days are civil days of UTC+8, before 1929 of Beijing's
local mean time (116°25' E), as the calendars of those years were computed.

New moons and the Sun's apparent longitude come from PyEphem (Debian package
python3-ephem, full VSOP87 and ELP theories). Run:
    data/scripts/make_lunar_tables.py > /tmp/rows.txt   (then paste the two tables)
"""
import math
import sys

import ephem

from sun_longitude import moment_of_longitude

FIRST, LAST = 1901, 2100


def utc_offset_days(date):
    if date < ephem.Date("1929/1/1"):
        return (116 + 25 / 60.0) / 360.0
    return 8 / 24.0


def civil_day(date):
    """Day number (ephem's day count, integral) of the civil date of a moment."""
    return math.floor(date + utc_offset_days(date) + 0.5)


def principal_term_days(year):
    """Civil days of the twelve principal terms (中气) of a Gregorian year and the next
    solstice's."""
    days = []
    for k in range(12):  # 大寒 300° in January ... 冬至 270° in December
        degrees = (300 + 30 * k) % 360
        days.append(civil_day(moment_of_longitude(degrees, ephem.Date("%d/1/20" % year) + k * 30.44)))
    return days


def new_moon_days(start, end):
    days = []
    d = ephem.previous_new_moon(ephem.Date(start))
    while d < ephem.Date(end):
        days.append(civil_day(d))
        d = ephem.next_new_moon(ephem.Date(d + 1))
    return days


def months():
    """(lunar year, month number, leap, first day) of every month from the eleventh month
    of 1900 to the end of lunar 2100."""
    terms = set()
    solstices = {}
    for year in range(1899, LAST + 3):
        days = principal_term_days(year)
        terms.update(days)
        solstices[year] = days[-1]
    moons = new_moon_days("1899/11/1", "%d/3/1" % (LAST + 2))
    out = []
    for year in range(1900, LAST + 1):
        first = max(i for i, m in enumerate(moons) if m <= solstices[year])
        last = max(i for i, m in enumerate(moons) if m <= solstices[year + 1])
        span = moons[first:last + 1]  # the eleventh month of `year` to that of the next
        leap_index = None
        if last - first == 13:
            for i in range(1, 13):
                if not any(span[i] <= t < span[i + 1] for t in terms):
                    leap_index = i
                    break
        number, lunar_year = 11, year
        for i in range(last - first):
            if i > 0 and i != leap_index:
                number = number % 12 + 1
                if number == 1:
                    lunar_year = year + 1
            out.append((lunar_year, number, i == leap_index, span[i], span[i + 1] - span[i]))
    return out


def main():
    by_year = {}
    for lunar_year, number, leap, start, length in months():
        by_year.setdefault(lunar_year, []).append((number, leap, start, length))
    words, leaps, new_years = [], [], []
    for year in range(FIRST, LAST + 1):
        ms = by_year[year]
        word = 0
        for i, (_, _, _, length) in enumerate(ms):
            if length == 30:
                word |= 1 << (15 - i)
        leap = next((n for n, is_leap, _, _ in ms if is_leap), 0)
        words.append(word)
        leaps.append(leap)
        new_years.append(ephem.Date(ms[0][2] - 0.5).tuple()[:3])
    print("// words")
    for i in range(0, len(words), 10):
        print("    " + ", ".join("0x%04X" % w for w in words[i:i + 10]) + ",  // %d-%d" % (FIRST + i, FIRST + i + 9))
    print("// leaps")
    for i in range(0, len(leaps), 20):
        pairs = leaps[i:i + 20]
        cells = ["0x%X%X" % (pairs[j], pairs[j + 1] if j + 1 < len(pairs) else 0) for j in range(0, len(pairs), 2)]
        print("    " + ", ".join(c if len(c) == 4 else "0x%s" % c[2:].rjust(2, "0") for c in cells) + ",  // %d-%d"
              % (FIRST + i, FIRST + i + 19))
    print("// new years")
    for i in range(0, len(new_years), 8):
        print("    " + ", ".join('"%04d-%02d-%02d"' % ny for ny in new_years[i:i + 8]) + ",")


if __name__ == "__main__":
    sys.exit(main())
