"""How many drawn objects of a workbook the library cannot write back, found apart from it.

drawing_objects.py FILE   prints the number

Counted are the OBJ records of worksheets (not those inside charts): in BIFF8 every object
but notes, charts and plain pictures (a picture standing for an embedded object counts, and
a chart or picture inside a group of shapes) and but the filter arrows the application makes
itself; before BIFF8 every object."""
import struct
import sys

import olefile

OBJ = 0x005D
MSODRAWING = 0x00EC
CONTINUE = 0x003C
CHILD_ANCHOR, CLIENT_ANCHOR = 0xF00F, 0xF010
EOF_ID = 0x000A
BOF_IDS = (0x0009, 0x0209, 0x0409, 0x0809)
KEPT_TYPES = (0x05, 0x08, 0x19)  # chart, picture, note
APPLICATION_OBJECT = 0x0100
PICTURE_FORMULA = 0x0009


def workbook_stream(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(olefile.MAGIC):
        return data
    with olefile.OleFileIO(path) as ole:
        for name in ("Workbook", "Book", "WORKBOOK", "BOOK"):
            if ole.exists(name):
                return ole.openstream(name).read()
    return b""


def subrecords(body):
    at = 0
    while at + 4 <= len(body):
        kind, size = struct.unpack_from("<HH", body, at)
        yield kind
        at += 4 + size


def last_anchor(drawing, anchor):
    """The kind of the last anchor in a drawing record, or anchor when it holds none."""
    at = 0
    while at + 8 <= len(drawing):
        head, kind, size = struct.unpack_from("<HHI", drawing, at)
        at += 8
        if kind in (CHILD_ANCHOR, CLIENT_ANCHOR):
            anchor = kind
        if head & 0x0F != 0x0F:  # an atom: step over its body; a container: walk into it
            at += size
    return anchor


def unkept_biff8(body, anchor):
    if len(body) < 10 or struct.unpack_from("<H", body, 0)[0] != 0x15:
        return True  # an object in the layout of older versions
    kind, flags = struct.unpack_from("<H", body, 4)[0], struct.unpack_from("<H", body, 8)[0]
    if flags & APPLICATION_OBJECT:
        return False
    if kind in (0x05, 0x08) and anchor == CHILD_ANCHOR:
        return True
    if kind == 0x08:
        return PICTURE_FORMULA in subrecords(body)
    return kind not in KEPT_TYPES


def unkept_count(path):
    stream = workbook_stream(path)
    at, substreams, biff8, count, anchor = 0, [], None, 0, None
    after_drawing = False
    while at + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, at)
        body = stream[at + 4:at + 4 + size]
        at += 4 + size
        # Some writers carry drawing records on in CONTINUE records instead of MSODRAWING.
        if rid == CONTINUE and after_drawing and len(body) >= 8 and \
                struct.unpack_from("<H", body, 2)[0] & 0xFE00 == 0xF000:
            rid = MSODRAWING
        after_drawing = rid in (MSODRAWING, OBJ) or (rid == CONTINUE and after_drawing)
        if rid in BOF_IDS:
            if biff8 is None:
                biff8 = rid == 0x0809 and body[:2] == b"\x00\x06"
            substreams.append(struct.unpack_from("<H", body, 2)[0] if len(body) >= 4 else 0)
        elif rid == EOF_ID and substreams:
            substreams.pop()
        elif rid == MSODRAWING and len(substreams) == 1:
            anchor = last_anchor(body, anchor)
        elif rid == OBJ and len(substreams) == 1 and substreams[0] != 0x0020:
            count += unkept_biff8(body, anchor) if biff8 else 1
    return count


if __name__ == "__main__":
    print(unkept_count(sys.argv[1]))
