#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace kestro::cli {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"kestro: batch tools for Nintendo Virtual Boy ROM images (.vb)", "kestro"};
    app.set_version_flag("--version", std::string("kestro ") + KESTRO_VERSION);
    app.require_subcommand(0, 1);

    std::vector<std::string> argv(args.rbegin(), args.rend());
    if (!argv.empty()) argv.pop_back();  // the program name
    try {
        app.parse(argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "kestro: " << e.what() << '\n' << "Run 'kestro --help' for usage.\n";
        return kExitUsage;
    }
    if (app.get_subcommands().empty()) {
        out << app.help();
        return kExitOk;
    }
    return kExitOk;
}

}  // namespace kestro::cli
