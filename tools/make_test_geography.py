#!/usr/bin/python3
"""Write the small hand-made postal geography used by the presort tests.

Usage: /usr/bin/python3 tools/make_test_geography.py [--out DIR]

The default output is tests/fixtures/geography.  The geography is a few dozen
prefixes chosen so that every construct of the charts and label lists occurs
at least once; tests/fixtures/geography/README lists them.  It does not depend
on the national data, so presort tests keep their expectations when the
shipped tables are regenerated.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_postal_tables import (CHART_LINES, POSTAL_FILES,  # noqa: E402
                                default_settings, write_table, write_text)

# Label lists, numbered from 1 in the order given.
TDLIST = [
    "SPRINGFIELD MA",       # 1: 010-013; 011 is a unique city (-1)
    "WORCESTER MA",         # 2: 014
    "APO AE",               # 3: 090
    "BUFFALO NY",           # 4: 140-143
    "PITTSBURGH PA",        # 5: 150-152
    "OKLAHOMA CITY OK",     # 6: 730-731
    "NORTH TEXAS TX",       # 7: 750
    "DALLAS TX",            # 8: 751-752; 752 is a unique city (-8)
    "MID CITIES TX 751!",   # 9: 753, trays sorted as if it were 751
    "HOUSTON TX",           # 10: 770
    "DENVER CO",            # 11: 800
    "HONOLULU HI",          # 12: 967-968
    "BARRIGADA GU",         # 13: 969
]
TDSCLIST = [
    "BUFFALO NY 140",               # 1: 140-141, code 140 is a member
    "HONOLULU HI 967",              # 2: 967-968 (969 joins for First-Class)
    "DALLAS TX 752*LETTER SCHEME",  # 3: 750, 752-753, code before the "*"
]
SCFLIST = [
    "SPRINGFIELD MA 010",     # 1: 010-013, the "010" row of the ASF table
    "WORCESTER MA 014",       # 2: 014 alone (-2)
    "APO AE 090",             # 3: 090 alone (-3)
    "BUFFALO NY 140",         # 4: 140-143
    "PITTSBURGH PA 150",      # 5: 150-152
    "OKLAHOMA CITY OK 730",   # 6: 730-731
    "NORTH TEXAS TX 750",     # 7: 750 alone (-7)
    "DALLAS TX 752",          # 8: 751-753
    "HOUSTON TX 770",         # 9: 770 alone (-9)
    "DENVER CO 800",          # 10: 800 alone (-10)
    "HONOLULU HI 967",        # 11: 967-968
    "BARRIGADA GU 969",       # 12: 969 alone (-12)
]
ADCLIST = [
    "ADC SPRINGFIELD MA 010",     # 1: 010-014
    "ADC BUFFALO NY 140",         # 2: 140-143
    "ADC PITTSBURGH PA 150",      # 3: 150-152
    "ADC OKLAHOMA CITY OK 730",   # 4: 730-731
    "ADC NORTH TEXAS TX 75099",   # 5: 750-753, 5-digit order code
    "ADC NORTH HOUSTON TX 773",   # 6: 770
    "ADC DENVER CO 800",          # 7: 800
    "ADC HONOLULU HI 967",        # 8: 967-969
]
AADCLIST = ["A" + label for label in ADCLIST] + [
    "AADC BARRIGADA GU 969",      # 9: 969, Standard only
]
DBMCLIST = [
    "BMC SPRINGFIELD MA 05500",   # 1: 010-014
    "ASF BUFFALO NY Y 140",       # 2: 140-143
    "BMC PITTSBURGH PA 15195",    # 3: 150-152
    "ASF OKLAHOMA CITY OK K 730", # 4: 730-731
    "BMC DALLAS TX 75199",        # 5: 750-753, 770
    "BMC DENVER CO 80088",        # 6: 800
    "BMC SAN FRANCISCO CA 94850", # 7: 967-969
]
BMCALIST = [
    "ADC SPRINGFIELD MA 01152",
    "ADC BUFFALO NY 140",
    "ADC PITTSBURGH PA 15195",
    "ADC OKLAHOMA CITY OK 730",
    "ADC DALLAS TX 75199",
    "ADC DENVER CO 80088",
    "ADC HONOLULU HI 967",
]

# prefix: (tdchrt, tdscchrt, scfchrt, adc, aadc standard, aadc first-class,
#          dbmc, zone).  The non-BMC entry charts follow the ADC.
PREFIXES = {
    10:  (1, 0, 1, 1, 1, 1, 1, 7),
    11:  (-1, 0, 1, 1, 1, 1, 1, 7),
    12:  (1, 0, 1, 1, 1, 1, 1, 7),
    13:  (1, 0, 1, 1, 1, 1, 1, 7),
    14:  (2, 0, -2, 1, 1, 1, 1, 7),
    90:  (3, 0, -3, 0, 0, 0, 0, 0),
    140: (4, 1, 4, 2, 2, 2, 2, 7),
    141: (4, 1, 4, 2, 2, 2, 2, 7),
    142: (4, 0, 4, 2, 2, 2, 2, 7),
    143: (4, 0, 4, 2, 2, 2, 2, 7),
    150: (5, 0, 5, 3, 3, 3, 3, 6),
    151: (5, 0, 5, 3, 3, 3, 3, 6),
    152: (5, 0, 5, 3, 3, 3, 3, 6),
    730: (6, 0, 6, 4, 4, 4, 4, 3),
    731: (6, 0, 6, 4, 4, 4, 4, 3),
    750: (7, 3, -7, 5, 5, 5, 5, 2),
    751: (8, 0, 8, 5, 5, 5, 5, 1),
    752: (-8, 3, 8, 5, 5, 5, 5, 1),
    753: (9, 3, 8, 5, 5, 5, 5, 2),
    770: (10, 0, -9, 6, 6, 6, 5, 4),
    800: (11, 0, -10, 7, 7, 7, 6, 5),
    967: (12, 2, 11, 8, 8, 8, 7, 8),
    968: (12, 2, 11, 8, 8, 8, 7, 8),
    969: (-13, 0, -12, 8, 9, 8, 7, 8),
}

README_TEXT = """\
Test geography
==============

