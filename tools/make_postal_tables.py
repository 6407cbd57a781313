#!/usr/bin/python3
"""Build the postal charts, label lists and default settings in data/tables.

Usage: /usr/bin/python3 tools/make_postal_tables.py [PUBLIC_DATA_DIR] [--out DIR]

PUBLIC_DATA_DIR defaults to public-data/ of the repository; --out defaults to
data/tables.  The output depends only on the input files: every mapping is
iterated in sorted order and nothing time-dependent is written, so a second run
reproduces the folder byte for byte.

The presort's rules were written for the older BMC/ADC/AADC network, while the
public lists on hand describe the 2024/2025 network (L002, L601) and the 2010
ADC list (L004).  The adaptations are listed in README_TEXT below, which is
written into the output folder as its README.
"""

import argparse
import csv
import json
import os
import re
import shutil
import struct
import sys
from collections import Counter, OrderedDict

CHART_LINES = 1000

# Origin of the shipped zone chart and of the default mailer.
ORIGIN_PREFIX = 752
MAILER_CITY, MAILER_STATE, MAILER_ZIP = "DALLAS", "TX", "75201"

# The ASF rows of the entry-discount rule: the code the destination-BMC label
# must end in, and the prefix whose ADC gives the ASF's service area.
ASF_CODES = [
    ("Y 140", 140),
    ("D 570", 570),
    ("D 580", 580),
    ("T 590", 590),
    ("K 730", 730),
    ("T 840", 840),
    ("Z 852", 852),
    ("M 870", 870),
]
# The Springfield BMC is known to the entry-discount rule only by its old
# facility code.
SPRINGFIELD_CODE = "05500"

# L601 abbreviates some facility names; these two would be unreadable on a tag.
CITY_SPELLING = {"SPFLD": "SPRINGFIELD"}

USED_SOURCES = [
    "usps-l002-2024",
    "usps-l004-adc-2010",
    "usps-l601-2025",
    "usps-zone-matrix-2024",
    "usps-zonechart-2016",
]

POSTAL_FILES = [
    "tdchrt", "tdlist", "scfchrt", "scflist", "tdscchrt", "tdsclist",
    "adcschrt", "adcpchrt", "adclist", "aadschrt", "aadclist", "aadfchrt",
    "dbmcchrt", "dbmclist", "bmcalist", "nbmschrt", "nbmpchrt", "nbmclist",
    "zonelist", "zonechrt",
]
SETTINGS_FILES = ["mailtype", "mailer", "per", "prefs", "fonts", "statement", "rates"]


class DataError(Exception):
    pass


def squeeze(text):
    return " ".join(text.split())


def expand_ranges(text):
    """'005, 066, 068-079' -> [5, 66, 68, ..., 79]."""
    out = []
    for part in text.replace(" ", "").split(","):
        if not part:
            continue
        if "-" in part:
            lo, hi = part.split("-")
            out.extend(range(int(lo), int(hi) + 1))
        else:
            out.append(int(part))
    return out


def drop_code(label):
    """'HARTFORD CT 010' -> 'HARTFORD CT'."""
    words = label.split()
    if words and re.fullmatch(r"\d{3,5}", words[-1]):
        words = words[:-1]
    return " ".join(words)


# ---------------------------------------------------------------- readers


def read_l002(folder):
    """prefix -> dict(area, unique, scheme, scf, scf_single_flag)."""
    path = os.path.join(folder, "usps-l002-2024", "DMM_L002_202408.csv")
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    out = {}
    for row in rows:
        row = [squeeze(c) for c in row]
        if not row or not re.fullmatch(r"\d{3}", row[0]):
            continue
        row += [""] * (8 - len(row))
        prefix = int(row[0])
        scf = row[6]
        if scf.startswith("SCF "):
            scf = scf[4:]
        out[prefix] = {
            "area": row[2],
            "unique": row[3] == "U",
            "scheme": row[4] if row[5] == "S" else "",
            "scf": scf,
        }
    if len(out) < 900:
        raise DataError("%s: only %d prefixes read" % (path, len(out)))
    return out


