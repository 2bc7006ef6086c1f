#include "cli/cli.h"

#include <string_view>

#include "cli/page_commands.h"
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
    "  check [ITEM]       check the pages of ITEM (a path in the tree such as \"News/Site A\";\n"
    "                     default: every page) and print what is new; Ctrl-C aborts\n"
    "  reload [--all] [ITEM]\n"
    "                     print the stored results without fetching (--all: the latest\n"
    "                     update text of every page)\n"
    "  list               print the tree with each page's last result and URL\n"
    "  add ITEM URL       add a page (e.g. \"News/Site A\" http://example.com/)\n"
    "  process PAGE_DIR   check the response stored in PAGE_DIR/htmltmp.txt as a check does\n"
    "                     after a fetch, and print the outcome (e.g. \"1 Updated\")\n"
    "  extract PAGE_DIR   print the text the page's stored response gives with its current\n"
    "                     settings, touching no file\n"
    "\n"
    "The program home (velnora.ini, data, history) is $VELNORA_HOME when set, else the\n"
    "directory of the executable when it holds velnora.ini or data, else\n"
    "$XDG_DATA_HOME/velnora.\n";

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct CommandEntry {
    std::string_view name;
    Command run;
};

constexpr CommandEntry kCommands[] = {
    {"check", CheckCommand}, {"reload", ReloadCommand},   {"list", ListCommand},
    {"add", AddCommand},     {"process", ProcessCommand}, {"extract", ExtractCommand},
};

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        out << kUsage;
        return kExitOk;
    }
    if (first == "--version") {
        out << text::kNameAndVersion << "\n";
        return kExitOk;
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
