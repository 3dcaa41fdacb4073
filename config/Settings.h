#pragma once

// Every INI file, section and entry name the program uses, in one place.
namespace kestrix::config::Ini {

// Files, in the data directory.
constexpr const char* WindowsFile = "ktx5.INI"; // window positions and tool options
constexpr const char* ProgramFile = "KTX4.INI"; // program settings
constexpr const char* ListsFile = "KTX.INI";    // list layouts

// "KTX4.INI"
constexpr const char* EquateLoadSection = "EquateLoad";
constexpr const char* PopupLoadSection = "PopupLoad";
constexpr const char* VersionEntry = "Version";
constexpr const char* CurrentLoadVersion = "4";
constexpr const char* AbcSection = "ABC";
constexpr const char* AbcModeEntry = "ABCMode";
constexpr const char* TipOfTheDaySection = "TipOfTheDay";
constexpr const char* ShowTipsEntry = "ShowTips";
constexpr const char* PathsSection = "Paths";

// "ktx5.INI": sections named after procedures.
constexpr const char* MainProcedure = "Main";
constexpr const char* ConfigurationProcedure = "Configuration";
constexpr const char* HelpProcedure = "HelpViewer";

} // namespace kestrix::config::Ini