def read_l004(folder):
    """List of (label, prefixes) in list order."""
    path = os.path.join(folder, "usps-l004-adc-2010", "l004_adc_2010.csv")
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    out = []
    for row in rows:
        label = squeeze(row["label"])
        # The presort and the reports strip a leading "ADC " from these labels,
        # so every entry must carry it; three rows of the list do not.
        if not label.startswith("ADC "):
            label = "ADC " + label
        out.append((label, expand_ranges(row["zip3_prefixes"])))
    return out


def read_l601(folder):
    """List of (label, prefixes); the San Juan origin-only row is skipped."""
    path = os.path.join(folder, "usps-l601-2025", "DMM_L601.csv")
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    out = []
    started = False
    for row in rows:
        row = [squeeze(c) for c in row]
        if not started:
            started = bool(row) and row[0].startswith("Column A")
            continue
        if len(row) < 2 or not row[1]:
            continue
        # FT1 rows apply only to mail entered inside 006-009; the chart holds
        # one destination per prefix, so the general (FT2) row wins.
        if len(row) > 2 and row[2] == "FT1":
            continue
        out.append((row[1], expand_ranges(row[0])))
    if not out:
        raise DataError("%s: no facility rows" % path)
    return out


def read_zones(folder, origin):
    """destination prefix -> Periodicals zone 1..8 for one origin prefix."""
    path = os.path.join(folder, "usps-zone-matrix-2024", "Format2.txt")
    tag = "%03d" % origin
    record = None
    with open(path, encoding="ascii") as f:
        for line in f:
            if line.startswith(tag) and len(line) > 1000:
                record = line.rstrip("\r\n")
                break
    if record is None:
        raise DataError("%s: no record for origin %s" % (path, tag))
    fallback = {}
    jpath = os.path.join(folder, "usps-zonechart-2016", "json", tag + ".json")
    with open(jpath, encoding="utf-8") as f:
        chart = json.load(f)
    for item in chart["destinationZipList"]:
        r = item["r"]
        lo, hi = (r, r) if isinstance(r, str) else (r[0], r[1])
        for p in range(int(lo), int(hi) + 1):
            fallback[p] = int(item["z"])
    zones = {}
    for dest in range(1, 1000):
        cell = record[(dest - 1) * 2 + 3]
        z = int(cell) if cell.isdigit() else 0
        if cell == "A" or z == 0:
            z = fallback.get(dest, 0)
        # Zone 9 (the farthest territories) is priced as zone 8.
        zones[dest] = min(z, 8)
    return zones


# ---------------------------------------------------------------- building


class LabelList:
    """Label texts numbered from 1 in order of first use."""

    def __init__(self):
        self.texts = []
        self.index = {}

    def number(self, text):
        if text not in self.index:
            self.texts.append(text)
            self.index[text] = len(self.texts)
        return self.index[text]

    def lines(self):
        return [""] + self.texts


def chart_lines(values):
    return ["0"] + [str(values.get(p, 0)) for p in range(1, CHART_LINES)]


def majority(values):
    """Most common value, ties to the smallest, for deterministic fallbacks."""
    counts = Counter(values)
    best = max(counts.values())
    return min(v for v, n in counts.items() if n == best)


