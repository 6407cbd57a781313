"""A workbook written back keeps its settings as other readers see them.

settings_check.py XLSREWRITE FOLDER
For every workbook of FOLDER (its corrupt/ folder too) that xlsrewrite writes back in the
version read, after setting texts into one sheet as the program does with sort information:
gnumeric (ssconvert) must read the same page setup (scaling or fit to pages, margins, paper,
orientation, headers and footers, ...), the same validations and sheet settings of every
sheet, and the same fonts and font colours in the cells of every sheet that did not change; xlrd
must read the same fonts (height, colour, weight, family, ...), column settings, window
settings and number formats. Without xlrd, ssconvert or the folder nothing is compared and
the check fails (status 2), its one line naming what is missing.

The validation comparison is shown able to fail on every workbook that has validations: its
written copy with the validation records made unreadable on purpose must differ.
"""
import gzip
import io
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

MISSING = 2  # a peer or the workbooks missing: nothing compared, the test fails
HANG_GUARD_SECONDS = 600
GNUMERIC = "{http://www.gnumeric.org/v10.dtd}"

# Files whose settings cannot match, with the reason.
KNOWN = {
    "sheetjs/BlankSheetTypes.xls":
        "a macro sheet is kept as a sheet of the workbook; the readers leave it out",
}


def gnumeric_settings(path, scratch):
    """{sheet name: {part: XML text}} as gnumeric reads the workbook, or None."""
    out = os.path.join(scratch, "settings.gnumeric")
    if os.path.exists(out):
        os.remove(out)
    process = subprocess.run(["ssconvert", path, out], capture_output=True,
                             timeout=HANG_GUARD_SECONDS)
    if process.returncode != 0 or not os.path.exists(out):
        return None
    with gzip.open(out) as compressed:
        root = ElementTree.parse(compressed).getroot()
    sheets = {}
    for sheet in root.iter(GNUMERIC + "Sheet"):
        name = sheet.findtext(GNUMERIC + "Name")
        parts = {"sheet": repr(sorted(sheet.attrib.items())), "validations": validations(sheet)}
        element = sheet.find(GNUMERIC + "PrintInformation")
        if element is not None:
            for path, value in flattened(element, "PrintInformation"):
                parts[path] = value
        # The fonts of the cells' styles, with their colours; how gnumeric cuts the sheet
        # into regions of one style follows the cells.
        parts["fonts"] = sorted({(style.get("Fore", ""), ElementTree.tostring(font, encoding="unicode"))
                                 for style in sheet.iter(GNUMERIC + "Style")
                                 for font in style.iter(GNUMERIC + "Font")})
        sheets[name] = parts
    return sheets


def validations(sheet):
    """{validation with its input message: the cells it covers} of a sheet. gnumeric keeps a
    validation in the style of each region of cells it covers, and cuts a sheet into regions
    as the cells' formats fall: the cells are compared, not the regions."""
    regions = {}
    for region in sheet.iter(GNUMERIC + "StyleRegion"):
        style = region.find(GNUMERIC + "Style")
        rule = style.find(GNUMERIC + "Validation") if style is not None else None
        if rule is None:
            continue
        message = style.find(GNUMERIC + "InputMessage")
        key = repr(list(flattened(rule, "Validation")) +
                   (list(flattened(message, "InputMessage")) if message is not None else []))
        regions.setdefault(key, []).append(
            tuple(int(region.get(edge)) for edge in ("startCol", "startRow", "endCol", "endRow")))
    return {key: bands(rectangles) for key, rectangles in regions.items()}


def bands(rectangles):
    """The cells of rectangles (first column, first row, last column, last row) as bands of
    rows that cover the same columns, each band as long as it goes: one form for one set of
    cells, however it was cut into rectangles."""
    edges = sorted({r[1] for r in rectangles} | {r[3] + 1 for r in rectangles})
    result = []
    for top, below in zip(edges, edges[1:]):
        columns = joined([(r[0], r[2]) for r in rectangles if r[1] <= top <= r[3]])
        if not columns:
            continue
        if result and result[-1][1] == top - 1 and result[-1][2] == columns:
            result[-1] = (result[-1][0], below - 1, columns)
        else:
            result.append((top, below - 1, columns))
    return result


def joined(spans):
    """Spans of columns (first, last) joined where they meet or overlap, in order."""
    result = []
    for first, last in sorted(spans):
        if result and first <= result[-1][1] + 1:
            result[-1] = (result[-1][0], max(result[-1][1], last))
        else:
            result.append((first, last))
    return tuple(result)


def without_validations(path):
    """Makes the validation records (DVAL, DV) of the workbook at path unreadable, in place:
    their record numbers become one no reader knows, their bodies stay."""
    import olefile
    unknown = 0x41BE
    with olefile.OleFileIO(path, write_mode=True) as container:
        stream = next(entry for entry in container.listdir()
                      if len(entry) == 1 and entry[0].lower() in ("workbook", "book"))
        data = bytearray(container.openstream(stream).read())
        at = 0
        while at + 4 <= len(data):
            record, size = struct.unpack_from("<HH", data, at)
            if record in (0x01B2, 0x01BE):
                struct.pack_into("<H", data, at, unknown)
            at += 4 + size
        container.write_stream(stream, bytes(data))


