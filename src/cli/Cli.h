// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kestro command-line tool: one function per command, over the core.

#include <iosfwd>
#include <string>
#include <vector>

namespace kestro::cli {

/// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

/// Runs the tool with its arguments (argv[0] first), writing to out and err.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Each command takes the arguments after its name.

/// `kestro info [--json] [--dat FILE] FILE...`: every file as the ROM
/// information window shows it with identification on; with --dat also its
/// game in the DAT, by content. 0 when all were accepted, 1 when any was refused.
int InfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `kestro romaji [--hex] TEXT`: the romaji reading of a title, in UTF-8.
int RomajiCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `kestro header FILE [--title TEXT | --title-hex HEX] [--maker CODE]
/// [--game-code CODE] [--version N] [--revert]`: edits the header as Save ROM
/// does and writes the file. 1 when the file is refused, the ROM is unknown
/// to --revert, or the write fails; the file is then left as it was.
int HeaderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `kestro tiles FILE --out OUT [--offset N] [--width W] [--rows R] [--palette
/// FILE.pvb] [--import PICTURE.png [--nearest]]`: the tile view the tile viewer
/// draws, as a Windows bitmap, or its tiles as an indexed PNG for a name ending
/// in .png; with --import, an edited PNG's tiles written into a new ROM. 1 when
/// the ROM, the palette file or the picture is refused, or nothing can be written.
int TilesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `kestro scan [--rename] [--move] [--detailed] [--log] [--save] [--json]
/// [--dat FILE [--fixdat OUT.dat] [--missing-csv OUT.csv]] DIR`: the
/// collection window's identification run over a directory, against the
/// built-in table or a DAT. 0 when the
/// run completed without a failure, 1 otherwise.
int ScanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `kestro patch ROM PATCH... --out OUT [--force] [--dat FILE] [--json]`:
/// applies the patches in order, each base checked; `--create ORIGINAL
/// MODIFIED --out X.ips|X.bps|X.ups` makes one; `--info PATCH` describes one.
/// 0 when written (or described), 1 when refused.
int PatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// `kestro play EMULATOR [ROM] [--debug] [--dry-run] [--force] [--json]`:
/// what the front-end's run button does (EMULATOR one of PlayEmulatorNames),
/// with the desktop program's saved settings, read and never written.
/// --dry-run checks everything the run checks but writes and starts nothing;
/// --json prints the emulator, the command line, the argv executed, the
/// working directory, the files written, the messages and whether it
/// started. 0 when started (or it would be), 1 when refused.
int PlayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// The emulators `play` takes, as named on the command line, and the same
/// as text for help ("a, b, c or d").
std::vector<std::string> PlayEmulatorNames();
std::string PlayEmulatorList();

}  // namespace kestro::cli
