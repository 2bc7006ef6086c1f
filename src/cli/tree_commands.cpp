#include "cli/tree_commands.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "cli/check_report.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/terminal_pane.h"
#include "cli/workspace.h"
#include "fetch/check_run.h"
#include "fetch/page_walk.h"
#include "fetch/reload.h"
#include "fetch/schedule.h"
#include "fetch/traffic_stats.h"
#include "files/file_names.h"
#include "files/file_system.h"
#include "net/qt_event_loop.h"
#include "net/socket_transport.h"
#include "settings/settings_views.h"
#include "store/item_directory.h"
#include "store/item_names.h"
#include "store/page_files.h"
#include "store/page_tree.h"
#include "store/settings_files.h"
#include "text/bounded_string.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::cli {

namespace {

// Ctrl-C during a check aborts it, as the abort command does: the signal handler writes to a
// pipe that the event loop watches.
int interrupt_pipe[2] = {-1, -1};

void OnInterrupt(int) {
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(interrupt_pipe[1], &byte, 1);
}

class InterruptWatch {
  public:
    explicit InterruptWatch(fetch::CheckRun& run) {
        if (::pipe(interrupt_pipe) != 0) {
            return;
        }
        notifier_ = std::make_unique<QSocketNotifier>(interrupt_pipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [&run] {
            char byte;
            [[maybe_unused]] ssize_t got = ::read(interrupt_pipe[0], &byte, 1);
            run.AbortCheck();
        });
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptWatch() {
        if (notifier_) {
            ::sigaction(SIGINT, &previous_, nullptr);
            notifier_.reset();
            ::close(interrupt_pipe[0]);
            ::close(interrupt_pipe[1]);
        }
    }

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_ {};
};

// What velnora-cli check does besides checking.
struct CheckOptions {
    bool due = false;   // only the pages that are due
    bool json = false;  // JSON lines on standard output instead of the pane
    std::optional<std::string> notify_command;
};

// Whether a URL holds a byte that cannot be stored in a settings line as given: a line break
// or another control byte.
bool HasControlByte(std::string_view url) {
    return std::any_of(url.begin(), url.end(), [](char c) {
        auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

// Directories made by a command, removed again (newest first) unless it succeeds.
struct MadeDirectories {
    std::vector<std::string> paths;
    ~MadeDirectories() {
        for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
            files::RemoveEmptyDirectory(*it);
        }
    }
};

// The directory of the folder at the path in the tree ("News/Sites"), making the folders that
// are missing (their directories are added to made); the empty path is the data directory.
// Nothing, after a message and with the exit status in status, when it cannot be had.
std::optional<std::string> MakeFolderPath(const store::PageTree& tree, std::string_view path,
                                          MadeDirectories& made, int& status, std::ostream& err) {
    status = kExitUsage;
    std::string sjis;
    auto names = TreePathNames(path, sjis, err);
    store::TreeNode node;
    if (!names || tree.BuildTreeNode(tree.root(), node) != 0) {
        return std::nullopt;
    }
    store::ItemId item = tree.root();
    std::string directory = node.path;
    for (std::string_view name : *names) {
        store::ItemId child = ChildNamed(tree, item, name);
        if (child != 0) {
            if (tree.Find(child)->kind != store::KIND_FOLDER ||
                tree.BuildTreeNode(child, node) != 0) {
                err << "velnora-cli: " << ToTerminal(name) << " in " << path
                    << " is a page, not a folder\n";
                return std::nullopt;
            }
            item = child;
            directory = node.path;
            continue;
        }
        if (!store::IsValidItemName(name)) {
            err << "velnora-cli: '" << ToTerminal(name) << "' cannot be a folder name\n";
            return std::nullopt;
        }
        std::string made_path;
        std::string error;
        switch (store::CreateItemDirectory(directory, name, store::KIND_FOLDER, made_path, error)) {
            case store::ItemDirectoryResult::kDone:
                break;
            case store::ItemDirectoryResult::kTooLong:
                err << "velnora-cli: the folder path " << path << " is too long\n";
                status = kExitNotDone;
                return std::nullopt;
            case store::ItemDirectoryResult::kFailed:
                err << "velnora-cli: cannot create the folder " << ToTerminal(name) << ": " << error
                    << "\n";
                status = kExitNotDone;
                return std::nullopt;
        }
        made.paths.push_back(made_path);
        item = 0;  // the folders below a new one are new as well
        directory = made_path;
    }
    return directory;
}

std::string ResultName(int code) {
    switch (code) {
        case store::RESULT_NONE:
            return "never checked";
        case store::RESULT_NO_CHANGE:
            return "no change";
        case store::RESULT_NOT_MODIFIED:
            return "not modified";
        case store::RESULT_UPDATED:
            return "updated";
        case store::RESULT_ERROR:
            return "error";
        default:
            return "code " + std::to_string(code);
    }
}

void ListItems(const store::PageTree& tree, store::ItemId parent, int depth, std::ostream& out) {
    for (store::ItemId item = tree.FirstChild(parent); item != 0; item = tree.NextSibling(item)) {
        const store::PageTree::Node* node = tree.Find(item);
        std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        std::string off = node->disabled ? "  (automatic check off)" : "";
        if (node->kind == store::KIND_FOLDER) {
            out << indent << ToTerminal(node->name) << "/" << off << "\n";
            ListItems(tree, item, depth + 1, out);
            continue;
        }
        store::ItemRecord record;
        tree.BuildTreeNode(item, record.node);
        store::ReadPageSettings(record.node.path, record.settings);
        int code = store::ReadResultCode(record.node.path);
        out << indent << ToTerminal(node->name) << "  [" << code << " " << ResultName(code) << "]  "
            << ToTerminal(record.settings.url) << off << "\n";
    }
}

}  // namespace

int CheckCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = arguments;
    bool wait = TakeWaitOption(args);
    CheckOptions options;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--due") {
            options.due = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--notify-command" && i + 1 < args.size()) {
            options.notify_command = args[++i];
        } else if (arg.starts_with("--notify-command=")) {
            options.notify_command = arg.substr(std::string_view("--notify-command=").size());
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.size() > 1 || (!rest.empty() && rest[0].starts_with("-")) ||
        (options.notify_command && options.notify_command->empty())) {
        err << "Usage: velnora-cli check [--wait] [--due] [--json] [--notify-command CMD] "
               "[ITEM]\n";
        return kExitUsage;
    }
    int status = kExitDone;
    auto home = OpenHomeForWriting("check", wait, err, &status);
    if (!home) {
        return status;
    }
    // The tree is read once the lock is held: no other program changes it during the check.
    Workspace workspace = LoadWorkspace(home->home, err);
    auto item = FindItem(*workspace.tree, rest.empty() ? "" : rest[0], err);
    if (!item) {
        return kExitUsage;
    }
    std::unordered_set<store::ItemId> due;
    if (options.due) {
        fetch::Schedule schedule;
        schedule.Build(*workspace.tree, workspace.settings.check_interval);
        for (store::ItemId page : schedule.DuePages(
                 fetch::SystemClock(), settings::ActiveHoursFrom(workspace.settings))) {
            due.insert(page);
        }
        if (due.empty()) {
            return kExitDone;  // nothing is due: nothing to say
        }
    }

