#include "files/program_home.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/file_names.h"
#include "files/file_system.h"
#include "text/bounded_string.h"

namespace velnora::files {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string ExecutableDirectory() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return {};
    }
    return exe.parent_path().string();
}

bool HoldsProgramFiles(const std::string& directory) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(directory) / "velnora.ini", ec) ||
           std::filesystem::is_directory(std::filesystem::path(directory) / "data", ec);
}

// The UTF-8 home directory by the rule above.
std::string ChooseHome() {
    std::string home = Environment("VELNORA_HOME");
    if (!home.empty()) {
        std::error_code ec;
        auto absolute = std::filesystem::absolute(home, ec);
        return ec ? home : absolute.lexically_normal().string();
    }
    std::string exe_dir = ExecutableDirectory();
    if (!exe_dir.empty() && HoldsProgramFiles(exe_dir)) {
        return exe_dir;
    }
    std::string data_home = Environment("XDG_DATA_HOME");
    if (data_home.empty() || data_home[0] != '/') {
        data_home = Environment("HOME") + "/.local/share";
    }
    return data_home + "/velnora";
}

}  // namespace

std::optional<ProgramHome> FindProgramHome(std::string* error) {
    std::string chosen = ChooseHome();
    while (chosen.size() > 1 && chosen.back() == '/') {
        chosen.pop_back();
    }
    auto sjis = FromDiskName(chosen);
    if (!sjis) {
        if (error != nullptr) {
            *error = "The program home " + chosen + " cannot be named in Shift_JIS";
        }
        return std::nullopt;
    }
    ProgramHome home;
    if (text::BoundedJoin(home.directory, text::kPathSize, {*sjis, kSeparatorText}) != 0 ||
        text::BoundedJoin(home.data_directory, text::kPathSize, {home.directory, "data"}) != 0) {
        if (error != nullptr) {
            *error = "The program home " + chosen + " is too long";
        }
        return std::nullopt;
    }
    std::string reason;
    if (!MakeDirectories(home.data_directory, &reason)) {
        if (error != nullptr) {
            *error = "Cannot create " + chosen + "/data: " + reason;
        }
        return std::nullopt;
    }
    return home;
}

}  // namespace velnora::files
