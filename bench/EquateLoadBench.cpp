// The equate loader against its storage floor: a synthetic installation of
// 100,000 and 200,000 equate lines in every form the loader reads, loaded by
// EquateLoad and, for comparison, the same records bulk-inserted into the same
// table and keys. Prints one line per figure.
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "runtime/IniFile.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

constexpr int LinesPerFile = 5000;

std::string line(int file, int i)
{
    char buffer[200];
    switch (i % 8) {
    case 0: std::snprintf(buffer, sizeof buffer, "COLOR:Shade%d_%d   EQUATE(00%06XH)  ! a colour", file, i, i); break;
    case 1: std::snprintf(buffer, sizeof buffer, "COLOR:SYS%d_%d     EQUATE(8%07XH)", file, i, i); break;
    case 2: std::snprintf(buffer, sizeof buffer, "ICON:Pic%d_%d      EQUATE('<0FFH,01H,%02XH,7FH>')", file, i, i % 256); break;
    case 3: std::snprintf(buffer, sizeof buffer, "EVENT:Ev%d_%d      EQUATE(%d)", file, i, i % 700 + 1); break;
    case 4: std::snprintf(buffer, sizeof buffer, "Key%d_%d           EQUATE(%04XH)", file, i, i % 0x800); break;
    case 5: std::snprintf(buffer, sizeof buffer, "PROPLIST:P%d_%d    EQUATE(%d)  ! a property", file, i, i); break;
    case 6: std::snprintf(buffer, sizeof buffer, "Member%d_%d        EQUATE", file, i); break;
    default: std::snprintf(buffer, sizeof buffer, "Pic%d_%d           EQUATE('@N%d.2')", file, i, i % 12 + 1); break;
    }
    return buffer;
}

void writeInstallation(int totalLines)
{
    const int files = totalLines / LinesPerFile;
    std::ofstream list("EQU-LOA5.TXT");
    list << "[FILES]\nPATH=%CW%\\LIBSRC\n";
    fs::create_directories("cw/LIBSRC");
    for (int f = 0; f < files; ++f) {
        const std::string name = "SYN" + std::to_string(f) + ".CLW";
        std::string entry(30, ' ');
        entry.replace(0, name.size(), name);
        entry.replace(14, 7, "Keycode");
        list << entry << "\n";
        std::ofstream source("cw/LIBSRC/" + name);
        source << "Block" << f << " ITEMIZE(1),PRE(BLK" << f << ")\n";
        for (int i = 0; i < LinesPerFile - 2; ++i)
            source << line(f, i) << "\n";
        source << " END\n";
    }
    list << "[DUPS]\nTYPE=Again\n*COLOR:Shade0_\n";
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Figures
{
    double load = 0;
    double floor = 0;
    std::int64_t records = 0;
};

Figures measure(int totalLines)
{
    runtime::testing::TempDir dir;
    writeInstallation(totalLines);
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
    equates::EquateLoader loader(file, "cw", dialogs);
    const auto started = std::chrono::steady_clock::now();
    const equates::EquateLoadResult result = loader.run(runtime::IniFile("KTX4.INI"));
    Figures figures;
    figures.load = seconds(std::chrono::steady_clock::now() - started);
    figures.records = result.records;

    // The floor: the same records into the same table in one stream, then its keys built.
    std::vector<runtime::Record> records;
    runtime::Record r = file.newRecord();
    file.setOrder(runtime::KeyedFile::FileOrder);
    while (file.next(r).ok())
        records.push_back(r);
    runtime::KeyedFile bare("Floor.tps", equates::equateLayout());
    const auto floorStarted = std::chrono::steady_clock::now();
    bare.create();
    bare.open();
    bare.dropKeys();
    bare.stream();
    for (runtime::Record& record : records)
        bare.add(record);
    bare.flush();
    bare.rebuildKeys();
    figures.floor = seconds(std::chrono::steady_clock::now() - floorStarted);
    return figures;
}

} // namespace

// With --write DIR LINES, only writes the installation there (for ktx and /usr/bin/time).
int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write") {
        fs::create_directories(argv[2]);
        fs::current_path(argv[2]);
        writeInstallation(std::stoi(argv[3]));
        return 0;
    }
    const Figures small = measure(100000);
    const Figures large = measure(200000);
    std::printf("%-44s %12s %12s\n", "measured", "figure", "target");
    std::printf("%-44s %10.3f s %12s\n", "EquateLoad, 100,000 lines", small.load, "< 1 s");
    std::printf("%-44s %10.3f s %12s\n", "storage floor, same records", small.floor, "");
    std::printf("%-44s %12.2f %12s\n", "load / floor", small.load / small.floor, "< 1.5");
    std::printf("%-44s %10.3f s %12s\n", "EquateLoad, 200,000 lines", large.load, "");
    std::printf("%-44s %12.2f %12s\n", "200,000 / 100,000 lines", large.load / small.load, "< 2.2");
    std::printf("%-44s %12lld %12s\n", "records of the 100,000-line load", static_cast<long long>(small.records), "");
    return 0;
}
