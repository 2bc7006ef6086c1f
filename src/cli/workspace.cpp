#include "cli/workspace.h"

#include "cli/cli_support.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::cli {

Workspace LoadWorkspace(const files::ProgramHome& home, std::ostream& err) {
    Workspace workspace{home, LoadSettings(home, err), nullptr};
    workspace.tree = std::make_unique<store::PageTree>(home.directory);
    store::PopulateTree(*workspace.tree);
    return workspace;
}

std::optional<Workspace> OpenWorkspace(std::ostream& err) {
    auto home = OpenHome(err);
    if (!home) {
        return std::nullopt;
    }
    return LoadWorkspace(*home, err);
}

// The names of a path in the tree ("News/Site A"), separated by "/" (empty names left out);
// nothing, after a message, when the path has no Shift_JIS form.
std::optional<std::vector<std::string_view>> TreePathNames(std::string_view path, std::string& sjis,
                                                           std::ostream& err) {
    auto converted = text::Utf8ToShiftJisStrict(path);
    if (!converted) {
        err << "velnora-cli: " << path << ": the name has no Shift_JIS form\n";
        return std::nullopt;
    }
    sjis = std::move(*converted);
    std::vector<std::string_view> names;
    std::string_view rest = sjis;
    while (!rest.empty()) {
        std::size_t slash = text::FindByte(rest, '/');
        if (slash != 0) {
            names.push_back(rest.substr(0, slash));
        }
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    return names;
}

// The child of the item with the name; 0 when there is none (also below item 0).
store::ItemId ChildNamed(const store::PageTree& tree, store::ItemId item, std::string_view name) {
    store::ItemId child = item == 0 ? 0 : tree.FirstChild(item);
    while (child != 0 && tree.Find(child)->name != name) {
        child = tree.NextSibling(child);
    }
    return child;
}

// An item by its path in the tree; the empty path is the root.
std::optional<store::ItemId> FindItem(const store::PageTree& tree, std::string_view path,
                                      std::ostream& err) {
    std::string sjis;
    auto names = TreePathNames(path, sjis, err);
    if (!names) {
        return std::nullopt;
    }
    store::ItemId item = tree.root();
    for (std::string_view name : *names) {
        item = ChildNamed(tree, item, name);
        if (item == 0) {
            err << "velnora-cli: " << path << ": no such folder or page in the tree\n";
            return std::nullopt;
        }
    }
    return item;
}

std::string TreePath(const store::PageTree& tree, store::ItemId item) {
    std::string path;
    for (store::ItemId at = item; at != 0 && at != tree.root(); at = tree.Parent(at)) {
        const store::PageTree::Node* node = tree.Find(at);
        if (node == nullptr) {
            break;
        }
        path = path.empty() ? node->name : node->name + "/" + path;
    }
    return path;
}

}  // namespace velnora::cli
