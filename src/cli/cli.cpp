#include "cli/cli.h"

#include <string_view>

#include "cli/page_commands.h"
#include "cli/result_commands.h"
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
    "  check [--wait] [ITEM]\n"
    "                     check the pages of ITEM (a path in the tree such as \"News/Site A\";\n"
    "                     default: every page) and print what is new; Ctrl-C aborts\n"
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
    "\n"
    "Commands that write (check, add, process) take the program home's write lock for their\n"
    "work; while another program (the window or another velnora-cli) holds it they stop with\n"
    "status 4, or with --wait wait for it. Page text, links and server messages are printed\n"
    "with control characters other than tab and line feed escaped (\\x1b).\n"
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
    {"check", CheckCommand},   {"reload", ReloadCommand},   {"list", ListCommand},
    {"add", AddCommand},       {"process", ProcessCommand}, {"extract", ExtractCommand},
    {"search", SearchCommand}, {"export", ExportCommand},
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
