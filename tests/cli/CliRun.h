// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the kestro tool in-process and keeps what it wrote.

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace kestro::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
    nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

inline CliResult RunKestro(std::vector<std::string> args) {
    args.insert(args.begin(), "kestro");
    std::ostringstream out, err;
    CliResult result;
    result.status = kestro::cli::Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace kestro::test