def build_postal(folder):
    l002 = read_l002(folder)
    served = sorted(l002)
    files = {}

    # 3-digit labels: the area name; the 3-digit level appends the prefix.
    td = LabelList()
    tdchrt = {}
    for p in served:
        n = td.number(drop_code(l002[p]["area"]))
        tdchrt[p] = -n if l002[p]["unique"] else n
    files["tdlist"], files["tdchrt"] = td.lines(), chart_lines(tdchrt)

    # 3-digit schemes: only the flagged prefixes; the label ends in the code.
    sc = LabelList()
    tdscchrt = {}
    for p in served:
        if l002[p]["scheme"]:
            tdscchrt[p] = sc.number(l002[p]["scheme"])
    files["tdsclist"], files["tdscchrt"] = sc.lines(), chart_lines(tdscchrt)

    # ADC list (2010) over the 2024 prefixes.
    adc_rows = read_l004(folder)
    adc_of = {}
    adc_labels = []
    for label, prefixes in adc_rows:
        adc_labels.append(label)
        for p in prefixes:
            if p in l002:
                adc_of[p] = label

    # SCFs.  Military prefixes have no SCF in L002: they get one per ADC,
    # named after the lowest prefix of the group.
    scf_of = {p: l002[p]["scf"] for p in served if l002[p]["scf"]}
    orphans = {}
    for p in served:
        if p not in scf_of:
            if p not in adc_of:
                raise DataError("prefix %03d has neither an SCF nor an ADC" % p)
            orphans.setdefault(adc_of[p], []).append(p)
    for _, group in sorted(orphans.items()):
        label = l002[group[0]]["area"]
        for p in group:
            scf_of[p] = label

    # Prefixes opened after 2010 take the ADC of their SCF's other prefixes.
    for p in served:
        if p not in adc_of:
            mates = [adc_of[q] for q in served if scf_of[q] == scf_of[p] and q in adc_of]
            if not mates:
                raise DataError("prefix %03d: no ADC can be inferred" % p)
            adc_of[p] = majority(mates)

    scf = LabelList()
    scf_members = Counter(scf_of.values())
    scfchrt = {}
    for p in served:
        n = scf.number(scf_of[p])
        scfchrt[p] = -n if scf_members[scf_of[p]] == 1 else n
    files["scflist"], files["scfchrt"] = scf.lines(), chart_lines(scfchrt)

    adc = LabelList()
    for label in adc_labels:
        if any(adc_of.get(p) == label for p in served):
            adc.number(label)
    adcchrt = {p: adc.index[adc_of[p]] for p in served}
    files["adclist"] = adc.lines()
    files["adcschrt"] = files["adcpchrt"] = chart_lines(adcchrt)

    # Non-BMC/ASF entry: the mixed destination is the entry prefix's ADC.
    files["nbmclist"] = adc.lines()
    files["nbmschrt"] = files["nbmpchrt"] = chart_lines(adcchrt)

    # AADCs: one per ADC facility.  Guam keeps an AADC of its own for
    # Standard Mail and joins Honolulu for First-Class.
    aadc = LabelList()
    aadschrt, aadfchrt = {}, {}
    for label in adc.texts:
        aadc.number("A" + label)
    for p in served:
        aadschrt[p] = aadfchrt[p] = aadc.index["A" + adc_of[p]]
    if 969 in l002 and 967 in l002:
        aadschrt[969] = aadc.number("AADC " + l002[969]["area"])
        aadfchrt[969] = aadfchrt[967]
    files["aadclist"] = aadc.lines()
    files["aadschrt"], files["aadfchrt"] = chart_lines(aadschrt), chart_lines(aadfchrt)

    # Destination BMCs: the NDC/RPDC areas of L601, with the ASF service
    # areas (from the ADC list) cut out of them.
    dbmc, bmca = [], []
    dbmc_of = {}
    for label, prefixes in read_l601(folder):
        words = label.split()
        kind, code, state = words[0], words[-1], words[-2]
        city = " ".join(CITY_SPELLING.get(w, w) for w in words[1:-2])
        if kind == "SCF":
            continue
        facility = code if len(code) == 5 else code + "00"
        dbmc_label = "BMC %s %s %s" % (city, state, facility)
        if city == "SPRINGFIELD" and state == "MA":
            dbmc_label = "BMC %s %s %s" % (city, state, SPRINGFIELD_CODE)
        dbmc.append(dbmc_label)
        bmca.append("ADC %s %s %s" % (city, state, code))
        for p in prefixes:
            if p in l002:
                dbmc_of[p] = len(dbmc)
    for asf_code, asf_prefix in ASF_CODES:
        home = adc_of[asf_prefix]
        place = drop_code(home[4:])
        dbmc.append("ASF %s %s" % (place, asf_code))
        bmca.append("ADC %s %03d" % (place, asf_prefix))
        for p in served:
            if adc_of[p] == home:
                dbmc_of[p] = len(dbmc)
    for p in served:
        if p not in dbmc_of:
            mates = [dbmc_of[q] for q in served if adc_of[q] == adc_of[p] and q in dbmc_of]
            if not mates:
                raise DataError("prefix %03d: no destination BMC" % p)
            dbmc_of[p] = majority(mates)
    files["dbmclist"], files["bmcalist"] = [""] + dbmc, [""] + bmca
    files["dbmcchrt"] = chart_lines(dbmc_of)

    zones = read_zones(folder, ORIGIN_PREFIX)
    zonechrt = {p: zones[p] for p in served}
    missing = [p for p in served if not 1 <= zonechrt[p] <= 8]
    if missing:
        raise DataError("no zone for prefixes %s" % ", ".join("%03d" % p for p in missing))
    files["zonechrt"] = chart_lines(zonechrt)
    files["zonelist"] = [""] + ["ZONE %d" % z for z in range(1, 9)]
    return files


