#include "cli/cli_support.h"

#include "common/cp932.h"
#include "platform/file_names.h"
#include "platform/file_system.h"

namespace velnora::cli {

std::optional<platform::ProgramHome> OpenHome(std::ostream& err) {
    std::string error;
    auto home = platform::FindProgramHome(&error);
    if (!home) {
        err << "velnora-cli: " << error << "\n";
    }
    return home;
}

shell::AppSettings LoadSettings(const platform::ProgramHome& home) {
    shell::AppSettings settings;
    shell::LoadAppSettings(home.directory + std::string(shell::kSettingsFileName), settings);
    return settings;
}

std::optional<std::string> PageDirectoryArgument(std::string_view argument, std::ostream& err) {
    std::string disk(argument);
    while (disk.size() > 1 && disk.back() == '/') {
        disk.pop_back();
    }
    auto path = platform::FromDiskName(disk);
    if (!path) {
        err << "velnora-cli: " << argument << ": the name has no Shift_JIS form\n";
        return std::nullopt;
    }
    if (!platform::IsDirectory(*path)) {
        err << "velnora-cli: " << argument << ": no such directory\n";
        return std::nullopt;
    }
    return path;
}

std::string ToTerminal(std::string_view sjis) {
    return common::ShiftJisToUtf8(sjis);
}

}  // namespace velnora::cli
