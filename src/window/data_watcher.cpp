#include "window/data_watcher.h"

#include <map>

#include "files/file_names.h"
#include "store/item_directory.h"
#include "store/settings_files.h"

namespace velnora::window {

namespace {

// The pause that gathers a burst of changes, and the wait while the window is busy.
constexpr int kSettleMilliseconds = 200;
constexpr int kBusyRetryMilliseconds = 500;

QString DiskName(const std::string& directory) {
    return QString::fromStdString(files::ToDiskName(directory).value_or(""));
}

}  // namespace

DataWatcher::DataWatcher(store::PageTree& tree, std::function<bool()> busy, QObject* parent)
    : QObject(parent), tree_(tree), busy_(std::move(busy)) {
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, &DataWatcher::Sync);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DataWatcher::OnChanged);
}

void DataWatcher::Watch(const std::string& directory) {
    QString disk = DiskName(directory);
    if (!disk.isEmpty() && !watcher_.directories().contains(disk)) {
        watcher_.addPath(disk);
    }
}

void DataWatcher::WatchBelow(store::ItemId folder, const std::string& directory) {
    Watch(directory);
    for (store::ItemId child = tree_.FirstChild(folder); child != 0;
         child = tree_.NextSibling(child)) {
        const store::PageTree::Node* node = tree_.Find(child);
        if (node->kind != store::KIND_FOLDER) {
            continue;
        }
        if (auto path = store::ItemDirectory(directory, node->name, node->kind)) {
            WatchBelow(child, *path);
        }
    }
}

void DataWatcher::WatchAll() {
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    WatchBelow(tree_.root(), tree_.data_directory());
}

void DataWatcher::OnChanged(const QString& disk_path) {
    changed_.insert(disk_path);
    settle_.start(kSettleMilliseconds);
}

void DataWatcher::Sync() {
    if (busy_ && busy_()) {
        settle_.start(kBusyRetryMilliseconds);
        return;
    }
    std::set<QString> changed = std::move(changed_);
    changed_.clear();
    // The folders of the tree by their directory on disk; a changed directory that is no
    // folder of the tree (any more) is passed over: its parent's change removes it.
    std::map<QString, std::pair<store::ItemId, std::string>> folders;
    std::vector<std::pair<store::ItemId, std::string>> pending{
        {tree_.root(), tree_.data_directory()}};
    while (!pending.empty()) {
        auto [folder, directory] = pending.back();
        pending.pop_back();
        folders[DiskName(directory)] = {folder, directory};
        for (store::ItemId child = tree_.FirstChild(folder); child != 0;
             child = tree_.NextSibling(child)) {
            const store::PageTree::Node* node = tree_.Find(child);
            if (node->kind == store::KIND_FOLDER) {
                if (auto path = store::ItemDirectory(directory, node->name, node->kind)) {
                    pending.emplace_back(child, std::move(*path));
                }
            }
        }
    }
    for (const QString& disk : changed) {
        auto found = folders.find(disk);
        if (found != folders.end() && tree_.Find(found->second.first) != nullptr) {
            SyncFolder(found->second.first, found->second.second);
        }
    }
}

void DataWatcher::SyncFolder(store::ItemId folder, const std::string& directory) {
    std::vector<store::DirectoryItem> on_disk = store::ListDirectoryItems(directory);
    auto key = [](int kind, const std::string& name) { return std::to_string(kind) + "/" + name; };
    std::map<std::string, const store::DirectoryItem*> entries;
    for (const store::DirectoryItem& entry : on_disk) {
        entries[key(entry.kind, entry.name)] = &entry;
    }
    // Items whose directory went away.
    std::vector<store::ItemId> gone;
    for (store::ItemId child = tree_.FirstChild(folder); child != 0;
         child = tree_.NextSibling(child)) {
        const store::PageTree::Node* node = tree_.Find(child);
        if (entries.erase(key(node->kind, node->name)) == 0) {
            gone.push_back(child);
        }
    }
    for (store::ItemId item : gone) {
        tree_.Remove(item);
    }
    // Directories the tree does not show yet, in the listing's order.
    for (const store::DirectoryItem& entry : on_disk) {
        if (entries.count(key(entry.kind, entry.name)) == 0) {
            continue;
        }
        bool is_page = entry.kind == store::KIND_PAGE;
        int flag = store::ReadAutoCheckFlag(is_page, entry.path);
        store::ItemId item = tree_.AddItem(folder, entry.name, entry.kind, flag != 0);
        if (!is_page) {
            // Watched before it is read, so that nothing added meanwhile is missed.
            Watch(entry.path);
            store::FillFromDirectory(tree_, item, entry.path);
            WatchBelow(item, entry.path);
        }
    }
}

}  // namespace velnora::window
