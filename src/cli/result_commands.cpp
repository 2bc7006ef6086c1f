#include "cli/result_commands.h"

#include <atomic>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/terminal_pane.h"
#include "cli/workspace.h"
#include "fetch/reload.h"
#include "files/file_names.h"
#include "html/document_head.h"
#include "html/html_file.h"
#include "html/saved_log.h"
#include "search/hit_display.h"
#include "search/normalise.h"
#include "search/past_log_search.h"
#include "settings/settings_views.h"
#include "text/cp932.h"

namespace velnora::cli {

namespace {

// The operands of a command and its flags: "--" ends the options, an argument that begins with
// "-" before it is an option ("-" alone is an operand).
struct Arguments {
    std::vector<std::string> operands;
    std::vector<std::string> options;
};

Arguments SplitArguments(const std::vector<std::string>& args) {
    Arguments split;
    bool options_ended = false;
    for (const std::string& arg : args) {
        if (!options_ended && arg == "--") {
            options_ended = true;
        } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
            split.options.push_back(arg);
        } else {
            split.operands.push_back(arg);
        }
    }
    return split;
}

// Shows the hits in the terminal's pane as they are found.
class TerminalSearch : public search::SearchObserver {
  public:
    explicit TerminalSearch(TerminalPane& pane) : pane_(pane) {}
    void SearchingPage(const store::ItemRecord&) override {}
    void PageHits(const store::ItemRecord& page, std::vector<std::string> lines) override {
        search::ShowPageHits(pane_.display(), page, lines);
    }

  private:
    TerminalPane& pane_;
};

// The search text as the program's Shift_JIS, or nothing after a message on err.
std::optional<std::string> SearchText(std::string_view argument, std::ostream& err) {
    auto text = text::Utf8ToShiftJisStrict(argument);
    if (!text) {
        err << "velnora-cli: the search text has no Shift_JIS form\n";
        return std::nullopt;
    }
    if (text->empty() || text->size() > search::kMaxSearchTextBytes) {
        err << "velnora-cli: the search text must be 1 to " << search::kMaxSearchTextBytes
            << " bytes of Shift_JIS text\n";
        return std::nullopt;
    }
    std::u16string folded;
    search::Normalise(*text, folded);
    if (folded.empty()) {
        err << "velnora-cli: the search text begins with a control character, which ends what "
               "is searched\n";
        return std::nullopt;
    }
    return text;
}

// The workspace and the item named by the second operand (the root when there is none).
struct Target {
    Workspace workspace;
    store::ItemId item = 0;
};

// The target, or nothing after a message on err with the exit status in `status`.
std::optional<Target> OpenTarget(const std::vector<std::string>& operands, int& status,
                                 std::ostream& err) {
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        status = kExitNotDone;
        return std::nullopt;
    }
    auto item = FindItem(*workspace->tree, operands.size() > 1 ? operands[1] : "", err);
    if (!item) {
        status = kExitUsage;
        return std::nullopt;
    }
    return Target{std::move(*workspace), *item};
}

}  // namespace

int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments split = SplitArguments(args);
    if (!split.options.empty() || split.operands.empty() || split.operands.size() > 2) {
        err << "Usage: velnora-cli search [--] TEXT [ITEM]\n";
        return kExitUsage;
    }
    auto text = SearchText(split.operands[0], err);
    if (!text) {
        return kExitUsage;
    }
    int status = kExitDone;
    auto target = OpenTarget(split.operands, status, err);
    if (!target) {
        return status;
    }
    Workspace& workspace = target->workspace;
    store::ItemId item = target->item;
    TerminalPane pane(out, *workspace.tree, settings::DisplaySettingsFrom(workspace.settings));
    TerminalSearch observer(pane);
    std::atomic<bool> cancel{false};
    std::size_t hits = search::SearchPastLogs(*workspace.tree, item, *text, cancel, observer);
    if (hits == 0) {
        search::ShowNotFound(pane.display().document(), *text);
        return kExitNegative;
    }
    return kExitDone;
}

int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments split = SplitArguments(args);
    bool all = false;
    bool bad_option = false;
    for (const std::string& option : split.options) {
        all = all || option == "--all";
        bad_option = bad_option || option != "--all";
    }
    if (bad_option || split.operands.empty() || split.operands.size() > 2) {
        err << "Usage: velnora-cli export [--all] FILE.html [ITEM]\n";
        return kExitUsage;
    }
    const std::string& file = split.operands[0];
    std::optional<std::string> path;
    if (!OutputFileArgument(file, path, err)) {
        return kExitUsage;
    }
    int status = kExitDone;
    auto target = OpenTarget(split.operands, status, err);
    if (!target) {
        return status;
    }
    Workspace& workspace = target->workspace;
    store::ItemId item = target->item;
    std::ostream unprinted(nullptr);  // the pane fills its document without printing it
    TerminalPane pane(unprinted, *workspace.tree,
                      settings::DisplaySettingsFrom(workspace.settings));
    fetch::ShowStoredResults(*workspace.tree, item, all, workspace.settings.n_reload, pane);
    std::string html = html::SavedLogHtml(
        pane.document(), settings::PaneAppearanceFrom(workspace.settings), html::LocalNow());
    if (!path) {
        out << html::WithCrLf(html);
        out.flush();
        return out ? kExitDone : kExitNotDone;
    }
    std::string error;
    if (!html::WriteHtmlFile(*path, html, html::kSharedFilePermissions, &error)) {
        err << "velnora-cli: cannot write " << file << ": " << error << "\n";
        return kExitNotDone;
    }
    return kExitDone;
}

}  // namespace velnora::cli
