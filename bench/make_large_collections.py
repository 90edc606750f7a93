#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes two large generated collections, each with a Logiqx DAT naming its
ROMs, for timing `kestro scan` where the work could grow with the square of
the input:

  OUT/zip/many.zip   ENTRIES distinct 1 KiB ROM images in one archive (OUT/zip.dat)
  OUT/same/rNNNNN.vb COPIES copies of one 1 KiB ROM image (OUT/same.dat)

  python3 bench/make_large_collections.py /tmp/large 8000 6000
  time build/bin/kestro scan --dat /tmp/large/zip.dat /tmp/large/zip
  time build/bin/kestro scan --rename --dat /tmp/large/same.dat /tmp/large/same
"""
import hashlib
import os
import random
import sys
import zipfile
import zlib


def rom(seed):
    data = bytearray(random.Random(seed).randbytes(1024))
    reserved = 1024 - 544 + 0x14
    data[reserved:reserved + 5] = bytes(5)  # the header's reserved bytes are zero
    return bytes(data)


def write_dat(path, games):
    with open(path, "w") as f:
        f.write('<?xml version="1.0"?>\n<datafile>\n<header><name>Large</name></header>\n')
        for game, name, data in games:
            f.write('<game name="%s"><rom name="%s" size="%d" crc="%08x" sha1="%s"/></game>\n' %
                    (game, name, len(data), zlib.crc32(data), hashlib.sha1(data).hexdigest()))
        f.write("</datafile>\n")


def main():
    out, entries, copies = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    os.makedirs(os.path.join(out, "zip"), exist_ok=True)
    os.makedirs(os.path.join(out, "same"), exist_ok=True)
    games = [("Game %d" % i, "game%d.vb" % i, rom(i)) for i in range(entries)]
    with zipfile.ZipFile(os.path.join(out, "zip", "many.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
        for _, name, data in games:
            archive.writestr(name, data)
    write_dat(os.path.join(out, "zip.dat"), games)
    one = rom(-1)
    for i in range(copies):
        with open(os.path.join(out, "same", "r%05d.vb" % i), "wb") as f:
            f.write(one)
    write_dat(os.path.join(out, "same.dat"), [("Same Game (World)", "Same Game (World) (Rev 1).vb", one)])


if __name__ == "__main__":
    main()
