// SPDX-License-Identifier: GPL-3.0-or-later
// console_test_env.cpp - every process of the console tests gets a profile
// and a runtime folder of its own.
//
// The test runner starts one process per case, possibly several at once, and
// may point them all at one settings folder and one runtime folder. The
// console writes its window position to the first and takes its
// single-instance lock in the second, so cases running side by side would
// see each other. Before main() runs (and before Qt reads the variables),
// each process moves to private folders, removed again at exit.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

struct PrivateFolder {
    std::string path;
    explicit PrivateFolder(const char* variable) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zephyra-console-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) { // mode 0700, as a runtime folder must be
            path = pattern;
            setenv(variable, path.c_str(), 1);
        }
    }
    ~PrivateFolder() {
        if (!path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
};

const PrivateFolder profileFolder("XDG_CONFIG_HOME");
const PrivateFolder runtimeFolder("XDG_RUNTIME_DIR");

// The meters are not asked at a pace in these processes: their cases read
// the line command by command, and a poll between would be a command the
// case did not make. The cases about the polls set a pace of their own.
const bool quietMeters = [] {
    if (profileFolder.path.empty())
        return false;
    const std::filesystem::path folder = std::filesystem::path(profileFolder.path) / "BRAVELL";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::ofstream(folder / "Zephyra.conf") << "[Setting]\nMeterPace=off\n";
    // A fixture with a profile of its own still runs without polls.
    setenv("ZEPHYRA_METER_PACE", "off", 0);
    return true;
}();

} // namespace
