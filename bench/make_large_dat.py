#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a large generated Logiqx DAT and a directory holding the ROMs of its
first few games, for the memory and time of `kestro scan --dat` with the
missing games written out:

  OUT/big.dat      GAMES games of one rom each (good, bad, PD and translated names)
  OUT/roms/*.vb    the first 8 games' ROMs, 1 KiB each

  python3 bench/make_large_dat.py /tmp/datbench 1000000
  /usr/bin/time -v build/bin/kestro scan --dat /tmp/datbench/big.dat \\
      --fixdat /tmp/datbench/fix.dat --missing-csv /tmp/datbench/miss.csv /tmp/datbench/roms
"""
import hashlib
import os
import random
import sys
import zlib


def rom(seed):
    data = bytearray(random.Random(seed).randbytes(1024))
    reserved = 1024 - 544 + 0x14
    data[reserved:reserved + 5] = bytes(5)  # the header's reserved bytes are zero
    return bytes(data)


def name_of(i):
    tags = ["", " [b1]", " (PD)", " [T-En]"]
    return "Game %d (World) (Rev %d)%s" % (i, i % 4, tags[0 if i % 5 else (i // 5) % 4])


def main():
    out, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(os.path.join(out, "roms"), exist_ok=True)
    with open(os.path.join(out, "big.dat"), "w") as f:
        f.write('<?xml version="1.0"?>\n<datafile>\n\t<header>\n\t\t<name>Big</name>\n'
                '\t\t<description>Big</description>\n\t</header>\n')
        for i in range(count):
            name = name_of(i)
            if i < 8:
                data = rom(i)
                size, crc, sha1 = len(data), zlib.crc32(data), hashlib.sha1(data).hexdigest()
                with open(os.path.join(out, "roms", "r%d.vb" % i), "wb") as r:
                    r.write(data)
            else:
                size, crc = 524288 << (i % 3), (i * 2654435761) & 0xFFFFFFFF
                sha1 = "%08x%08x%08x%08x%08x" % (i, ~i & 0xFFFFFFFF, i * 3 & 0xFFFFFFFF, i * 5 & 0xFFFFFFFF,
                                                 i * 11 & 0xFFFFFFFF)
            f.write('\t<game name="%s">\n\t\t<description>%s</description>\n'
                    '\t\t<rom name="%s.vb" size="%d" crc="%08x" sha1="%s"/>\n\t</game>\n' % (name, name, name, size, crc, sha1))
        f.write("</datafile>\n")


if __name__ == "__main__":
    main()
