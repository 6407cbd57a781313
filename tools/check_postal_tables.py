#!/usr/bin/python3
"""Check a folder of postal tables and settings files before it is shipped.

Usage: /usr/bin/python3 tools/check_postal_tables.py FOLDER [--allow-gaps]

Checks the layout the program relies on: CR LF lines, 1000-line integer
charts, chart values within their label lists, label endings in the forms the
presort, the entry-discount rule and the dialogs take apart, the seven
settings files with their line counts and numeric lines, and that the mailer's
prefix and every served prefix reach every level.  --allow-gaps turns the
"every served prefix has every level" errors into notes, for hand-made
geographies that leave some levels out on purpose.

Exit status 0 when everything passes, 1 otherwise (each problem on stderr).
"""

import argparse
import os
import re
import sys

CHART_LINES = 1000

# chart -> label list it numbers into
CHARTS = [
    ("tdchrt", "tdlist"),
    ("tdscchrt", "tdsclist"),
    ("scfchrt", "scflist"),
    ("adcschrt", "adclist"),
    ("adcpchrt", "adclist"),
    ("aadschrt", "aadclist"),
    ("aadfchrt", "aadclist"),
    ("dbmcchrt", "dbmclist"),
    ("dbmcchrt", "bmcalist"),
    ("nbmschrt", "nbmclist"),
    ("nbmpchrt", "nbmclist"),
    ("zonechrt", "zonelist"),
]
CHART_NAMES = sorted({c for c, _ in CHARTS})
LIST_NAMES = sorted({l for _, l in CHARTS})

# Charts a served prefix (and the mailer's prefix) must have a value in.  The
# scheme chart is 0 for every prefix outside a scheme, which is normal.
LEVEL_CHARTS = ["scfchrt", "adcschrt", "adcpchrt", "aadschrt", "aadfchrt",
                "dbmcchrt", "nbmschrt", "nbmpchrt", "zonechrt"]

ASF_CODES = {"Y 140", "D 570", "D 580", "T 590", "K 730", "T 840", "Z 852",
             "M 870", "05500"}

SETTINGS_LINES = {"mailtype": 10, "mailer": 8, "per": 7, "prefs": 11,
                  "fonts": 7, "statement": 14, "rates": 169}

INT_RE = re.compile(r"-?\d+")
DECIMAL_RE = re.compile(r"\d+(\.\d+)?|\.\d+")


