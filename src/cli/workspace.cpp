#include "cli/workspace.h"

#include "cli/cli_support.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::cli {

std::optional<Workspace> OpenWorkspace(std::ostream& err) {
    auto home = OpenHome(err);
    if (!home) {
        return std::nullopt;
    }
    Workspace workspace{*home, LoadSettings(*home), nullptr};
    workspace.tree = std::make_unique<store::PageTree>(home->directory);
    store::PopulateTree(*workspace.tree);
    return workspace;
}

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

}  // namespace velnora::cli