# ---------------------------------------------------------------- settings


def mailtype_lines():
    # Standard machinable letters in mm trays, 120 pieces to a 5-inch stack;
    # lines 6 and 7 are what the dialog derives from that stack.
    stack = 120
    # Line 5 holds a weight even though line 4 says "within the minimum
    # step": the postage statement prints the piece weight from it.
    return ["", "0", "0", "0", "0", "1", str(int(stack * 3.36) + 2),
            str(int(stack * 4.2 + 0.0001)), "0", "70"]


def mailer_lines(city=MAILER_CITY, state=MAILER_STATE, zip5=MAILER_ZIP,
                 company="SAMPLE MAILING COMPANY"):
    return ["", city, state, zip5, "0", company, "", ""]


def per_lines():
    return ["", "0", "0", "0", "f", "", "24"]


def prefs_lines():
    return ["", "0", "0", "0", "0", "1", "t", "t", "t", "t", ""]


def fonts_lines():
    return ["", "Liberation Sans", "12", "12", "10", "10", "10"]


def statement_lines(city=MAILER_CITY, state=MAILER_STATE, zip5=MAILER_ZIP):
    return ["", "SAMPLE MAILING COMPANY", "100 MAIN ST",
            "%s %s %s" % (city, state, zip5), "555-0100", city, "0", "",
            "0", "", "", "", "", ""]


def money(x):
    return "%.3f" % x


def standard_block(scale, pound_scale):
    """47 lines of one Standard Mail block (Regular or, scaled, Nonprofit)."""
    # Letters: nonautomation Basic, 3/5; automation Mixed AADC, AADC, 3-Digit, 5-Digit.
    letters = [0.268, 0.250, 0.222, 0.216, 0.207, 0.192]
    # Nonletters: nonautomation Basic, 3/5; automation Basic, 3/5.
    flats = [0.355, 0.303, 0.301, 0.251]
    dbmc_off, dscf_off = 0.017, 0.022
    out = []
    for off in (0.0, dbmc_off, dscf_off):
        out += [money(r * scale - off) for r in letters]
    out.append(money(0.050))  # nonmachinable surcharge
    for off in (0.0, dbmc_off, dscf_off):
        out += [money(r * scale - off) for r in flats]
    # Piece/pound: per-piece parts, then per-pound none, DBMC, DSCF.
    per_piece = [0.144, 0.092, 0.090, 0.040, 0.080, 0.074, 0.065, 0.050]
    out += [money(r * scale) for r in per_piece]
    out += [money(r * pound_scale) for r in (0.664, 0.595, 0.573)]
    out += ["0"] * 5
    assert len(out) == 47
    return out


def periodical_block(zone12_scale):
    pound = [0.177, 0.196, 0.213, 0.231, 0.275, 0.340, 0.406, 0.482, 0.548]
    pound[0:3] = [r * zone12_scale for r in pound[0:3]]
    # Basic, 3-Digit, 5-Digit, each nonautomation, automation letter, automation flat.
    pieces = [0.350, 0.275, 0.289, 0.302, 0.229, 0.244, 0.242, 0.188, 0.205]
    out = [money(r) for r in pound] + [money(r) for r in pieces]
    out += [money(0.175),      # nonadvertising pounds
            "%.5f" % 0.00072,  # nonadvertising adjustment, per piece and per percent
            money(0.008),      # SCF entry discount per piece
            money(0.002)]      # ADC entry discount per piece
    assert len(out) == 22
    return out


def rates_lines():
    lines = [""]
    lines += standard_block(1.0, 1.0)
    lines += standard_block(0.6, 0.8)
    # First-Class automation letters: rows 1-4 oz. and postcards, columns
    # Mixed AADC, AADC, 3-Digit, 5-Digit.
    first_oz = [0.312, 0.303, 0.297, 0.283]
    for extra in (0.0, 0.23, 0.46, 0.69):
        lines += [money(r + extra) for r in first_oz]
    lines += [money(r) for r in (0.184, 0.178, 0.171, 0.160)]
    lines += periodical_block(1.0)
    # In-County: pound rate, then Basic, 3-Digit, 5-Digit pieces.
    lines += [money(r) for r in (0.119, 0.080, 0.065, 0.070, 0.072, 0.057,
                                 0.061, 0.050, 0.040, 0.045)]
    lines += periodical_block(0.75)
    assert len(lines) == 169
    return lines


