#include "cli/schedule_commands.h"

#include <charconv>
#include <optional>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/workspace.h"
#include "ini/ini_file.h"
#include "ini/keys.h"
#include "settings/keys.h"
#include "store/settings_files.h"

namespace velnora::cli {

namespace {

constexpr std::string_view kFollowWord = "folder";

// MINUTES as given: a number of minutes within the range, or "folder".
std::optional<int> ParseMinutes(std::string_view text) {
    if (text == kFollowWord) {
        return store::keys::kFollowFolder;
    }
    int minutes = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !store::keys::kCheckInterval.range.Contains(minutes)) {
        return std::nullopt;
    }
    return minutes;
}

std::string Described(int minutes) {
    if (minutes == store::keys::kFollowFolder) {
        return "as its folder";
    }
    if (minutes == 0) {
        return "only by hand";
    }
    return "every " + std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
}

}  // namespace

int IntervalCommand(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err) {
    std::vector<std::string> args = arguments;
    bool wait = TakeWaitOption(args);
    std::optional<int> minutes;
    if (args.size() == 2) {
        minutes = ParseMinutes(args[1]);
    }
    if (!minutes) {
        err << "Usage: velnora-cli interval [--wait] ITEM MINUTES\n"
               "MINUTES: 0 (only by hand) to "
            << store::keys::kMaxCheckInterval << ", or folder (as its folder)\n";
        return kExitUsage;
    }
    int status = kExitDone;
    auto home = OpenHomeForWriting("interval", wait, err, &status);
    if (!home) {
        return status;
    }
    Workspace workspace = LoadWorkspace(home->home, err);
    auto item = FindItem(*workspace.tree, args[0], err);
    if (!item) {
        return kExitUsage;
    }
    store::TreeNode node;
    if (workspace.tree->BuildTreeNode(*item, node) != 0) {
        err << "velnora-cli: " << args[0] << ": the path is too long\n";
        return kExitNotDone;
    }
    std::string shown = args[0];
    if (node.kind == store::KIND_ROOT) {
        // The data directory's interval is the program's, in velnora.ini.
        if (*minutes == store::keys::kFollowFolder) {
            err << "velnora-cli: the data directory has no folder to follow\n";
            return kExitUsage;
        }
        ini::IniFile ini;
        if (!ini.Load(workspace.settings_path()) ||
            (ini::Write(ini, settings::keys::kCheckInterval, *minutes),
             !ini.Save(workspace.settings_path()))) {
            err << "velnora-cli: cannot write velnora.ini\n";
            return kExitNotDone;
        }
        shown = "data";
    } else if (store::WriteCheckInterval(node.kind == store::KIND_PAGE, node.path, *minutes) != 0) {
        err << "velnora-cli: cannot write the settings of " << args[0] << "\n";
        return kExitNotDone;
    }
    out << shown << ": " << Described(*minutes) << "\n";
    return kExitDone;
}

}  // namespace velnora::cli
