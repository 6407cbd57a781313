"""Checks pictures extracted from a workbook against the blips of its drawing group.

blips.py WORKBOOK FOLDER
Reads the workbook stream with olefile, joins MSODRAWINGGROUP and its CONTINUE records,
walks the Office Drawing records on its own and takes each blip's data (behind one or two
16-byte identifiers and a tag byte, or a metafile's 34-byte header). Prints "ok N" when
FOLDER/<store number>.bin holds exactly that data for each of the N pictures found (TIFF
left out), else one line per difference."""
import os
import struct
import sys

import olefile

KINDS = {0x3D4: "metafile", 0x216: "metafile", 0x542: "metafile", 0x46A: "bitmap",
         0x6E2: "bitmap", 0x6E0: "bitmap", 0x7A8: "bitmap"}


def records(stream):
    at = 0
    while at + 4 <= len(stream):
        rid, length = struct.unpack_from("<HH", stream, at)
        yield rid, stream[at + 4:at + 4 + length]
        at += 4 + length


def drawing_group(stream):
    data, taking = b"", False
    for rid, body in records(stream):
        if rid == 0x00EB or (taking and rid == 0x003C):
            data += body
            taking = True
        elif taking:
            break
    return data


def blips(data):
    at, number = 0, 0
    while at + 8 <= len(data):
        head, rtype, length = struct.unpack_from("<HHI", data, at)
        at += 8
        if head & 0x0F == 0x0F:
            continue
        if rtype == 0xF007:
            number += 1
            at += 36
            continue
        body = data[at:at + length]
        at += length
        if 0xF018 <= rtype <= 0xF117:
            instance = head >> 4
            kind = KINDS.get(instance & ~0x801)
            if kind is None:
                continue
            skip = (32 if instance & 1 else 16) + (34 if kind == "metafile" else 1)
            yield number, body[skip:]


def main():
    path, folder = sys.argv[1], sys.argv[2]
    with olefile.OleFileIO(path) as ole:
        stream = ole.openstream("Workbook").read()
    problems, count = [], 0
    for number, data in blips(drawing_group(stream)):
        count += 1
        name = os.path.join(folder, "%d.bin" % number)
        if not os.path.exists(name):
            problems.append("picture %d not extracted" % number)
        elif open(name, "rb").read() != data:
            problems.append("picture %d differs (%d bytes, blip data %d)" % (
                number, os.path.getsize(name), len(data)))
    print("\n".join(problems) if problems else "ok %d" % count)


main()
