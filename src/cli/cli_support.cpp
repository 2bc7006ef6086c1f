#include "cli/cli_support.h"

#include "files/file_names.h"
#include "files/file_system.h"
#include "ini/ini_file.h"
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

settings::AppSettings LoadSettings(const files::ProgramHome& home, std::ostream& err) {
    std::string path = home.directory + std::string(settings::kSettingsFileName);
    ini::IniFile probe;
    std::string error;
    if (!probe.Load(path, &error)) {
        err << "velnora-cli: " << ToTerminal(path) << ": " << error
            << "; the settings read as their defaults and the file is left as it is\n";
    }
    settings::AppSettings settings;
    settings::LoadAppSettings(path, settings);
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
