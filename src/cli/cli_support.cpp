#include "cli/cli_support.h"

#include "files/file_names.h"
#include "files/file_system.h"
#include "text/cp932.h"

namespace velnora::cli {

std::optional<files::ProgramHome> OpenHome(std::ostream& err) {
    std::string error;
    auto home = files::FindProgramHome(&error);
    if (!home) {
        err << "velnora-cli: " << error << "\n";
    }
    return home;
}

settings::AppSettings LoadSettings(const files::ProgramHome& home) {
    settings::AppSettings settings;
    settings::LoadAppSettings(home.directory + std::string(settings::kSettingsFileName), settings);
    return settings;
}

std::optional<std::string> PageDirectoryArgument(std::string_view argument, std::ostream& err) {
    std::string disk(argument);
    while (disk.size() > 1 && disk.back() == '/') {
        disk.pop_back();
    }
    auto path = files::FromDiskName(disk);
    if (!path) {
        err << "velnora-cli: " << argument << ": the name has no Shift_JIS form\n";
        return std::nullopt;
    }
    if (!files::IsDirectory(*path)) {
        err << "velnora-cli: " << argument << ": no such directory\n";
        return std::nullopt;
    }
    return path;
}

std::string ToTerminal(std::string_view sjis) {
    return text::ShiftJisToUtf8(sjis);
}

}  // namespace velnora::cli
