#include "imports/import_run.h"

#include <cerrno>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "files/file_names.h"
#include "files/file_system.h"
#include "imports/item_names.h"
#include "imports/web_address.h"
#include "store/import_folder.h"
#include "store/item_directory.h"
#include "store/item_names.h"
#include "store/page_files.h"
#include "store/settings_files.h"
#include "text/bounded_string.h"

namespace velnora::imports {

namespace {

using store::kNewFolderName;
using store::kNewPageName;
constexpr int kProgressEvery = 10;
// Separates the parts of the keys below; no name or address holds it.
constexpr char kKeySeparator = '\x1F';

std::string FolderKey(const std::vector<std::string>& folders) {
    std::string key;
    for (const std::string& folder : folders) {
        key += folder;
        key += kKeySeparator;
    }
    return key;
}

// The addresses of the pages below an item.
std::unordered_set<std::string> AddressesBelow(const store::PageTree& tree, store::ItemId item) {
    std::unordered_set<std::string> addresses;
    std::vector<store::ItemId> pending{item};
    while (!pending.empty()) {
        store::ItemId next = pending.back();
        pending.pop_back();
        for (store::ItemId child = tree.FirstChild(next); child != 0;
             child = tree.NextSibling(child)) {
            pending.push_back(child);
        }
        store::TreeNode node;
        if (tree.Find(next)->kind != store::KIND_PAGE || tree.BuildTreeNode(next, node) != 0) {
            continue;
        }
        store::PageSettings settings;
        store::ReadPageSettings(node.path, settings);
        addresses.insert(settings.url);
    }
    return addresses;
}

// What the import wrote, taken back when it fails: files first, then directories, newest first.
struct Made {
    std::vector<std::string> directories;
    std::vector<std::string> files;

    void TakeBack() {
        for (const std::string& file : files) {
            files::RemoveFile(file);
        }
        for (auto it = directories.rbegin(); it != directories.rend(); ++it) {
            files::RemoveEmptyDirectory(*it);
        }
        files.clear();
        directories.clear();
    }
};

// An entry that passed the checks, with its address as stored.
struct Planned {
    const ImportEntry* entry;
    std::string address;
};

class Importer {
  public:
    Importer(const ImportRequest& request, ImportReport& report)
        : request_(request), report_(report) {}

    // Decides which entries make pages; the skipped ones are counted.
    std::vector<Planned> Plan(const ImportSource& source, store::ItemId target) {
        bool bookmarks = request_.rules == ImportRules::kBookmarks;
        std::unordered_set<std::string> existing;
        if (bookmarks) {
            existing = AddressesBelow(*request_.tree, target);
        }
        std::unordered_set<std::string> listed;
        std::vector<Planned> planned;
        for (const ImportEntry& entry : source.entries) {
            if (entry.folder_only) {
                if (!bookmarks) {
                    planned.push_back({&entry, {}});
                }
                continue;
            }
            ++report_.found;
            if (bookmarks && !IsWebAddress(TrimBlanks(entry.address))) {
                Skip(SkipReason::kNotWebAddress);
                continue;
            }
            std::string address = StoredAddress(entry.address);
            if (address.size() >= text::kUrlSize) {
                Skip(SkipReason::kTooLong);
                continue;
            }
            if (bookmarks) {
                if (existing.count(address) != 0) {
                    Skip(SkipReason::kAlreadyThere);
                    continue;
                }
                if (!listed.insert(FolderKey(entry.folders) + address).second) {
                    Skip(SkipReason::kDuplicate);
                    continue;
                }
            }
            planned.push_back({&entry, std::move(address)});
        }
        return planned;
    }

    // Makes the import folder under the directory; false when it cannot be made.
    bool MakeImportFolder(std::string_view directory) {
        auto path = store::FreeImportFolder(directory, request_.base_name, &report_.folder_name);
        if (!path) {
            report_.error = files::SystemErrorText(ENAMETOOLONG);
            return false;
        }
        if (!files::MakeDirectory(*path, &report_.error)) {
            return false;
        }
        report_.folder_path = *path;
        made_.directories.push_back(*path);
        return true;
    }

    // Makes the folders and pages; false after a failed write under the bookmark rules.
    bool Write(const std::vector<Planned>& planned) {
        int total = 0;
        for (const Planned& plan : planned) {
            total += plan.entry->folder_only ? 0 : 1;
        }
        int tried = 0;
        for (const Planned& plan : planned) {
            std::optional<std::string> folder = Folder(plan.entry->folders);
            if (failed_) {
                return false;
            }
            if (plan.entry->folder_only) {
                continue;
            }
            ++tried;
            if (!folder) {
                Skip(folder_failure_);
            } else if (!Page(*folder, *plan.entry, plan.address)) {
                return false;
            }
            if (request_.progress && tried % kProgressEvery == 0) {
                request_.progress(tried, total);
            }
        }
        return true;
    }

    void TakeBack() { made_.TakeBack(); }

  private:
    bool Bookmarks() const { return request_.rules == ImportRules::kBookmarks; }