def default_settings(**mailer):
    return {
        "mailtype": mailtype_lines(),
        "mailer": mailer_lines(**mailer),
        "per": per_lines(),
        "prefs": prefs_lines(),
        "fonts": fonts_lines(),
        "statement": statement_lines(**{k: v for k, v in mailer.items()
                                        if k in ("city", "state", "zip5")}),
        "rates": rates_lines(),
    }


# ---------------------------------------------------------------- output


def write_table(folder, name, lines):
    """The program's string lists save each line followed by CR LF."""
    data = "".join(line + "\r\n" for line in lines).encode("ascii")
    with open(os.path.join(folder, name + ".dat"), "wb") as f:
        f.write(data)


def write_text(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("utf-8"))


def logo_pixels(size=64):
    """The summary page's logo: a postage stamp with perforated edges around a quill
    pen over three lines of writing, black on white, as rows of booleans from the top."""
    ink = [[False] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            edge = min(x, y, size - 1 - x, size - 1 - y)
            # The perforations bite half circles out of a 3-pixel border.
            along = x if y < 4 or y >= size - 4 else y
            hole = (along % 8 - 3.5) ** 2 + (edge - 0.5) ** 2 < 5
            if edge < 3 and not hole:
                ink[y][x] = True
            if edge in (6, 7):
                ink[y][x] = True
    for y in range(11, 42):
        # The quill: a shaft from the lower left to the upper right with a vane beside it.
        x = 16 + (42 - y) * 0.9
        for dx in range(0, 2):
            ink[y][int(x) + dx] = True
        for vane in range(1, 1 + max(0, min(y - 11, 40 - y) // 3)):
            ink[y][min(size - 10, int(x) + 1 + vane)] = True
    for line in (45, 50):
        for x in range(13, 51 - (line - 45)):
            ink[line][x] = True
    return ink


def write_logo(path, ink):
    """A 1-bit Windows bitmap: palette white (0) and black (1), rows from the bottom,
    each padded to 4 bytes."""
    height, width = len(ink), len(ink[0])
    stride = (width + 31) // 32 * 4
    pixels = bytearray()
    for row in reversed(ink):
        bits = bytearray(stride)
        for x, black in enumerate(row):
            if black:
                bits[x // 8] |= 0x80 >> (x % 8)
        pixels += bits
    palette = bytes([255, 255, 255, 0, 0, 0, 0, 0])
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels),
                       2835, 2835, 2, 2)
    with open(path, "wb") as f:
        f.write(header + info + palette + bytes(pixels))


README_TEXT = """\
Postal reference tables and default settings
============================================

Every *.dat file here, this README and the sources/ folder are written by
tools/make_postal_tables.py; do not edit them by hand.  To regenerate:

    /usr/bin/python3 tools/make_postal_tables.py [PUBLIC_DATA_DIR]

(default public-data/ of the repository).  Check them with

    /usr/bin/python3 tools/check_postal_tables.py data/tables
    /usr/bin/python3 tools/check_regenerates.py

Sources (their notices are kept in sources/<folder>/SOURCE.txt)
---------------------------------------------------------------
- USPS DMM L002, 3-digit ZIP prefix matrix, 2024-08: the served prefixes,
  3-digit labels and unique cities (tdlist, tdchrt), 3-digit schemes
  (tdsclist, tdscchrt) and SCFs (scflist, scfchrt).
- USPS DMM L004, ADC list as of 2010-08: ADCs (adclist, adcschrt, adcpchrt).
- USPS DMM L601, NDC list, 2025-05: destination BMCs (dbmclist, dbmcchrt).
- USPS zone chart matrix (Format 2), 2024-04, with the 2016 per-origin zone
  charts for the cells it leaves open: Periodicals zones (zonechrt).
All of these are facts published by the US Postal Service.

What was approximated
---------------------
The presort follows the rules of the older BMC/ADC/AADC network; the public
lists describe a newer one, so the tables adapt them:
- Served prefixes are those of L002 (2024).  Prefixes absent from L002 are 0
  in every chart; their ZIP codes are rejected as unserved.
- 3-digit labels are L002 Column A without the trailing prefix; prefixes
  flagged U are unique cities (negative tdchrt values), whose 5-digit tray
  tags then carry that name; L002 names some of them after the processing
  facility rather than the city (011 reads HARTFORD CT).  No order overrides
  ("NNN!") are shipped.
- SCF labels are L002 Column C without the leading "SCF ".  An SCF with a
  single prefix gets a negative scfchrt value.  The military prefixes
  (APO/FPO), which L002 gives no SCF, get one SCF per ADC named after the
  lowest prefix of the group.  The Springfield MA prefixes now belong to the
  Hartford CT SCF, so no SCF label ends in "010" and SCF entry there earns no
  DBMC discount.
- ADCs come from the 2010 list; labels that lack the "ADC " word get it.
  Prefixes opened since then take the ADC of their SCF's other prefixes.  The
  Standard and Periodicals ADC charts are identical.
- There is no public AADC list: each ADC doubles as an AADC of the same
  facility ("AADC ..." labels).  For Standard Mail Guam (969) is an AADC of
  its own; for First-Class it is grouped with Honolulu (967).
- Destination BMCs are the 2025 NDC and RPDC areas of L601, all labelled
  "BMC ..." and ending in a 5-digit facility code (the RPDCs, which L601 names
  by a 3-digit prefix, get that prefix followed by "00").  The Springfield
  entry carries the old facility code 05500 that the entry-discount rule
  knows.  Mail for 006-009 uses the Jacksonville row (the San Juan row only
  applies to mail entered there).  The eight ASFs (Buffalo, Sioux Falls,
  Fargo, Billings, Oklahoma City, Salt Lake City, Phoenix, Albuquerque) are
  added as "ASF ..." entries ending in their codes ("Y 140" ...); their
  service areas are the prefixes of the ADC of the same city.
- bmcalist and nbmclist (mixed ADC destinations) are not public either.
  BMC/ASF entry: "ADC" followed by the facility's city, state and ZIP (or the
  ASF's prefix).  Non-BMC/ASF entry: the ADC label of the entry prefix; the
  Standard and Periodicals charts are identical.
- zonechrt holds the Periodicals zones from origin prefix 752 (Dallas TX, the
  default mailer); zone 9 is stored as 8.  For another origin, regenerate with
  ORIGIN_PREFIX changed or edit the chart in the program.

stampbw.bmp is the logo of the summary page of the mail preparation
instructions: a stamp drawn by the generator, black on white.

Settings
--------
mailtype, mailer, per, prefs, fonts and statement hold neutral defaults
(Standard machinable letters entered locally at Dallas TX 75201, sample
company name).  rates.dat holds SAMPLE RATES ONLY: no historical rate files
were available, so the values are invented to keep the usual order
(letters below flats, automation below nonautomation, 5-digit below 3-digit
below basic, entry discounts below no discount).  Enter the current rates
through the Rates menu before using the program for a real mailing.
"""


def main(argv=None):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("public_data", nargs="?",
                    default=os.path.join(repo, "public-data"))
    ap.add_argument("--out", default=os.path.join(repo, "data", "tables"))
    args = ap.parse_args(argv)

    try:
        postal = build_postal(args.public_data)
    except (DataError, OSError, KeyError, ValueError) as e:
        print("make_postal_tables: %s" % e, file=sys.stderr)
        return 1

    os.makedirs(args.out, exist_ok=True)
    for name in POSTAL_FILES:
        write_table(args.out, name, postal[name])
    for name, lines in default_settings().items():
        write_table(args.out, name, lines)
    write_logo(os.path.join(args.out, "stampbw.bmp"), logo_pixels())
    write_text(os.path.join(args.out, "README"), README_TEXT)
    for src in USED_SOURCES:
        dest = os.path.join(args.out, "sources", src)
        os.makedirs(dest, exist_ok=True)
        shutil.copyfile(os.path.join(args.public_data, src, "SOURCE.txt"),
                        os.path.join(dest, "SOURCE.txt"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