class Checker:
    def __init__(self, folder, allow_gaps):
        self.folder = folder
        self.allow_gaps = allow_gaps
        self.errors = []
        self.notes = []
        self.files = {}

    def error(self, msg):
        self.errors.append(msg)

    def gap(self, msg):
        (self.notes if self.allow_gaps else self.errors).append(msg)

    # -------------------------------------------------------------- loading

    def load(self, name):
        """Lines of name.dat, or None after reporting why it is unusable."""
        path = os.path.join(self.folder, name + ".dat")
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError as e:
            self.error("%s.dat: cannot read (%s)" % (name, e.strerror))
            return None
        if data and not data.endswith(b"\r\n"):
            self.error("%s.dat: last line does not end in CR LF" % name)
        body = data[:-2] if data.endswith(b"\r\n") else data
        lines = body.split(b"\r\n") if data else []
        for i, line in enumerate(lines):
            if b"\r" in line or b"\n" in line:
                self.error("%s.dat line %d: bare CR or LF (lines must end in CR LF)" % (name, i))
                break
        try:
            text = [l.decode("ascii") for l in lines]
        except UnicodeDecodeError:
            self.error("%s.dat: not plain ASCII" % name)
            text = [l.decode("latin-1") for l in lines]
        self.files[name] = text
        return text

    # -------------------------------------------------------------- charts

    def check_charts(self):
        charts = {}
        for name in CHART_NAMES:
            lines = self.load(name)
            if lines is None:
                continue
            if len(lines) != CHART_LINES:
                self.error("%s.dat: %d lines, a chart needs exactly %d"
                           % (name, len(lines), CHART_LINES))
                continue
            values = []
            ok = True
            for i, line in enumerate(lines):
                if not INT_RE.fullmatch(line):
                    self.error("%s.dat line %d: '%s' is not an integer" % (name, i, line))
                    ok = False
                    break
                values.append(int(line))
            if ok:
                charts[name] = values
        lists = {}
        for name in LIST_NAMES:
            lines = self.load(name)
            if lines is not None:
                lists[name] = lines
        for chart, lst in CHARTS:
            if chart not in charts or lst not in lists:
                continue
            last = len(lists[lst]) - 1
            for p in range(1, CHART_LINES):
                v = charts[chart][p]
                if chart == "zonechrt":
                    if not 0 <= v <= 8:
                        self.error("zonechrt.dat line %d: zone %d outside 0..8" % (p, v))
                    elif v > last:
                        self.error("zonechrt.dat line %d: zone %d has no name in zonelist.dat" % (p, v))
                    continue
                if v < 0 and chart not in ("tdchrt", "scfchrt"):
                    self.error("%s.dat line %d: negative value %d (only tdchrt and scfchrt mark prefixes)"
                               % (chart, p, v))
                if abs(v) > last:
                    self.error("%s.dat line %d: label %d beyond the %d entries of %s.dat"
                               % (chart, p, abs(v), last, lst))
                elif v != 0 and not lists[lst][abs(v)].strip():
                    self.error("%s.dat line %d: label %d of %s.dat is empty" % (chart, p, abs(v), lst))
        return charts, lists

    # -------------------------------------------------------------- label forms

    def check_labels(self, charts, lists):
        def used(chart, lst):
            if chart not in charts or lst not in lists:
                return []
            nums = sorted({abs(v) for v in charts[chart][1:] if v})
            return [(n, lists[lst][n]) for n in nums if n < len(lists[lst])]

        for name, lines in lists.items():
            for i, text in enumerate(lines[1:], 1):
                if text != text.upper():
                    self.error("%s.dat line %d: '%s' is not upper case" % (name, i, text))

        # 3-digit labels: the level appends " NNN" itself; an order override
        # is three digits and "!".
        for n, text in used("tdchrt", "tdlist"):
            if text.endswith("!") and not re.search(r"\d{3}!$", text):
                self.error("tdlist.dat line %d: '%s' ends in '!' without three digits before it" % (n, text))
            elif re.search(r" \d{3}$", text):
                self.error("tdlist.dat line %d: '%s' ends in a prefix, which the 3-digit level adds itself"
                           % (n, text))

        # Schemes: the code before the first "*" (or the last three
        # characters) is a served prefix that belongs to the same scheme.
        for n, text in used("tdscchrt", "tdsclist"):
            first = text.split("*")[0]
            code = first[-3:] if "*" in text else text[-3:]
            if not re.fullmatch(r"\d{3}", code):
                self.error("tdsclist.dat line %d: '%s' does not end in a 3-digit scheme code" % (n, text))
                continue
            p = int(code)
            if "tdchrt" in charts and charts["tdchrt"][p] == 0:
                self.error("tdsclist.dat line %d: scheme code %s is not a served prefix" % (n, code))
            if "tdscchrt" in charts and charts["tdscchrt"][p] not in (0, n):
                self.error("tdsclist.dat line %d: scheme code %s belongs to scheme %d"
                           % (n, code, charts["tdscchrt"][p]))

        # SCF labels end in the SCF's prefix (or an override "NNN!").
        for n, text in used("scfchrt", "scflist"):
            if not re.search(r"(^|\s)\d{3}!?$", text):
                self.error("scflist.dat line %d: '%s' does not end in a 3-digit prefix" % (n, text))
        if "scfchrt" in charts:
            signs = {}
            for p in range(1, CHART_LINES):
                v = charts["scfchrt"][p]
                if v:
                    signs.setdefault(abs(v), []).append(v)
            for n, vals in sorted(signs.items()):
                if len(set(vals)) > 1:
                    self.error("scfchrt.dat: label %d is used with both signs, which splits the SCF" % n)
                elif vals[0] < 0 and len(vals) > 1:
                    self.error("scfchrt.dat: label %d is marked single-prefix but has %d prefixes"
                               % (n, len(vals)))

        # ADC / AADC: the order code and the entry-discount key come from the
        # end of the first line and the last word.
        for chart, lst, word in (("adcschrt", "adclist", "ADC "), ("adcpchrt", "adclist", "ADC "),
                                 ("aadschrt", "aadclist", "AADC "), ("aadfchrt", "aadclist", "AADC "),
                                 ("nbmschrt", "nbmclist", ""), ("nbmpchrt", "nbmclist", "")):
            for n, text in used(chart, lst):
                if word and not text.startswith(word):
                    self.error("%s.dat line %d: '%s' does not begin with '%s'" % (lst, n, text, word.strip()))
                if lst == "nbmclist":
                    continue
                first = text.split("*")[0]
                code = first[-3:] if len(first) >= 4 and first[-4] == " " else first[-5:]
                last_word = text.split()[-1] if text.split() else ""
                if not re.fullmatch(r"\d{3}|\d{5}", code):
                    self.error("%s.dat line %d: '%s' does not end in a 3- or 5-digit code" % (lst, n, text))
                elif not re.match(r"\d{3}", last_word):
                    self.error("%s.dat line %d: last word of '%s' does not start with a prefix"
                               % (lst, n, text))

        # Destination BMCs: "BMC"/"ASF" and a facility code at the end.
        for n, text in used("dbmcchrt", "dbmclist"):
            if not (text.startswith("BMC ") or text.startswith("ASF ")):
                self.error("dbmclist.dat line %d: '%s' begins with neither 'BMC ' nor 'ASF '" % (n, text))
            tail = text[-5:]
            if tail not in ASF_CODES and not re.fullmatch(r" ?\d{5}", text[-6:]):
                self.error("dbmclist.dat line %d: '%s' ends in neither a 5-digit code nor an ASF code"
                           % (n, text))
            if text.startswith("ASF ") and tail not in ASF_CODES:
                self.error("dbmclist.dat line %d: ASF label '%s' ends in no known ASF code" % (n, text))

        # BMC/ASF entry labels: First-Class mixed trays go to the SCF of the
        # prefix found at the end of the label.
        if "dbmcchrt" in charts and "bmcalist" in lists:
            for n, text in used("dbmcchrt", "bmcalist"):
                if len(text) >= 6 and text[-6] == " ":
                    pre = text[-5:-2]
                else:
                    pre = text[-3:]
                if not re.fullmatch(r"\d{3}", pre):
                    self.error("bmcalist.dat line %d: '%s' yields no prefix for First-Class mixed trays"
                               % (n, text))
                elif "scfchrt" in charts and charts["scfchrt"][int(pre)] == 0:
                    self.error("bmcalist.dat line %d: prefix %s at the end of '%s' has no SCF" % (n, pre, text))

        if "zonelist" in lists and len(lists["zonelist"]) < 9:
            self.error("zonelist.dat: %d zone names, 8 needed" % (len(lists["zonelist"]) - 1))

    # -------------------------------------------------------------- coverage

    def check_coverage(self, charts):
        if "tdchrt" not in charts:
            return
        for p in range(1, CHART_LINES):
            if charts["tdchrt"][p] == 0:
                continue
            for chart in LEVEL_CHARTS:
                if chart in charts and charts[chart][p] == 0:
                    self.gap("prefix %03d is served by tdchrt.dat but has no value in %s.dat" % (p, chart))
        for chart in CHART_NAMES:
            if chart in charts and chart != "tdchrt":
                for p in range(1, CHART_LINES):
                    if charts[chart][p] and charts["tdchrt"][p] == 0:
                        self.error("%s.dat line %d: value for a prefix that tdchrt.dat does not serve"
                                   % (chart, p))

    # -------------------------------------------------------------- settings

    def check_settings(self, charts):
        s = {}
        for name, count in sorted(SETTINGS_LINES.items()):
            lines = self.load(name)
            if lines is None:
                continue
            if len(lines) != count:
                self.error("%s.dat: %d lines, %d expected" % (name, len(lines), count))
                continue
            s[name] = lines

        def need(name, line, pattern, what):
            if name in s and not re.fullmatch(pattern, s[name][line]):
                self.error("%s.dat line %d: '%s' is not %s" % (name, line, s[name][line], what))

        for i in (1, 2, 3, 4, 6, 7, 8, 9):
            need("mailtype", i, r"\d+", "a whole number")
        need("mailtype", 1, r"[0-8]", "a mail type 0..8")
        need("mailtype", 5, r"(\d+(\.\d+)?|\.\d+)?", "a weight")
        if "mailtype" in s:
            m = s["mailtype"]
            if m[4] == "1" and not DECIMAL_RE.fullmatch(m[5]):
                self.error("mailtype.dat line 5: an exact weight is chosen but none is given")
            if m[9].isdigit() and not 40 <= int(m[9]) <= 70:
                self.error("mailtype.dat line 9: %s pounds per sack is outside 40..70" % m[9])
        need("mailer", 3, r"\d{5}", "a 5-digit ZIP code")
        need("mailer", 4, r"[0-2]", "an entry type 0..2")
        for i in (1, 3):
            need("per", i, r"\d+", "a whole number")
        need("per", 2, DECIMAL_RE.pattern, "a percentage")
        need("per", 4, r"[tf]", "'t' or 'f'")
        need("per", 6, r"6|24", "'6' or '24'")
        for i in range(1, 6):
            need("prefs", i, r"\d", "a choice index")
        for i in range(6, 10):
            need("prefs", i, r"[tf]", "'t' or 'f'")
        if "fonts" in s and not s["fonts"][1].strip():
            self.error("fonts.dat line 1: no font name")
        for i in range(2, 7):
            need("fonts", i, r"0*[1-9]\d*", "a font size above 0")
        for i in (6, 8):
            need("statement", i, r"\d", "a choice index")
        # The CASS date: two digits each, or empty for the mailer to fill in on the form.
        for i in (9, 10, 11):
            need("statement", i, r"(\d\d)?", "two digits or empty")
        for i in range(1, 169):
            need("rates", i, DECIMAL_RE.pattern, "a decimal rate")

        if "mailer" in s and re.fullmatch(r"\d{5}", s["mailer"][3]):
            p = int(s["mailer"][3]) // 100
            for chart in ["tdchrt"] + LEVEL_CHARTS:
                if chart in charts and charts[chart][p] == 0:
                    self.error("mailer.dat: the mailer's prefix %03d is not served by %s.dat" % (p, chart))
        if "rates" in s:
            self.check_rate_order(s["rates"])

    def check_rate_order(self, lines):
        """A few orderings every plausible rate table keeps; a swapped pair
        of entries shows up here."""
        try:
            r = [0.0] + [float(x) for x in lines[1:]]
        except ValueError:
            return

        def falling(desc, nums):
            vals = [r[n] for n in nums]
            if any(a < b for a, b in zip(vals, vals[1:])):
                self.error("rates.dat: %s should not rise along lines %s" % (desc, nums))

        for base in (0, 47):
            for row in (1, 7, 13):
                falling("letter rates by presort level", [base + row + k for k in range(6)])
            for col in range(6):
                falling("letter rates by entry discount", [base + 1 + col, base + 7 + col, base + 13 + col])
            falling("nonletter nonautomation rates by level", [base + 20, base + 21])
            falling("nonletter automation rates by level", [base + 22, base + 23])
            falling("pound rates by entry discount", [base + 40, base + 41, base + 42])
            for row in range(3):
                letter, flat = base + 1 + row * 6, base + 20 + row * 4
                falling("letters below nonletters", [flat, letter])
                falling("letters below nonletters", [flat + 1, letter + 1])
                falling("automation letters below automation nonletters", [flat + 2, letter + 2])
                falling("automation below nonautomation nonletters", [flat, flat + 2])
                falling("automation below nonautomation nonletters", [flat + 1, flat + 3])
        for k in range(3, 48):
            if 43 <= k <= 47:
                continue
            if r[47 + k] > r[k]:
                self.error("rates.dat: nonprofit line %d exceeds regular line %d" % (47 + k, k))
        for row in range(94, 114, 4):
            falling("First-Class rates by presort level", [row + 1, row + 2, row + 3, row + 4])
        for base in (114, 146):
            falling("Periodicals zone pound rates (far to near)", list(range(base + 9, base + 2, -1)))
            for lvl in range(3):
                falling("Periodicals piece rates by level", [base + 10 + lvl, base + 13 + lvl, base + 16 + lvl])
        falling("In-County piece rates by level", [138, 141, 144])

    def run(self):
        charts, lists = self.check_charts()
        self.check_labels(charts, lists)
        self.check_coverage(charts)
        self.check_settings(charts)
        return charts


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("folder")
    ap.add_argument("--allow-gaps", action="store_true",
                    help="served prefixes may lack some levels (hand-made geographies)")
    args = ap.parse_args(argv)
    if not os.path.isdir(args.folder):
        print("check_postal_tables: %s is not a folder" % args.folder, file=sys.stderr)
        return 2
    c = Checker(args.folder, args.allow_gaps)
    charts = c.run()
    for msg in c.notes:
        print("note: " + msg)
    for msg in c.errors:
        print("error: " + msg, file=sys.stderr)
    if c.errors:
        print("%s: %d problem(s)" % (args.folder, len(c.errors)), file=sys.stderr)
        return 1
    served = sum(1 for v in charts["tdchrt"][1:] if v)
    print("%s: OK, %d prefixes served" % (args.folder, served))
    return 0


if __name__ == "__main__":
    sys.exit(main())
