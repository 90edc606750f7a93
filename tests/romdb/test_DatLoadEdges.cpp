// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "romdb/DatFile.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::romdb;

// Hashes are kept as bytes: in either form a hash in capitals, or with its
// leading zeros left out, reads back as the full lower-case hex, and one that
// is too long or holds a letter past f is refused by its line.
TEST(DatLoadEdges, HashDigitsReadAsBytes) {
    struct Case {
        std::string crc, sha1, want;  // want: the crc and sha1 read back, or the start of the error
    };
    const std::string sha1 = "0123456789ABCDEF0123456789abcdef01234567";
    const Case cases[] = {
        {"DEADBEEF", sha1, "deadbeef 0123456789abcdef0123456789abcdef01234567"},
        {"abc", "f", "00000abc 000000000000000000000000000000000000000f"},
        {"123456789", sha1, "line 3: the crc \"123456789\" of rom \"a.vb\" is not a hexadecimal hash"},
        {"1234567g", sha1, "line 3: the crc \"1234567g\" of rom \"a.vb\" is not a hexadecimal hash"},
        {"12345678", sha1 + "0", "line 3: the sha1 \"" + sha1 + "0\" of rom \"a.vb\" is not a hexadecimal hash"},
    };
    for (const Case& c : cases) {
        const std::string xml =
            "<?xml version=\"1.0\"?>\n<datafile>\n<game name=\"A\"><rom name=\"a.vb\" size=\"1\" crc=\"" + c.crc +
            "\" sha1=\"" + c.sha1 + "\"/></game>\n</datafile>\n";
        const std::string cmp = "clrmamepro ( name \"Set\" )\n\ngame ( name \"A\" rom ( name \"a.vb\" size 1 crc " +
                                c.crc + " sha1 " + c.sha1 + " ) )\n";
        for (const std::string& text : {xml, cmp}) {
            const DatRead read = ParseDat(text);
            const std::string got =
                read ? read.dat->games[0].roms[0].crc + " " + read.dat->games[0].roms[0].sha1 : read.error;
            EXPECT_EQ(got, c.want) << text;
        }
    }
}

// A file of several slices is let go of as it is read; a fault far into it
// still names its line, and what was read before it is whole.
TEST(DatLoadEdges, LargeFileReadFromDiskNamesLateFault) {
    std::string xml = "<?xml version=\"1.0\"?>\n<datafile>\n<header><name>Big</name></header>\n";
    for (int i = 0; i < 30000; ++i) {
        xml += "<game name=\"Game " + std::to_string(i) +
               "\"><description>Game</description><rom name=\"g.vb\" size=\"" + std::to_string(i) +
               "\" crc=\"0000abcd\"/></game>\n";
    }
    xml += "</datafile>\n";
    test::TempDir dir;
    test::WriteText(dir.File("big.dat"), xml);
    const DatRead read = ReadDatFile(dir.File("big.dat"));
    ASSERT_TRUE(read) << read.error;
    ASSERT_EQ(read.dat->games.size(), 30000u);
    EXPECT_EQ(read.dat->games[29999].name, "Game 29999");
    EXPECT_EQ(read.dat->games[29999].description, "Game");
    EXPECT_EQ(read.dat->games[29999].roms[0].size, 29999);

    xml.replace(xml.find("size=\"29000\""), 12, "size=\"29x00\"");
    test::WriteText(dir.File("bad.dat"), xml);
    EXPECT_NE(ReadDatFile(dir.File("bad.dat")).error.find("line 29004: the size \"29x00\" of rom \"g.vb\""),
              std::string::npos);
}
