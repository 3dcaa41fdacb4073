#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace kestrix::app {

class CliContext;
using CommandRunner = std::function<int(CliContext&)>;

// "ktx config show|set": registers the commands; the runner of the one given is stored in `run`.
void addConfigCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
