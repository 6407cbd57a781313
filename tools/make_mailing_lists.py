#!/usr/bin/env python3
"""Writes realistic synthetic mailing lists for Quillan's list-input tests and benchmarks.

Names come from the Census 2010 surnames and the SSA 2010 first names, ZIP codes are drawn
weighted by the housing units of the 2010 ZCTAs, and each ZIP's city, state and county come
from the GeoNames US postal codes (GeoNames, geonames.org, CC BY 4.0).  A share of the ZIPs
is bad (four digits, blank, letters, an unserved 3-digit prefix, "12345 6789"); a settable
share carries ZIP+4.  With --zips the pieces are spread evenly over the ZIPs (or every ZIP of
the 3-digit prefixes) given, as in a local or regional mailing.  The same seed always gives the same list.

Kinds: tab, comma, merge, bar (text lists, CR LF), pave (fixed-width .SET lines), dbf (a
dBase III table), xls (an Excel 97 workbook, written by xlwt, which Debian's
python3-xlwt gives /usr/bin/python3; a share of the 5-digit ZIPs are numbers, and --header
puts a row of field names first; --sheet-rows moves the records past that many rows on
to further sheets) and mdb (an Access table, made by the fill tool mdbfill
of the build, --mdbfill).  With --from-tab the records are those of a tab list written
before (its text taken as Windows-1252, as Windows programs write it), so that one mailing
can be had in every kind without the public data.  With --expect the script also writes, per record, what Quillan must read
for mail type 0 (Standard machinable letters, no ZIP+4 required) against the 3-digit chart
given by --tables: the ZIP value, the city entry and the in-county mark, one record a line,
tab-separated, after a first line "records<TAB>rejected".

    make_mailing_lists.py --kind merge --records 1000 --seed 7 --out list.txt [--expect e.tsv]
    /usr/bin/python3 make_mailing_lists.py --kind xls --from-tab list.txt --out list.xls
"""

import argparse
import bisect
import csv
import itertools
import os
import random
import struct
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Sources:
    def __init__(self, data):
        self.surnames, self.surname_weights = [], []
        with open(os.path.join(data, "names-census-ssa", "Names_2010Census_top.csv")) as f:
            for row in csv.DictReader(f):
                self.surnames.append(row["name"])
                self.surname_weights.append(int(row["count"]))
        self.first, self.first_weights = [], []
        with open(os.path.join(data, "names-census-ssa", "yob2010.txt")) as f:
            for name, _, count in csv.reader(f):
                self.first.append(name.upper())
                self.first_weights.append(int(count))
        places = {}
        with open(os.path.join(data, "geonames-us-postal-2017", "US.txt"), encoding="utf-8") as f:
            for line in f:
                cols = line.rstrip("\n").split("\t")
                if len(cols) > 6 and cols[4]:
                    places[cols[1]] = (cols[2].upper(), cols[4], cols[5].upper())
        self.zips, cumulative, total = [], [], 0
        path = os.path.join(data, "census-zcta-2010", "zip_code_location_and_population_csv.csv")
        with open(path) as f:
            for row in csv.DictReader(f):
                units = int(row["housing_units_2010"])
                if units > 0 and row["zip_char"] in places:
                    total += units
                    self.zips.append(row["zip_char"])
                    cumulative.append(total)
        self.cumulative, self.total, self.places = cumulative, total, places
        self.surname_cum = list(itertools.accumulate(self.surname_weights))
        self.first_cum = list(itertools.accumulate(self.first_weights))

    def zip_code(self, rng):
        return self.zips[bisect.bisect_right(self.cumulative, rng.randrange(self.total))]


def load_chart(tables):
    with open(os.path.join(tables, "tdchrt.dat"), newline="") as f:
        lines = f.read().replace("\r\n", "\n").split("\n")
    return [int(v) if v.strip().lstrip("-").isdigit() else 0 for v in lines]


def unserved_prefixes(chart):
    return [p for p in range(1, 1000) if p < len(chart) and chart[p] == 0]


def bad_zip(rng, zip5, unserved):
    kind = rng.randrange(5)
    if kind == 0:
        return zip5[:4], False
    if kind == 1:
        return "", False
    if kind == 2:
        return rng.choice(["ABCDE", "7520X", "N/A"]), False
    if kind == 3 and unserved:
        return "%03d%02d" % (rng.choice(unserved), rng.randrange(100)), False
    return zip5 + " " + "%04d" % rng.randrange(10000), False


def local_zips(named, sources):
    """The ZIPs named (5 digits) and every known ZIP of the prefixes named (3 digits)."""
    zips = []
    for entry in named.split(","):
        found = [z for z in sorted(sources.places) if z == entry or z[:3] == entry]
        if len(entry) not in (3, 5) or not found:
            sys.exit("no place is known for ZIP %s" % entry)
        zips += [z for z in found if len(entry) == 3 or z == entry]
    return zips