    void Skip(SkipReason reason) { ++report_.skipped[static_cast<std::size_t>(reason)]; }

    void Fail(std::string error) {
        report_.failure = ImportFailure::kWriteFailed;
        report_.error = std::move(error);
        failed_ = true;
    }

    // The directory of the entry's folder chain, made as needed; nothing when it cannot be (a
    // name without room, a directory the system refuses), with the reason in folder_failure_.
    std::optional<std::string> Folder(const std::vector<std::string>& folders) {
        std::string directory = report_.folder_path;
        std::string key;
        for (const std::string& name : folders) {
            key += name;
            key += kKeySeparator;
            auto known = folders_.find(key);
            if (known == folders_.end()) {
                known = folders_.emplace(key, MakeFolder(directory, name)).first;
            }
            if (!known->second.directory) {
                folder_failure_ = known->second.failure;
                return std::nullopt;
            }
            directory = *known->second.directory;
        }
        return directory;
    }

    struct FolderPlace {
        std::optional<std::string> directory;
        SkipReason failure = SkipReason::kNotMade;  // why there is none
    };

    FolderPlace MakeFolder(const std::string& parent, const std::string& title) {
        std::string name = ItemNameFromTitle(title, {}, kNewFolderName, FolderNameRoom(parent));
        if (name.empty()) {
            return {std::nullopt, SkipReason::kTooLong};
        }
        std::string path;
        bool made = false;
        std::string error;
        if (!store::MakeFolderDirectory(parent, name, path, made, &error)) {
            if (Bookmarks()) {
                Fail(error);
            }
            return {};
        }
        if (made) {
            made_.directories.push_back(path);
        }
        return {path};
    }

    // Makes one page; false after a failed write under the bookmark rules.
    bool Page(const std::string& folder, const ImportEntry& entry, const std::string& address) {
        if (Bookmarks() && !placed_.insert(folder + kKeySeparator + address).second) {
            // Two folders of the file that became one folder on disk.
            Skip(SkipReason::kDuplicate);
            return true;
        }
        NameRoom room = PageNameRoom(folder);
        std::string base = ItemNameFromTitle(entry.title, entry.address, kNewPageName, room);
        std::string name = FreeName(folder, base, room);
        if (name.empty()) {
            Skip(SkipReason::kTooLong);
            return true;
        }
        std::string path;
        std::string error;
        if (!store::MakeImportedPage(folder, name, address, path, &error)) {
            if (Bookmarks()) {
                Fail(error);
                return false;
            }
            Skip(SkipReason::kNotMade);
            return true;
        }
        names_[folder].insert(name);
        made_.directories.push_back(path);
        if (auto site_ini = store::PagePath(path, store::kSiteIni)) {
            made_.files.push_back(*site_ini);
        }
        ++report_.made;
        return true;
    }

    // The first of "name", "name(2)", "name(3)" ... that no page of the folder has.
    std::string FreeName(const std::string& folder, const std::string& base, NameRoom room) {
        if (base.empty()) {
            return {};
        }
        const auto& taken = names_[folder];
        for (int i = 0; i < store::kNameCandidates; ++i) {
            std::string name = NumberedName(base, i == 0 ? 0 : i + 1, room);
            if (name.empty()) {
                return {};
            }
            auto path = store::ItemDirectory(folder, name, store::KIND_PAGE);
            if (taken.count(name) == 0 && path && !files::PathExists(*path)) {
                return name;
            }
        }
        return {};
    }

    const ImportRequest& request_;
    ImportReport& report_;
    Made made_;
    bool failed_ = false;
    std::unordered_map<std::string, FolderPlace> folders_;
    SkipReason folder_failure_ = SkipReason::kNotMade;
    std::unordered_map<std::string, std::unordered_set<std::string>> names_;
    std::unordered_set<std::string> placed_;
};

}  // namespace

int ImportReport::SkippedTotal() const {
    return std::accumulate(skipped.begin(), skipped.end(), 0);
}

std::string ImportFolderBaseName(std::string_view base_name, std::string_view directory) {
    return ItemNameFromTitle(base_name, {}, kNewFolderName, FolderNameRoom(directory));
}

ImportReport RunImport(const ImportRequest& request, const ImportSource& source) {
    ImportReport report;
    store::TreeNode target;
    if (request.tree == nullptr || request.tree->BuildTreeNode(request.target, target) != 0 ||
        target.kind == store::KIND_PAGE) {
        report.failure = ImportFailure::kTargetNotFound;
        return report;
    }
    Importer importer(request, report);
    std::vector<Planned> planned = importer.Plan(source, request.target);
    if (request.rules == ImportRules::kBookmarks && planned.empty()) {
        report.failure = ImportFailure::kNothingNew;
        return report;
    }
    if (!importer.MakeImportFolder(target.path)) {
        report.failure = ImportFailure::kFolderNotMade;
        return report;
    }
    if (!importer.Write(planned)) {
        importer.TakeBack();
        report.made = 0;
        report.folder_name.clear();
        report.folder_path.clear();
    }
    return report;
}

}  // namespace velnora::imports
