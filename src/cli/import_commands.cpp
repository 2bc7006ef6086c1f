#include "cli/import_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/workspace.h"
#include "files/file_names.h"
#include "files/file_system.h"
#include "imports/import_run.h"
#include "imports/import_source.h"
#include "imports/tree_export.h"
#include "store/move_item.h"

namespace velnora::cli {

namespace {

// The item's path in the tree as the commands show it ("News/Site"; "/" for the root).
std::string ShownPath(const store::PageTree& tree, store::ItemId item) {
    std::string path = ToTerminal(TreePath(tree, item));
    return path.empty() ? "/" : path;
}

std::string_view FormatName(imports::SourceFormat format) {
    switch (format) {
        case imports::SourceFormat::kBookmarkHtml:
            return "a bookmark export";
        case imports::SourceFormat::kOpml:
            return "an OPML outline";
        case imports::SourceFormat::kAddressList:
            return "a list of addresses";
        case imports::SourceFormat::kLinkFolder:
            return "a folder of link files";
    }
    return "";
}

// Why the file cannot be imported, after its name.
std::string ReadProblem(const imports::ImportSource& source) {
    switch (source.error) {
        case imports::ReadError::kNone:
            break;
        case imports::ReadError::kUnreadable:
            return "cannot be read: " + source.detail;
        case imports::ReadError::kTooLarge:
            return "is larger than an import takes (" +
                   std::to_string(imports::kMaxImportFileBytes >> 20) + " MiB)";
        case imports::ReadError::kBinary:
            return "is no text file (it holds a zero byte)";
        case imports::ReadError::kOtherMarkup:
            return "is neither a bookmark export (<!DOCTYPE NETSCAPE-Bookmark-file-1>) nor an "
                   "OPML outline: a saved web page or a feed?";
        case imports::ReadError::kDamagedHtml:
            return "is a damaged bookmark export: " + source.detail;
        case imports::ReadError::kDamagedXml:
            return "is a damaged OPML outline: " + source.detail;
    }
    return {};
}

void PrintSkipped(const imports::ImportReport& report, int junk_lines, std::ostream& out) {
    struct Line {
        int count;
        std::string_view why;
    };
    using imports::SkipReason;
    const Line lines[] = {
        {report.Skipped(SkipReason::kNotWebAddress),
         "not http, https or ftp addresses (bookmarklets, place: queries)"},
        {report.Skipped(SkipReason::kDuplicate), "listed again in the same folder"},
        {report.Skipped(SkipReason::kAlreadyThere), "already a page below the folder"},
        {report.Skipped(SkipReason::kTooLong), "address or name too long for a page"},
        {report.Skipped(SkipReason::kNotMade), "could not be made"},
        {junk_lines, "lines that are not addresses"},
    };
    int total = report.SkippedTotal() + junk_lines;
    if (total == 0) {
        return;
    }
    out << "skipped " << total << ":\n";
    for (const Line& line : lines) {
        if (line.count > 0) {
            out << "  " << line.count << " " << line.why << "\n";
        }
    }
}

}  // namespace

int MoveCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = arguments;
    bool wait = TakeWaitOption(args);
    if (args.size() != 2) {
        err << "Usage: velnora-cli move [--wait] ITEM TARGET\n";
        return kExitUsage;
    }
    int status = kExitDone;
    auto home = OpenHomeForWriting("move", wait, err, &status);
    if (!home) {
        return status;
    }
    Workspace workspace = LoadWorkspace(home->home, err);
    store::PageTree& tree = *workspace.tree;
    auto item = FindItem(tree, args[0], err);
    auto target = item ? FindItem(tree, args[1], err) : std::nullopt;
    if (!item || !target) {
        return kExitUsage;
    }
    std::string from = ShownPath(tree, *item);
    store::MoveOutcome outcome = store::MoveTreeItem(tree, *item, *target);
    switch (outcome.result) {
        case store::MoveResult::kMoved:
            out << "moved " << from << " to " << ShownPath(tree, *item) << "\n";
            return kExitDone;
        case store::MoveResult::kAlreadyThere:
            out << from << " is already in " << ShownPath(tree, outcome.new_parent) << "\n";
            return kExitDone;
        case store::MoveResult::kRoot:
            err << "velnora-cli: the root of the tree does not move\n";
            break;
        case store::MoveResult::kIntoItself:
            err << "velnora-cli: " << from << " cannot move into itself or a folder below it\n";
            break;
        case store::MoveResult::kNoItem:
            err << "velnora-cli: the directory of " << from << " or of " << args[1]
                << " does not fit in a path\n";
            break;
        case store::MoveResult::kTooLong:
            err << "velnora-cli: " << from
                << " cannot move there: its path, or a path below it, would be too long\n";
            break;
        case store::MoveResult::kFailed:
            err << "velnora-cli: cannot move " << from << ": " << outcome.error << "\n";
            break;
    }
    return kExitNotDone;
}

int ImportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = arguments;
    bool wait = TakeWaitOption(args);
    if (args.empty() || args.size() > 2) {
        err << "Usage: velnora-cli import [--wait] FILE [FOLDER]\n";
        return kExitUsage;
    }
    const std::string& file = args[0];
    // The file is read whole before anything is written: a file refused changes nothing.
    imports::ImportSource source = imports::ReadImportPath(file);
    if (source.error != imports::ReadError::kNone) {
        err << "velnora-cli: " << file << " " << ReadProblem(source) << "; nothing imported\n";
        return kExitNotDone;
    }
    int status = kExitDone;
    auto home = OpenHomeForWriting("import", wait, err, &status);
    if (!home) {
        return status;
    }
    Workspace workspace = LoadWorkspace(home->home, err);
    store::PageTree& tree = *workspace.tree;
    auto folder = FindItem(tree, args.size() > 1 ? args[1] : "", err);
    if (!folder) {
        return kExitUsage;
    }
    store::TreeNode node;
    if (tree.Find(*folder)->kind == store::KIND_PAGE || tree.BuildTreeNode(*folder, node) != 0) {
        err << "velnora-cli: " << args[1] << " is a page, not a folder\n";
        return kExitUsage;
    }
    imports::ImportRequest request;
    request.tree = &tree;
    request.target = *folder;
    request.base_name = imports::ImportFolderBaseName(imports::SourceBaseName(file), node.path);
    request.rules = imports::ImportRules::kBookmarks;
    imports::ImportReport report = imports::RunImport(request, source);

    std::string where = ShownPath(tree, *folder);
    out << file << ": " << FormatName(source.format) << ", " << report.found
        << (report.found == 1 ? " entry" : " entries") << "\n";
    switch (report.failure) {
        case imports::ImportFailure::kNone:
            out << "made " << report.made << (report.made == 1 ? " page" : " pages")
                << " in the new folder " << (where == "/" ? "" : where + "/")
                << ToTerminal(report.folder_name) << "\n";
            PrintSkipped(report, source.junk_lines, out);
            return kExitDone;
        case imports::ImportFailure::kNothingNew:
            PrintSkipped(report, source.junk_lines, out);
            out << "nothing new to import below " << where << "; no folder made\n";
            return kExitNegative;
        case imports::ImportFailure::kTargetNotFound:
        case imports::ImportFailure::kFolderNotMade:
            err << "velnora-cli: cannot make the import folder in " << where << ": " << report.error
                << "; nothing imported\n";
            return kExitNotDone;
        case imports::ImportFailure::kWriteFailed:
            err << "velnora-cli: cannot write the import: " << report.error
                << "; what was made is taken back\n";
            return kExitNotDone;
    }
    return kExitNotDone;
}

int ExportTreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args.size() > 2 || (args[0].starts_with("-") && args[0] != "-")) {
        err << "Usage: velnora-cli export-tree FILE [ITEM]\n";
        return kExitUsage;
    }
    const std::string& file = args[0];
    std::optional<std::string> path;
    if (!OutputFileArgument(file, path, err)) {
        return kExitUsage;
    }
    auto workspace = OpenWorkspace(err);
    if (!workspace) {
        return kExitNotDone;
    }
    auto item = FindItem(*workspace->tree, args.size() > 1 ? args[1] : "", err);
    if (!item) {
        return kExitUsage;
    }
    std::string exported =
        imports::ExportTree(*workspace->tree, *item, imports::ExportFormatFor(file));
    if (!path) {
        out << exported;
        out.flush();
        return out ? kExitDone : kExitNotDone;
    }
    std::string error;
    if (!files::WriteFileAtomically(*path, exported, &error)) {
        err << "velnora-cli: cannot write " << file << ": " << error << "\n";
        return kExitNotDone;
    }
    return kExitDone;
}

}  // namespace velnora::cli
