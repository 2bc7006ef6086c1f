#pragma once

// What the commands that work on the page tree load: the home, its settings and its tree, and
// items named by their path in the tree.

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "files/program_home.h"
#include "settings/app_settings.h"
#include "store/page_tree.h"

namespace velnora::cli {

// The home, its settings and its tree, loaded for one command.
struct Workspace {
    files::ProgramHome home;
    settings::AppSettings settings;
    std::unique_ptr<store::PageTree> tree;

    std::string settings_path() const {
        return home.directory + std::string(settings::kSettingsFileName);
    }
};

// The settings and tree of a home already opened (a refused velnora.ini is named on err).
Workspace LoadWorkspace(const files::ProgramHome& home, std::ostream& err);
// The workspace, or nothing after a message on err.
std::optional<Workspace> OpenWorkspace(std::ostream& err);

// The names of a path in the tree ("News/Site A"), separated by "/" (empty names left out), with
// sjis holding the path's Shift_JIS form they point into; nothing, after a message on err, when
// the path has no Shift_JIS form.
std::optional<std::vector<std::string_view>> TreePathNames(std::string_view path, std::string& sjis,
                                                           std::ostream& err);
// The child of the item with the name; 0 when there is none (also below item 0).
store::ItemId ChildNamed(const store::PageTree& tree, store::ItemId item, std::string_view name);

// The item's path in the tree ("News/Site A", Shift_JIS; empty for the root), as FindItem takes
// it.
std::string TreePath(const store::PageTree& tree, store::ItemId item);

// An item by its path in the tree ("News/Site A"), names separated by "/"; the empty path is
// the root. Nothing, after a message on err, when there is no such item.
std::optional<store::ItemId> FindItem(const store::PageTree& tree, std::string_view path,
                                      std::ostream& err);

}  // namespace velnora::cli
