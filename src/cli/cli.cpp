#include "cli/cli.h"

#include <string_view>

#include "cli/import_commands.h"
#include "cli/page_commands.h"
#include "cli/result_commands.h"
#include "cli/schedule_commands.h"
#include "cli/tree_commands.h"
#include "text/version.h"

namespace velnora::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: velnora-cli COMMAND [ARGUMENTS]\n"
    "       velnora-cli --help | --version\n"
    "\n"
    "Velnora watches a tree of web pages and reports, line by line, the text that is new on\n"
    "each page since its last check. This is its command line; the window is velnora.\n"
    "\n"
    "Commands:\n"
    "  check [--wait] [--due] [--json] [--notify-command CMD] [ITEM]\n"
    "                     check the pages of ITEM (a path in the tree such as \"News/Site A\";\n"
    "                     default: every page) and print what is new; Ctrl-C aborts\n"
    "                     --due: only the pages whose interval has passed, within the active\n"
    "                       hours (nothing is printed when none is due)\n"
    "                     --json: instead, one JSON object a line for each page checked:\n"
    "                       name, path, url, code (result.ini's), result (no_change,\n"
    "                       not_modified, updated, first_check or error), lines (the new\n"
    "                       lines as the pane renders them), error (text or null)\n"
    "                     --notify-command CMD: after a check that found updates, runs\n"
    "                       /bin/sh -c CMD once with a line for each updated page on its\n"
    "                       standard input: the path, a tab, the address, a tab, the number\n"
    "                       of new lines; its exit status is not looked at\n"
    "  interval [--wait] ITEM MINUTES\n"
    "                     check ITEM (a page, a folder, or / for every page that follows\n"
    "                     the data directory) every MINUTES minutes; 0: only by hand;\n"
    "                     folder: as its folder\n"
    "  reload [--all] [ITEM]\n"
    "                     print the stored results without fetching (--all: the latest\n"
    "                     update text of every page)\n"
    "  search [--] TEXT [ITEM]\n"
    "                     print the lines of the stored update texts of ITEM (default: every\n"
    "                     page) that hold TEXT, without regard to letter case and width\n"
    "  export [--all] FILE.html [ITEM]\n"
    "                     write what reload prints as an HTML document (FILE - : standard\n"
    "                     output)\n"
    "  list               print the tree with each page's last result and URL\n"
    "  add [--wait] ITEM URL\n"
    "                     add a page (e.g. \"News/Site A\" http://example.com/), making the\n"
    "                     folders of its path that are missing\n"
    "  process [--wait] PAGE_DIR\n"
    "                     check the response stored in PAGE_DIR/htmltmp.txt as a check does\n"
    "                     after a fetch, and print the outcome (e.g. \"1 Updated\")\n"
    "  extract PAGE_DIR   print the text the page's stored response gives with its current\n"
    "                     settings, touching no file\n"
    "  move [--wait] ITEM TARGET\n"
    "                     move a page or folder (with everything in it) into the folder\n"
    "                     TARGET, or beside the page TARGET; \"\" or / is the root\n"
    "  import [--wait] FILE [FOLDER]\n"
    "                     add the pages of a bookmark export (the HTML file browsers write),\n"
    "                     an OPML outline, a list of addresses one a line, or a directory\n"
    "                     of .url files, in a new folder under FOLDER (default: the root)\n"
    "                     named after FILE; only http, https and ftp addresses that have no\n"
    "                     page below FOLDER yet\n"
    "  export-tree FILE [ITEM]\n"
    "                     write the tree (or ITEM) as a bookmark export, or as OPML for a\n"
    "                     FILE ending in .opml (FILE - : standard output)\n"
    "\n"
    "Commands that write (check, interval, add, process, move, import) take the program\n"
    "home's write lock for their work; while another program (the window or another\n"
    "velnora-cli) holds it they stop with status 4, or with --wait wait for it. Page text,\n"
    "links and server messages are printed with control characters other than tab and line\n"
    "feed escaped (\\x1b).\n"
    "\n"
    "The program home (velnora.ini, data, history) is $VELNORA_HOME when set, else the\n"
    "directory of the executable when it holds velnora.ini or data, else\n"
    "$XDG_DATA_HOME/velnora.\n"
    "\n";

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct CommandEntry {
    std::string_view name;
    Command run;
};

constexpr CommandEntry kCommands[] = {
    {"check", CheckCommand},   {"reload", ReloadCommand},          {"list", ListCommand},
    {"add", AddCommand},       {"process", ProcessCommand},        {"extract", ExtractCommand},
    {"search", SearchCommand}, {"export", ExportCommand},          {"move", MoveCommand},
    {"import", ImportCommand}, {"export-tree", ExportTreeCommand}, {"interval", IntervalCommand},
};

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage << kExitStatusHelp;
        return kExitUsage;
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        out << kUsage << kExitStatusHelp;
        return kExitDone;
    }
    if (first == "--version") {
        out << text::kNameAndVersion << "\n";
        return kExitDone;
    }
    for (const CommandEntry& command : kCommands) {
        if (first == command.name) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            return command.run(rest, out, err);
        }
    }
    err << "velnora-cli: unknown argument '" << first << "'\n"
        << "Try 'velnora-cli --help' for the commands.\n";
    return kExitUsage;
}

}  // namespace velnora::cli