    static int argc = 1;
    static char name[] = "velnora-cli";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }

    fetch::TrafficStats stats;
    stats.LoadStatistics(workspace.settings_path());
    net::QtEventLoop loop;
    net::SocketTransport transport;
    // With --json standard output holds the JSON lines alone: the pane goes nowhere.
    std::ostream nowhere(nullptr);
    CheckReport report(options.json ? nowhere : out, *workspace.tree,
                       settings::DisplaySettingsFrom(workspace.settings));
    {
        fetch::CheckRun run(*workspace.tree, transport, loop, report, stats);
        InterruptWatch interrupt(run);
        fetch::CheckSettings check = settings::CheckSettingsFrom(workspace.settings);
        if (options.due) {
            run.StartBackgroundCheck(*item, check,
                                     [&due](store::ItemId page) { return due.count(page) != 0; });
        } else {
            run.StartCheck(*item, check);
        }
        if (run.running()) {
            QEventLoop events;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (!run.running()) {
                    events.quit();
                }
            });
            poll.start(20);
            events.exec();
            if (!options.json) {
                out << ToTerminal(report.status_text()) << "\n";
            }
        }
    }
    if (std::string error; !stats.SaveStatistics(workspace.settings_path(), &error)) {
        err << "velnora-cli: " << ToTerminal(workspace.settings_path()) << ": " << ToTerminal(error)
            << "; the traffic statistics of this check are not saved\n";
    }
    // Other programs may write again while the command runs.
    home->lock.reset();
    if (options.json) {
        report.WriteJsonLines(out);
    }
    if (options.notify_command) {
        std::string updated = report.UpdatedPages();
        if (!updated.empty()) {
            out.flush();
            RunNotifyCommand(*options.notify_command, updated, options.json);
        }
    }
    return report.error_lines() > 0 ? kExitNegative : kExitDone;
}

int ReloadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool all = false;
    std::vector<std::string> rest;
    for (const std::string& arg : args) {
        if (arg == "--all") {
            all = true;
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.size() > 1 || (!rest.empty() && rest[0].starts_with("-"))) {
        err << "Usage: velnora-cli reload [--all] [ITEM]\n";
        return kExitUsage;
    }
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        return kExitNotDone;
    }
    auto item = FindItem(*workspace->tree, rest.empty() ? "" : rest[0], err);
    if (!item) {
        return kExitUsage;
    }
    TerminalPane pane(out, *workspace->tree, settings::DisplaySettingsFrom(workspace->settings));
    fetch::ShowStoredResults(*workspace->tree, *item, all, workspace->settings.n_reload, pane);
    return kExitDone;
}

int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "Usage: velnora-cli list\n";
        return kExitUsage;
    }
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        return kExitNotDone;
    }
    out << "data/\n";
    ListItems(*workspace->tree, workspace->tree->root(), 1, out);
    return kExitDone;
}

int AddCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = arguments;
    bool wait = TakeWaitOption(args);
    if (args.size() != 2) {
        err << "Usage: velnora-cli add [--wait] ITEM URL\n";
        return kExitUsage;
    }
    std::string_view path = args[0];
    while (!path.empty() && path.back() == '/') {
        path.remove_suffix(1);
    }
    std::size_t slash = path.rfind('/');
    std::string_view folder_path = slash == std::string_view::npos ? "" : path.substr(0, slash);
    std::string_view name_utf8 = slash == std::string_view::npos ? path : path.substr(slash + 1);
    auto name = text::Utf8ToShiftJisStrict(name_utf8);
    auto url = text::Utf8ToShiftJisStrict(args[1]);
    if (!name || !store::IsValidItemName(*name)) {
        err << "velnora-cli: '" << name_utf8 << "' cannot be a page name\n";
        return kExitUsage;
    }
    if (!url || url->size() >= text::kUrlSize) {
        err << "velnora-cli: the URL must be at most 2100 bytes of Shift_JIS text\n";
        return kExitUsage;
    }
    if (HasControlByte(*url)) {
        err << "velnora-cli: the URL holds a line break or another control character; it would "
               "not be stored as given\n";
        return kExitUsage;
    }
    int status = kExitDone;
    auto home = OpenHomeForWriting("add", wait, err, &status);
    if (!home) {
        return status;
    }
    Workspace workspace = LoadWorkspace(home->home, err);
    // What is made is taken back when a later step fails: nothing stays changed.
    MadeDirectories made;
    auto folder = MakeFolderPath(*workspace.tree, folder_path, made, status, err);
    if (!folder) {
        return status;
    }
    auto free_name = store::FreeItemName(*folder, *name, store::kPageSuffix);
    std::string directory;
    if (!free_name ||
        text::BoundedJoin(directory, text::kPathSize,
                          {*folder, files::kSeparatorText, *free_name, store::kPageSuffix}) != 0 ||
        directory.size() > fetch::kMaxCheckedPagePath) {
        err << "velnora-cli: the page's path would be too long, or every numbered name is "
               "taken\n";
        return kExitNotDone;
    }
    std::string error;
    if (!files::MakeDirectory(directory, &error)) {
        err << "velnora-cli: cannot create the page: " << error << "\n";
        return kExitNotDone;
    }
    made.paths.push_back(directory);
    store::PageSettings settings;
    settings.url = *url;
    settings.use_old_log = 1;
    // The new directory is taken back (made) when site.ini cannot be written: a page without
    // its settings is no page.
    if (store::WritePageSettings(directory, settings, &error) != 0) {
        err << "velnora-cli: cannot write the page's site.ini: " << error << "\n";
        return kExitNotDone;
    }
    made.paths.clear();
    std::string shown(folder_path);
    if (!shown.empty()) {
        shown += "/";
    }
    out << "added " << shown << ToTerminal(*free_name) << "\n";
    return kExitDone;
}

}  // namespace velnora::cli
