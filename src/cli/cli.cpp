#include "cli/cli.h"

#include <string_view>

namespace velnora::cli {

namespace {

constexpr std::string_view kVersion = "Velnora v0.42";

constexpr std::string_view kUsage =
    "Usage: velnora-cli [--help | --version]\n"
    "\n"
    "Velnora watches a tree of web pages and reports, line by line, the text that is new on\n"
    "each page since its last check. This is its command line; the window is velnora.\n"
    "\n"
    "Options:\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "The program home (velnora.ini, data, history) is $VELNORA_HOME when set, else the\n"
    "directory of the executable when it holds velnora.ini or data, else\n"
    "$XDG_DATA_HOME/velnora.\n";

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
        out << kVersion << "\n";
        return kExitOk;
    }
    err << "velnora-cli: unknown argument '" << first << "'\n"
        << "Try 'velnora-cli --help' for the commands.\n";
    return kExitUsage;
}

}  // namespace velnora::cli
