// console_test_env.cpp - every process of the console tests gets a profile
// of its own.
//
// The test runner starts one process per case, possibly several at once, and
// points them all at one settings folder. The console writes its window
// position there, so cases running side by side would read each other's
// positions. Before main() runs (and before Qt reads the variable), each
// process moves to a private folder, removed again at exit.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

struct PrivateProfileFolder {
    std::string path;
    PrivateProfileFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zephyra-console-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
            setenv("XDG_CONFIG_HOME", path.c_str(), 1);
        }
    }
    ~PrivateProfileFolder() {
        if (!path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
};

const PrivateProfileFolder folder;

} // namespace
