// SPDX-License-Identifier: GPL-3.0-or-later
// kestro play: an emulator front-end's run button without its window, with
// the settings the desktop program saved (read, never written).
#include <array>
#include <filesystem>
#include <ostream>

#include "base/IniSettings.h"
#include "base/ProcessStart.h"
#include "base/RunLog.h"
#include "base/WineRegistry.h"
#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "emus/Mednafen.h"
#include "emus/ProgramFiles.h"
#include "emus/RealityBoy.h"
#include "emus/RedDragon.h"
#include "emus/RunLogMessages.h"
#include "emus/VirtualE.h"

namespace kestro::cli {

namespace {

using nlohmann::ordered_json;

/// One emulator `play` knows: its name on the command line and how its
/// front-end prepares a run from the saved settings.
/// What a run writes into the Wine prefix's registry (Virtual-E only).
using RegistryValues = std::vector<emus::WrittenRegistryValue>;

struct PlayEmulator {
    std::string_view name;
    base::Program program;
    bool hasDebugMode;
    bool takesRom;
    emus::PreparedRun (*prepare)(const base::SettingsStore& settings, const std::optional<std::string>& rom, bool debug,
                                 RegistryValues& registry);
};

emus::PreparedRun PrepareRealityBoy(const base::SettingsStore& settings, const std::optional<std::string>& rom,
                                    bool debug, RegistryValues&) {
    return emus::PrepareRealityBoyPlay(settings, rom, debug);
}

emus::PreparedRun PrepareRedDragon(const base::SettingsStore& settings, const std::optional<std::string>& rom, bool,
                                   RegistryValues&) {
    return emus::PrepareRedDragonPlay(settings, rom);
}

// Virtual-E takes no ROM (the game is picked inside it): its stored options,
// defaults on first use, are written again, then it starts minimised.
emus::PreparedRun PrepareVirtualE(const base::SettingsStore& settings, const std::optional<std::string>&, bool,
                                  RegistryValues& registry) {
    base::WineRegistryBackend backend(base::DefaultWinePrefix());
    const std::string directory = emus::ReadProgramSettings(settings, base::Program::VirtualE).directory;
    emus::VirtualEPlay play = emus::PrepareVirtualEPlay(backend, directory);
    registry = play.values;
    emus::PreparedRun run;
    run.emulator = "Virtual-E";
    run.commandLine = play.commandLine;
    run.request = play.request;
    return run;
}

// Mednafen reads the game's own settings file as it stands; nothing is written.
emus::PreparedRun PrepareMednafen(const base::SettingsStore& settings, const std::optional<std::string>& rom, bool,
                                  RegistryValues&) {
    return emus::PrepareMednafenPlay(settings, rom, emus::CurrentMednafenEnvironment());
}

constexpr std::array<PlayEmulator, 4> kEmulators{{
    {"reality-boy", base::Program::RealityBoy, true, true, &PrepareRealityBoy},
    {"red-dragon", base::Program::RedDragon, false, true, &PrepareRedDragon},
    {"virtual-e", base::Program::VirtualE, false, false, &PrepareVirtualE},
    {"mednafen", base::Program::Mednafen, false, true, &PrepareMednafen},
}};

// Writes the values; a value that cannot be stored is reported and the
// emulator is not started on settings it would not find. A dry run meets the
// same refusals (no prefix yet, ...) and stores nothing.
bool WriteRegistry(const RegistryValues& values, emus::RunOutcome& outcome, bool dryRun) {
    if (values.empty()) return true;
    base::WineRegistryBackend backend(base::DefaultWinePrefix());
    backend.CheckOnly(dryRun);
    try {
        emus::WriteRegistryValues(backend, values);
    } catch (const base::RegistryError& error) {
        outcome.messages.push_back(base::RegistryErrorMessage(error));
        return false;
    }
    return true;
}

const PlayEmulator* FindEmulator(std::string_view name) {
    for (const PlayEmulator& e : kEmulators) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

// Starts exactly the plan that is reported, whatever request it is handed.
class PlanStarter final : public base::ProcessLauncher {
public:
    PlanStarter(const base::LaunchPlan& plan, base::ChildOutput output) : m_plan(plan), m_output(output) {}
    base::LaunchResult Start(const base::LaunchRequest&) override { return base::StartPlanned(m_plan, m_output); }

private:
    const base::LaunchPlan& m_plan;
    base::ChildOutput m_output;
};

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

struct PlayReport {
    std::string_view emulator;
    const emus::PreparedRun& run;
    const base::LaunchPlan& plan;
    const emus::RunOutcome& outcome;
    bool dryRun = false;
    bool wouldStart = false;  ///< a dry run that would have started it
    std::vector<emus::FileToWrite> files;
    std::string workingDirectory;
    bool hasRegistry = false;
    RegistryValues registry;
    std::string log;  ///< the emulator's log: of the start, or that a start would keep
};

void PrintJson(std::ostream& out, const PlayReport& r) {
    ordered_json json;
    json["emulator"] = r.emulator;
    // A refused run works nothing out: no command line, nothing executed.
    json["command_line"] = r.run.refusal ? std::string() : r.run.commandLine;
    json["argv"] = r.plan.ok && !r.run.refusal ? r.plan.argv : std::vector<std::string>{};
    json["working_directory"] = r.workingDirectory;
    json["log"] = r.log;
    json["files"] = ordered_json::array();
    for (const emus::FileToWrite& f : r.files) json["files"].push_back({{"path", f.path}, {"content", f.content}});
    if (!r.run.refusal) {
        for (const emus::FileToWrite& f : r.run.filesRead) {
            json["files"].push_back({{"path", f.path}, {"content", f.content}});
        }
    }
    if (r.hasRegistry) {
        json["registry"] = ordered_json::array();
        for (const emus::WrittenRegistryValue& v : r.registry) {
            json["registry"].push_back({{"key", v.key}, {"name", v.name}, {"type", v.type}, {"value", v.value}});
        }
    }
    json["messages"] = ordered_json::array();
    for (const base::Message& m : r.outcome.messages) {
        json["messages"].push_back({{"title", m.title}, {"text", m.text}});
    }
    json["started"] = r.outcome.started;
    json["dry_run"] = r.dryRun;
    out << JsonText(json) << '\n';
}

void PrintText(std::ostream& out, std::ostream& err, const PlayReport& r) {
    const bool dryRun = r.dryRun;
    const bool runs = r.outcome.started || r.wouldStart;
    const std::string started = base::ShellCommandLine(r.plan.argv);
    // A native emulator's own command line is the one started: print it once.
    const bool sameAsStarted = runs && r.run.commandLine == started;
    if (!r.run.refusal && !sameAsStarted) out << r.run.commandLine << '\n';
    for (const emus::FileToWrite& f : r.files) out << (dryRun ? "Would write " : "Wrote ") << f.path << '\n';
    if (!r.run.refusal) {
        for (const emus::FileToWrite& f : r.run.filesRead) out << "Reads " << f.path << '\n';
    }
    for (const emus::WrittenRegistryValue& v : r.registry) {
        out << (dryRun ? "Would set " : "Set ") << "HKEY_CURRENT_USER\\" << v.key << "\\" << v.name << " = " << v.value
            << '\n';
    }
    if (runs) {
        out << (dryRun ? "Would run: " : "Started: ") << started << '\n';
        if (!r.plan.workingDirectory.empty()) out << "In: " << r.plan.workingDirectory << '\n';
    }
    for (const base::Message& m : r.outcome.messages) err << MessageLine(m) << '\n';
}

}  // namespace

std::vector<std::string> PlayEmulatorNames() {
    std::vector<std::string> names;
    for (const PlayEmulator& e : kEmulators) names.emplace_back(e.name);
    return names;
}

std::string PlayEmulatorList() {
    const std::vector<std::string> names = PlayEmulatorNames();
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    }
    return list;
}

int PlayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Start an emulator as its front-end's run button does, with the options the desktop program "
        "saved (its settings file is read, never written)",
        "kestro play"};
    std::string emulatorName, romPath;
    bool debug = false, dryRun = false, json = false, force = false;
    const std::vector<std::string> names = PlayEmulatorNames();
    command.add_option("EMULATOR", emulatorName, "The emulator: " + PlayEmulatorList())
        ->required()
        ->check(CLI::IsMember(names));
    auto* romOption =
        command.add_option("ROM", romPath, "The ROM image to run (Red Dragon runs without one; Virtual-E takes none)");
    command.add_flag("--debug", debug, "Reality Boy's debug mode");
    command.add_flag("--dry-run", dryRun,
                     "Check what the run checks, but write and start nothing; show what would be written and run");
    command.add_flag("--force", force,
                     "Start the emulator even when its \"Enabled\" box in the options is not checked "
                     "(the desktop program greys it then)");
    command.add_flag("--json", json, "Print one JSON object describing the run");
    if (auto status = ParseCommand(command, args, out, err)) return *status;
    const PlayEmulator& emulator = *FindEmulator(emulatorName);
    if (debug && !emulator.hasDebugMode) {
        err << "kestro play: --debug is Reality Boy's debug mode; " << emulator.name << " has none.\n";
        return kExitUsage;
    }
    if (romOption->count() > 0 && !emulator.takesRom) {
        err << "kestro play: " << emulator.name << " takes no ROM; the game is chosen inside the emulator.\n";
        return kExitUsage;
    }

    const base::IniSettingsStore settings = base::IniSettingsStore::Load(base::UserSettingsFile());
    std::optional<std::string> rom;
    if (romOption->count() > 0) rom = AbsolutePath(romPath);
    RegistryValues registry;
    emus::PreparedRun run;
    // Switched off, it is refused before anything is read or worked out.
    const bool switchedOff = !force && !emus::ReadProgramSettings(settings, emulator.program).enabled;
    if (switchedOff) {
        run.refusal = emus::NotEnabledMessage(emulator.program);
    } else {
        run = emulator.prepare(settings, rom, debug, registry);
    }
    const base::LaunchPlan plan = base::PlanLaunch(run.request, base::CurrentLaunchEnvironment());

    emus::RunOutcome outcome;
    base::StartRecord start;
    std::vector<emus::FileToWrite> files;
    bool wouldStart = false;
    if (run.refusal) {
        outcome.messages.push_back(*run.refusal);
    } else if (dryRun) {
        // Everything the real run checks is checked; only the writes and the start are left out.
        if (WriteRegistry(registry, outcome, true)) {
            files = run.files;
            wouldStart = plan.ok;
            if (!plan.ok) outcome.messages.push_back(emus::StartFailedMessage(run.emulator, plan.error));
        } else {
            registry.clear();
        }
    } else if (WriteRegistry(registry, outcome, false)) {
        PlanStarter starter(plan, json ? base::ChildOutput::ToStderr : base::ChildOutput::Inherit);
        base::TakeLastStart();
        outcome = emus::CarryOut(run, starter);
        start = base::TakeLastStart();
        emus::CheckQuickFailure(run.emulator, start, outcome.messages);
        files.assign(run.files.begin(), run.files.begin() + static_cast<std::ptrdiff_t>(outcome.filesWritten));
    } else {
        registry.clear();  // stored all together or not at all: here, none was
    }
    std::error_code ec;
    const std::string here = std::filesystem::current_path(ec).string();
    const PlayReport report{emulator.name,
                            run,
                            plan,
                            outcome,
                            dryRun,
                            wouldStart,
                            files,
                            run.request.workingDirectory.empty() ? here : run.request.workingDirectory,
                            !emulator.takesRom,
                            registry,
                            outcome.started ? start.log
                            : wouldStart    ? base::RunLogPath(plan.program)
                                            : std::string()};
    if (json) {
        PrintJson(out, report);
    } else {
        PrintText(out, err, report);
        if (switchedOff) err << "kestro play: --force starts it all the same.\n";
    }
    return outcome.started || wouldStart ? kExitOk : kExitRefused;
}

}  // namespace kestro::cli
