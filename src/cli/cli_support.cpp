#include "cli/cli_support.h"

#include <algorithm>

#include "cli/exit_status.h"
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

bool OutputFileArgument(std::string_view file, std::optional<std::string>& path,
                        std::ostream& err) {
    path.reset();
    if (file == "-") {
        return true;
    }
    path = files::FromDiskName(file);
    if (!path) {
        err << "velnora-cli: " << file << ": the name has no Shift_JIS form\n";
        return false;
    }
    return true;
}

bool TakeWaitOption(std::vector<std::string>& args) {
    auto end = std::remove(args.begin(), args.end(), "--wait");
    bool found = end != args.end();
    args.erase(end, args.end());
    return found;
}

std::optional<WritableHome> OpenHomeForWriting(std::string_view command, bool wait,
                                               std::ostream& err, int* status) {
    *status = kExitNotDone;
    auto home = OpenHome(err);
    if (!home) {
        return std::nullopt;
    }
    auto lock =
        std::make_unique<files::WriteLock>(home->directory, "velnora-cli " + std::string(command));
    files::WriteLock::Result result = lock->TryAcquire();
    if (result == files::WriteLock::Result::kHeld && wait) {
        err << "velnora-cli: waiting for " << lock->holder()
            << " to finish writing to the program home...\n";
        err.flush();
        result = lock->Acquire();
    }
    switch (result) {
        case files::WriteLock::Result::kTaken:
            *status = kExitDone;
            return WritableHome{std::move(*home), std::move(lock)};
        case files::WriteLock::Result::kHeld:
            err << "velnora-cli: " << lock->holder()
                << " is writing to the program home; try again later, or use --wait\n";
            *status = kExitLocked;
            return std::nullopt;
        case files::WriteLock::Result::kFailed:
            break;
    }
    err << "velnora-cli: cannot take the program home's write lock: " << lock->error() << "\n";
    return std::nullopt;
}

std::string ToTerminal(std::string_view sjis) {
    std::string utf8 = text::ShiftJisToUtf8(sjis);
    std::string shown;
    shown.reserve(utf8.size());
    static constexpr char kHex[] = "0123456789abcdef";
    auto escape = [&](unsigned code) {
        shown += "\\x";
        shown += kHex[code >> 4];
        shown += kHex[code & 0x0F];
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F) {
            escape(b);
        } else if (b == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // U+0080 to U+009F: the C1 controls, which some terminals obey as well.
            escape(static_cast<unsigned char>(utf8[++i]));
        } else {
            shown += static_cast<char>(b);
        }
    }
    return shown;
}

}  // namespace velnora::cli