def flattened(element, path):
    """(path, attributes and text) of the element and of each element inside it, numbered
    where a tag repeats."""
    text = (element.text or "").strip()
    yield path, repr((sorted(element.attrib.items()), text))
    seen = {}
    for child in element:
        tag = child.tag.replace(GNUMERIC, "")
        seen[tag] = seen.get(tag, 0) + 1
        yield from flattened(child, "%s/%s[%d]" % (path, tag, seen[tag]))


def xlrd_settings(path):
    """{what: value} as xlrd reads the workbook's settings, or None."""
    import xlrd
    try:
        book = xlrd.open_workbook(path, formatting_info=True, logfile=io.StringIO())
    except Exception:
        return None

    def attributes(thing, names):
        return tuple((name, getattr(thing, name, None)) for name in names)

    settings = {
        "fonts": [attributes(f, ("name", "height", "colour_index", "weight", "bold", "italic",
                                 "underline_type", "escapement", "family", "character_set",
                                 "struck_out", "outline", "shadow")) for f in book.font_list],
        "formats": sorted((k, v.format_str) for k, v in book.format_map.items()),
        "user": book.user_name,
    }
    for sheet in book.sheets():
        settings["sheet " + sheet.name] = attributes(sheet, (
            "cached_normal_view_mag_factor", "cached_page_break_preview_mag_factor",
            "scl_mag_factor", "show_in_page_break_preview", "sheet_selected", "show_grid_lines",
            "show_sheet_headers", "show_zero_values", "show_outline_symbols",
            "first_visible_rowx", "first_visible_colx", "gridline_colour_index",
            "default_row_height", "default_row_hidden", "default_additional_space_above",
            "default_additional_space_below", "defcolwidth", "standardwidth",
            "horizontal_page_breaks", "vertical_page_breaks"))
        settings["columns " + sheet.name] = sorted(
            (col, attributes(info, ("width", "hidden", "bit1_flag", "outline_level",
                                    "collapsed", "xf_index")))
            for col, info in sheet.colinfo_map.items())
    return settings


def differences(before, after, skip_styles_of):
    problems = []
    for key in sorted(set(before) | set(after), key=str):
        old, new = before.get(key), after.get(key)
        if isinstance(old, dict) and isinstance(new, dict):
            for part in sorted(set(old) | set(new)):
                if part == "fonts" and key == skip_styles_of:
                    continue
                if old.get(part) != new.get(part):
                    problems.append("%s %s: %s became %s" % (key, part, shorten(old.get(part)),
                                                             shorten(new.get(part))))
        elif old != new:
            problems.append("%s: %s became %s" % (key, shorten(old), shorten(new)))
    return problems


def shorten(value):
    text = str(value)
    return text if len(text) < 400 else text[:400] + "..."


def check(rewrite, path, label, scratch, problems, counts):
    folder = os.path.join(scratch, "rewrite")
    shutil.rmtree(folder, ignore_errors=True)
    os.mkdir(folder)
    out = os.path.join(folder, "rewritten.xls")
    process = subprocess.run([rewrite, path, out], capture_output=True,
                             timeout=HANG_GUARD_SECONDS)
    if process.returncode != 0:
        counts["not written"] += 1  # refusals are the rewrite check's
        return
    changed = json.loads(process.stdout)["sheet"]
    gnumeric_before = gnumeric_settings(path, scratch)
    if gnumeric_before is not None:
        gnumeric_after = gnumeric_settings(out, scratch)
        if gnumeric_after is None:
            problems.append("%s: gnumeric cannot read the written file" % label)
            return
        names = list(gnumeric_before)
        skip = names[changed] if changed < len(names) else None
        for problem in differences(gnumeric_before, gnumeric_after, skip):
            problems.append("%s: gnumeric: %s" % (label, problem))
        if any(sheet["validations"] for sheet in gnumeric_before.values()):
            counts["validations"] += 1
            without_validations(out)
            dropped = gnumeric_settings(out, scratch) or {}
            if not any(" validations: " in problem
                       for problem in differences(gnumeric_before, dropped, skip)):
                problems.append("%s: the validations were dropped on purpose, and the "
                                "comparison saw nothing" % label)
    xlrd_before = xlrd_settings(path)
    if xlrd_before is not None:
        for problem in differences(xlrd_before, xlrd_settings(out) or {}, None):
            problems.append("%s: xlrd: %s" % (label, problem))
    counts["checked"] += 1


def main():
    rewrite, folder = sys.argv[1], sys.argv[2]
    try:
        import xlrd  # noqa: F401
    except ImportError:
        print("xlrd is not installed")
        return MISSING
    if shutil.which("ssconvert") is None:
        print("ssconvert (gnumeric) is not installed")
        return MISSING
    if not os.path.isdir(folder):
        print("no workbooks at %s" % folder)
        return MISSING
    problems = []
    counts = {"checked": 0, "not written": 0, "validations": 0}
    with tempfile.TemporaryDirectory() as scratch:
        for root, _, files in sorted(os.walk(folder)):
            for name in sorted(files):
                if not name.lower().endswith(".xls"):
                    continue
                path = os.path.join(root, name)
                label = os.path.relpath(path, os.path.dirname(os.path.normpath(folder)))
                if label in KNOWN:
                    print("known: %s: %s" % (label, KNOWN[label]))
                    continue
                check(rewrite, path, label, scratch, problems, counts)
    print("%(checked)d written back and compared (%(validations)d with validations, each "
          "also without them to see the comparison fail), %(not written)d not written" % counts)
    for problem in problems:
        print("MISMATCH " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
