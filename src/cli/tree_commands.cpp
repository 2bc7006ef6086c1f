#include "cli/tree_commands.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <optional>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/terminal_pane.h"
#include "fetch/check_run.h"
#include "fetch/reload.h"
#include "fetch/traffic_stats.h"
#include "files/file_names.h"
#include "files/file_system.h"
#include "net/qt_event_loop.h"
#include "net/socket_transport.h"
#include "settings/settings_views.h"
#include "store/item_names.h"
#include "store/page_files.h"
#include "store/page_tree.h"
#include "store/settings_files.h"
#include "text/bounded_string.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::cli {

namespace {

// The home, its settings and its tree, loaded for one command.
struct Workspace {
    files::ProgramHome home;
    settings::AppSettings settings;
    std::unique_ptr<store::PageTree> tree;

    std::string settings_path() const {
        return home.directory + std::string(settings::kSettingsFileName);
    }
};

std::optional<Workspace> OpenWorkspace(std::ostream& err) {
    auto home = OpenHome(err);
    if (!home) {
        return std::nullopt;
    }
    Workspace workspace{*home, LoadSettings(*home, err), nullptr};
    workspace.tree = std::make_unique<store::PageTree>(home->directory);
    store::PopulateTree(*workspace.tree);
    return workspace;
}

// An item by its path in the tree ("News/Site A"), names separated by "/"; the empty path is
// the root.
std::optional<store::ItemId> FindItem(const store::PageTree& tree, std::string_view path,
                                      std::ostream& err) {
    auto sjis = text::Utf8ToShiftJisStrict(path);
    if (!sjis) {
        err << "velnora-cli: " << path << ": the name has no Shift_JIS form\n";
        return std::nullopt;
    }
    store::ItemId item = tree.root();
    std::string_view rest = *sjis;
    while (!rest.empty()) {
        std::size_t slash = text::FindByte(rest, '/');
        std::string_view name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (name.empty()) {
            continue;
        }
        store::ItemId child = tree.FirstChild(item);
        while (child != 0 && tree.Find(child)->name != name) {
            child = tree.NextSibling(child);
        }
        if (child == 0) {
            err << "velnora-cli: " << path << ": no such folder or page in the tree\n";
            return std::nullopt;
        }
        item = child;
    }
    return item;
}

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

int CheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 1 || (!args.empty() && args[0].starts_with("-"))) {
        err << "Usage: velnora-cli check [ITEM]\n";
        return kExitUsage;
    }
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        return kExitFailure;
    }
    auto item = FindItem(*workspace->tree, args.empty() ? "" : args[0], err);
    if (!item) {
        return kExitUsage;
    }

    static int argc = 1;
    static char name[] = "velnora-cli";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }

    fetch::TrafficStats stats;
    stats.LoadStatistics(workspace->settings_path());
    net::QtEventLoop loop;
    net::SocketTransport transport;
    TerminalPane pane(out, *workspace->tree, settings::DisplaySettingsFrom(workspace->settings));
    {
        fetch::CheckRun run(*workspace->tree, transport, loop, pane, stats);
        InterruptWatch interrupt(run);
        run.StartCheck(*item, settings::CheckSettingsFrom(workspace->settings));
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
            out << ToTerminal(pane.status_text()) << "\n";
        }
    }
    stats.SaveStatistics(workspace->settings_path());
    return kExitOk;
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
        return kExitFailure;
    }
    auto item = FindItem(*workspace->tree, rest.empty() ? "" : rest[0], err);
    if (!item) {
        return kExitUsage;
    }
    TerminalPane pane(out, *workspace->tree, settings::DisplaySettingsFrom(workspace->settings));
    fetch::ShowStoredResults(*workspace->tree, *item, all, workspace->settings.n_reload, pane);
    return kExitOk;
}

int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "Usage: velnora-cli list\n";
        return kExitUsage;
    }
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        return kExitFailure;
    }
    out << "data/\n";
    ListItems(*workspace->tree, workspace->tree->root(), 1, out);
    return kExitOk;
}

int AddCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "Usage: velnora-cli add ITEM URL\n";
        return kExitUsage;
    }
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        return kExitFailure;
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
    auto folder = FindItem(*workspace->tree, folder_path, err);
    if (!folder) {
        return kExitUsage;
    }
    store::ItemRecord parent;
    if (workspace->tree->Find(*folder)->kind == store::KIND_PAGE ||
        workspace->tree->BuildTreeNode(*folder, parent.node) != 0) {
        err << "velnora-cli: " << folder_path << " is no folder\n";
        return kExitUsage;
    }
    auto free_name = store::FreeItemName(parent.node.path, *name, store::kPageSuffix);
    std::string directory;
    if (!free_name || text::BoundedJoin(directory, text::kPathSize,
                                        {parent.node.path, files::kSeparatorText, *free_name,
                                         store::kPageSuffix}) != 0) {
        err << "velnora-cli: the page name is too long or every numbered name is taken\n";
        return kExitFailure;
    }
    std::string error;
    if (!files::MakeDirectory(directory, &error)) {
        err << "velnora-cli: cannot create the page: " << error << "\n";
        return kExitFailure;
    }
    store::PageSettings settings;
    settings.url = *url;
    settings.use_old_log = 1;
    if (store::WritePageSettings(directory, settings, &error) != 0) {
        // A page without its settings is no page: the new directory goes again.
        files::RemoveEmptyDirectory(directory);
        err << "velnora-cli: cannot write the page's site.ini: " << error << "\n";
        return kExitNotDone;
    }
    std::string shown(folder_path);
    if (!shown.empty()) {
        shown += "/";
    }
    out << "added " << shown << ToTerminal(*free_name) << "\n";
    return kExitOk;
}

}  // namespace velnora::cli