A small hand-made postal geography for the presort tests, written by
tools/make_test_geography.py (do not edit by hand; regenerate with
/usr/bin/python3 tools/make_test_geography.py).  It has the same 27 files as
data/tables: twenty postal charts and label lists (charts of exactly 1000
lines) and the seven settings files.  Lines end in CR LF; line 0 of every
list and settings file is unused.

Served prefixes (24): 010-014, 090, 140-143, 150-152, 730-731, 750-753, 770,
800, 967-969.  Every other prefix is 0 in every chart (its ZIP codes are
rejected as unserved).

Constructs, one place each
--------------------------
- Prefix 012 is served (tests use ZIP 01234): 3-digit label 1
  "SPRINGFIELD MA", SCF 1, ADC/AADC 1, DBMC 1 (Springfield, "05500"), zone 7.
- Unique-city prefixes, negative tdchrt values: 011 = -1 (SPRINGFIELD MA),
  752 = -8 (DALLAS TX), 969 = -13 (BARRIGADA GU).
- Order override: tdlist line 9 is "MID CITIES TX 751!", used by 753; its
  3-digit tray sorts as 751.
- Schemes (tdsclist): 1 "BUFFALO NY 140" for 140-141 (the code 140 is a
  member prefix); 2 "HONOLULU HI 967" for 967-968; 3
  "DALLAS TX 752*LETTER SCHEME" for 750 and 752-753 (code taken before the
  "*"; 750 lies outside the mailer's SCF, 752-753 inside it).  969 is in no
  scheme: First-Class looks it up as 967 and so joins scheme 2.
- SCFs: single-prefix SCFs have negative values: 014 = -2, 090 = -3,
  750 = -7, 770 = -9, 800 = -10, 969 = -12.  SCF 1 "SPRINGFIELD MA 010"
  (010-013) ends in "010", the SCF row of the "05500" ASF; SCF 4
  "BUFFALO NY 140" ends in "140", the SCF of the "Y 140" ASF.
- ADCs: 8 labels, Standard and Periodicals charts equal.  "ADC NORTH TEXAS
  TX 75099" (750-753) has a 5-digit order code, the others 3-digit codes.
- Prefix 090 (APO AE) is served with an SCF but has ADC, AADC, DBMC,
  non-BMC entry and zone all 0.
- AADCs: same numbers as the ADCs; Standard puts 969 in its own AADC 9
  "AADC BARRIGADA GU 969", First-Class keeps 967, 968 and 969 together in
  AADC 8 "AADC HONOLULU HI 967".
- Destination BMCs: 1 "BMC SPRINGFIELD MA 05500" (010-014), 2 "ASF BUFFALO
  NY Y 140" (140-143), 3 BMC Pittsburgh 15195, 4 "ASF OKLAHOMA CITY OK K
  730" (730-731), 5 BMC Dallas 75199 (750-753, 770), 6 BMC Denver 80088,
  7 BMC San Francisco 94850 (967-969).  bmcalist runs parallel; its labels
  end in a 5-digit ZIP or a 3-digit prefix whose SCF is served (First-Class
  mixed trays).
- Non-BMC entry (nbmclist): the ADC labels; both charts equal the ADC chart.
- Zones from Dallas (752): 1 = 751-752, 2 = 750 and 753, 3 = 730-731,
  4 = 770, 5 = 800, 6 = 150-152, 7 = 010-014 and 140-143, 8 = 967-969,
  0 = 090.

Settings: the shipped defaults (Standard machinable letters, mm trays, 120
pieces to a 5-inch stack, sample rates), with the mailer entering locally at
DALLAS TX 75201 (prefix 752, served by every chart).

Check with: /usr/bin/python3 tools/check_postal_tables.py --allow-gaps
tests/fixtures/geography  (--allow-gaps because of prefix 090).
"""


def build():
    charts = {name: {} for name in ("tdchrt", "tdscchrt", "scfchrt", "adc", "aadschrt",
                                    "aadfchrt", "dbmcchrt", "zonechrt")}
    order = ["tdchrt", "tdscchrt", "scfchrt", "adc", "aadschrt", "aadfchrt",
             "dbmcchrt", "zonechrt"]
    for prefix, values in sorted(PREFIXES.items()):
        for name, v in zip(order, values):
            charts[name][prefix] = v

    def chart(values):
        return ["0"] + [str(values.get(p, 0)) for p in range(1, CHART_LINES)]

    files = {
        "tdlist": [""] + TDLIST,
        "tdsclist": [""] + TDSCLIST,
        "scflist": [""] + SCFLIST,
        "adclist": [""] + ADCLIST,
        "aadclist": [""] + AADCLIST,
        "dbmclist": [""] + DBMCLIST,
        "bmcalist": [""] + BMCALIST,
        "nbmclist": [""] + ADCLIST,
        "zonelist": [""] + ["ZONE %d" % z for z in range(1, 9)],
        "adcschrt": chart(charts["adc"]),
        "adcpchrt": chart(charts["adc"]),
        "nbmschrt": chart(charts["adc"]),
        "nbmpchrt": chart(charts["adc"]),
    }
    for name in ("tdchrt", "tdscchrt", "scfchrt", "aadschrt", "aadfchrt", "dbmcchrt", "zonechrt"):
        files[name] = chart(charts[name])
    return files


def main(argv=None):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", default=os.path.join(repo, "tests", "fixtures", "geography"))
    args = ap.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    files = build()
    for name in POSTAL_FILES:
        write_table(args.out, name, files[name])
    settings = default_settings(company="TEST MAILER")
    for name, lines in settings.items():
        write_table(args.out, name, lines)
    write_text(os.path.join(args.out, "README"), README_TEXT)
    return 0


if __name__ == "__main__":
    sys.exit(main())
