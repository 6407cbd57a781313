"""Reference checks of compound files through olefile, for the spreadsheet tests.

ole_check.py stream FILE NAME EXPECTED   "ok" when stream NAME of FILE holds the bytes of EXPECTED
ole_check.py storage ORIGINAL WRITTEN NAME
                                         "ok" when storage NAME holds the same streams, byte for
                                         byte, in both files
ole_check.py list FILE                   one line per stream: path and size
"""
import sys

import olefile


def streams_under(ole, prefix):
    found = {}
    for entry in ole.listdir(streams=True, storages=False):
        if entry[0].lower() == prefix.lower():
            found["/".join(entry[1:])] = ole.openstream(entry).read()
    return found


def main():
    mode = sys.argv[1]
    if mode == "stream":
        with olefile.OleFileIO(sys.argv[2]) as ole:
            data = ole.openstream(sys.argv[3]).read()
        expected = open(sys.argv[4], "rb").read()
        print("ok" if data == expected else "differs: %d bytes, expected %d" % (len(data), len(expected)))
    elif mode == "storage":
        with olefile.OleFileIO(sys.argv[2]) as ole:
            original = streams_under(ole, sys.argv[4])
        with olefile.OleFileIO(sys.argv[3]) as ole:
            written = streams_under(ole, sys.argv[4])
        if not original:
            print("no storage %s in the original" % sys.argv[4])
        elif original != written:
            print("differs: %s against %s" % (sorted(original), sorted(written)))
        else:
            print("ok %d streams" % len(original))
    elif mode == "list":
        with olefile.OleFileIO(sys.argv[2]) as ole:
            for entry in ole.listdir(streams=True, storages=False):
                print("%s %d" % ("/".join(entry), ole.get_size(entry)))


main()
