#include "app/DataDirectorySetup.h"

#include "equates/TipsFile.h"
#include "resources/DeliveredFiles.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <filesystem>
#include <fstream>

namespace kestrix::app {

SetupResult prepareDataDirectory()
{
    SetupResult result;
    for (const resources::DeliveredFile& delivered : resources::deliveredFiles()) {
        if (runtime::winPathExists(delivered.name))
            continue; // the user's own copy, perhaps edited, stays
        std::ofstream out(delivered.name, std::ios::binary);
        out.write(delivered.content.data(), static_cast<std::streamsize>(delivered.content.size()));
        if (!out.flush()) {
            result.problem = std::string("Cannot write ") + delivered.name + " into the data directory.";
            continue;
        }
        result.installed.push_back(delivered.name);
    }
    runtime::KeyedFile tips(equates::TipsFileName, equates::tipLayout());
    if (!std::filesystem::exists(tips.path())) {
        const runtime::TextLines source = runtime::readTextLines(runtime::resolveWinPath(equates::TipsSourceName));
        if (!source.error && tips.create().ok() && tips.open().ok()) {
            equates::buildTipsFile(tips, source.lines);
            result.installed.push_back(tips.path().filename().string());
        }
    }
    return result;
}

} // namespace kestrix::app