def make_records(args, sources, unserved):
    rng = random.Random(args.seed)
    local = local_zips(args.zips, sources) if args.zips else []
    records = []
    for _ in range(args.records):
        zip5 = rng.choice(local) if local else sources.zip_code(rng)
        city, state, county = sources.places[zip5]
        first = rng.choices(sources.first, cum_weights=sources.first_cum)[0]
        last = rng.choices(sources.surnames, cum_weights=sources.surname_cum)[0]
        street = "%d %s %s" % (rng.randrange(1, 9999), rng.choice(sources.surnames),
                               rng.choice(["ST", "AVE", "RD", "LN", "DR"]))
        if rng.random() < args.bad_share:
            zip_text, _ = bad_zip(rng, zip5, unserved)
        elif rng.random() < args.zip4_share:
            zip_text = zip5 + "-%04d" % rng.randrange(1, 10000)
        else:
            zip_text = zip5
        records.append({"name": first + " " + last, "address": street, "city": city,
                        "state": state, "zip": zip_text, "county": county})
    return records


def quote(text):
    return '"' + text + '"'


def write_text(args, records):
    keys = ["name", "address", "city", "state", "zip", "county"]
    lines = []
    if args.kind == "merge":
        lines.append("NAME,ADDRESS,CITY,STATE,ZIP,COUNTY")
    if args.kind == "bar":
        lines.append("NAME|ADDRESS|CITY|STATE|ZIP|COUNTY|")
    for r in records:
        values = [r[k] for k in keys]
        if args.kind == "tab":
            lines.append("\t".join(values))
        elif args.kind == "bar":
            lines.append("|".join(values) + "|")
        else:
            lines.append(",".join([quote(values[0]), quote(values[1])] + values[2:]))
    with open(args.out, "w", encoding="utf-8", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


def pave_line(r, rng):
    zip5, zip4 = r["zip"][:5], r["zip"][6:10] if len(r["zip"]) == 10 else "    "
    line = ("%-67s" % (r["name"] + " " + r["address"]))[:67]
    line += ("%-28s" % r["city"])[:28] + ("%-2s" % r["state"])[:2] + zip5 + zip4
    line += " " * (125 - len(line)) + "%03d" % rng.randrange(1000)
    return line


def write_pave(args, records):
    rng = random.Random(args.seed + 1)
    lines = ["%-67s" % "PAVE HEADER QUILLAN TEST LIST"]
    for r in records:
        # PAVE files come from address-matching software: their ZIP positions always hold
        # five digits, so the generator only keeps well-formed ZIPs there.
        if not (len(r["zip"]) in (5, 10) and r["zip"][:5].isdigit()):
            r["zip"] = "75201"
        lines.append(pave_line(r, rng))
        r["pave_county"] = lines[-1][125:128]
    with open(args.out, "w", encoding="utf-8", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


DBF_FIELDS = [("NAME", "C", 30), ("ADDRESS", "C", 30), ("CITY", "C", 28), ("STATE", "C", 2),
              ("ZIP", "C", 10), ("COUNTY", "C", 20), ("SORT", "C", 6)]


def write_dbf(args, records):
    header_len = 32 + 32 * len(DBF_FIELDS) + 1
    record_len = 1 + sum(w for _, _, w in DBF_FIELDS)
    out = bytearray(struct.pack("<BBBBIHH20x", 3, 103, 1, 1, len(records), header_len,
                                record_len))
    for name, kind, width in DBF_FIELDS:
        out += struct.pack("<11sc4xB15x", name.encode(), kind.encode(), width)
    out += b"\r"
    for r in records:
        out += b" "
        for name, _, width in DBF_FIELDS:
            value = r.get(name.lower(), "").encode("utf-8")[:width]
            out += value + b" " * (width - len(value))
    out += b"\x1a"
    with open(args.out, "wb") as f:
        f.write(out)


LIST_KEYS = ["name", "address", "city", "state", "zip", "county"]


def read_tab_list(path):
    records = []
    with open(path, "rb") as f:
        for line in f.read().split(b"\n"):
            line = line.rstrip(b"\r")
            if not line:
                continue
            values = line.decode("cp1252").split("\t") + [""] * len(LIST_KEYS)
            records.append(dict(zip(LIST_KEYS, values)))
    return records


def numeric_zip(text):
    return len(text) == 5 and text.isdigit()


def write_xls(args, records):
    try:
        import xlwt
    except ImportError:
        sys.exit("make_mailing_lists.py: --kind xls needs xlwt (Debian's python3-xlwt, in "
                 "/usr/bin/python3)")
    rng = random.Random(args.seed + 2)
    book = xlwt.Workbook(encoding="cp1252")
    sheet = book.add_sheet("Mailing List")
    sheets = 1
    row = 0
    if args.header:
        for col, key in enumerate(LIST_KEYS):
            sheet.write(row, col, key.upper())
        row += 1
    for r in records:
        if row == args.sheet_rows:
            sheets += 1
            sheet = book.add_sheet("Mailing List %d" % sheets)
            row = 0
        for col, key in enumerate(LIST_KEYS):
            value = r[key]
            # A ZIP typed into a spreadsheet becomes a number and loses its leading zeros.
            if key == "zip" and numeric_zip(value) and rng.random() < args.numeric_zip_share:
                sheet.write(row, col, int(value))
            elif value:
                sheet.write(row, col, value)
        row += 1
    book.save(args.out)


def find_mdbfill():
    for build in ("build", "build-test"):
        candidate = os.path.join(REPO, build, "mdbfill")
        if os.access(candidate, os.X_OK):
            return candidate
    return None


def write_mdb(args, records):
    mdbfill = args.mdbfill or find_mdbfill()
    if not mdbfill:
        sys.exit("make_mailing_lists.py: --kind mdb needs the fill tool; build it (make) or "
                 "name it with --mdbfill")
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", newline="", suffix=".txt",
                                     delete=False) as f:
        f.write("".join("\t".join(r[k] for k in LIST_KEYS) + "\r\n" for r in records))
        tab = f.name
    try:
        subprocess.run([mdbfill, tab, args.out, "--empty"], check=True, stdout=subprocess.DEVNULL)
    finally:
        os.unlink(tab)


def expected_zip(text, chart):
    """Quillan's ZIP value for mail type 0 (no ZIP+4 rule, not co-sacked)."""
    s = text.lstrip(" ") or text[:1]
    s = s.rstrip(" ") or s[:1]
    n = len(s)
    ok = ((n in (5, 9) and s.isdigit()) or
          (n == 6 and s[:5].isdigit() and s[5] == "-") or
          (n == 10 and s[:5].isdigit() and s[5] == "-" and s[6:].isdigit()))
    z = int("".join(c for c in s[:5] if c.isdigit()) or "0")
    if not ok or z < 100:
        return -200000 - z
    if chart[z // 100] == 0:
        return -600000 - z
    return z


def city_entry(city, state):
    raw = city.encode("utf-8")
    cut = raw[:18]
    while cut and len(cut) < len(raw) and (raw[len(cut)] & 0xC0) == 0x80:
        cut = cut[:-1]
    city = cut.decode("utf-8").rstrip(" ")
    return (city or "  ") + " " + (state or "  ")


def write_expectations(args, records, chart):
    rows, rejected = [], 0
    for r in records:
        if args.kind == "pave":
            # Mail type 0 rejects a PAVE piece that carries ZIP+4.
            has4 = len(r["zip"]) == 10
            value = -(int(r["zip"][:5]) + 700000) if has4 else int(r["zip"][:5])
        else:
            value = expected_zip(r["zip"], chart)
        rejected += value <= -100000
        rows.append("%d\t%s\tf" % (value, city_entry(r["city"], r["state"])))
    with open(args.expect, "w", encoding="utf-8", newline="") as f:
        f.write("%d\t%d\n" % (len(records), rejected))
        f.write("".join(row + "\n" for row in rows))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--kind", required=True,
                        choices=["tab", "comma", "merge", "bar", "pave", "dbf", "xls", "mdb"])
    parser.add_argument("--from-tab", help="take the records of this tab list instead of "
                        "drawing new ones")
    parser.add_argument("--header", action="store_true", help="xls: a first row of field names")
    parser.add_argument("--sheet-rows", type=int, default=65536,
                        help="xls: the rows of a sheet; the records that follow go on to "
                        "another sheet")
    parser.add_argument("--numeric-zip-share", type=float, default=0.3,
                        help="xls: the share of 5-digit ZIPs written as numbers")
    parser.add_argument("--mdbfill", help="mdb: the fill tool (default: build*/mdbfill)")
    parser.add_argument("--records", type=int, default=100)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--bad-share", type=float, default=0.03)
    parser.add_argument("--zip4-share", type=float, default=0.3)
    parser.add_argument("--zips", help="comma-separated ZIP codes or 3-digit prefixes to draw "
                        "from evenly (a local or regional mailing); by default the whole "
                        "country, by housing units")
    parser.add_argument("--out", required=True)
    parser.add_argument("--expect")
    parser.add_argument("--data", default=os.path.join(REPO, "public-data"))
    parser.add_argument("--tables", default=os.path.join(REPO, "data", "tables"))
    args = parser.parse_args()
    chart = load_chart(args.tables)
    if args.from_tab:
        records = read_tab_list(args.from_tab)
    elif not os.path.isdir(args.data):
        sys.stderr.write("make_mailing_lists.py: no public data folder at %s (the name and ZIP "
                         "code sources the lists are drawn from; see README, --data)\n"
                         % os.path.normpath(args.data))
        return 2
    else:
        records = make_records(args, Sources(args.data), unserved_prefixes(chart))
    if args.kind == "pave":
        write_pave(args, records)
    elif args.kind == "dbf":
        write_dbf(args, records)
    elif args.kind == "xls":
        write_xls(args, records)
    elif args.kind == "mdb":
        write_mdb(args, records)
    else:
        write_text(args, records)
    if args.expect:
        write_expectations(args, records, chart)
    return 0


if __name__ == "__main__":
    sys.exit(main())
