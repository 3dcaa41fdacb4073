#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace kestrix::app {

class CliContext;
using CommandRunner = std::function<int(CliContext&)>;

// "ktx config show|set|export|import": registers the commands; the runner of the one given is stored in
// `run`.
void addConfigCommands(CLI::App& app, CommandRunner& run);

// "config set": the assignments checked as the window checks them, then written. `beforeWrite`
// runs between the read and the write (tests change the record there as another program would).
int setConfiguration(CliContext& ctx, const std::vector<std::string>& assignments,
                     const std::function<void()>& beforeWrite = {});

// A stored value for one NAME=value line: control characters as "<code>", so no value can start a line of its
// own.
std::string shownConfigValue(const std::string& value);

} // namespace kestrix::app
