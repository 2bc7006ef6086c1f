#pragma once

// DataWatcher: the tree follows the data directory while the window is open, so that pages and
// folders that another program (velnora-cli) adds, renames or removes appear without a restart.
// The system tells of changed directories (the data directory and every folder's); a short
// pause gathers a burst of changes, and then only the folders that changed are compared with
// their directories: new entries are added (a new folder with everything in it), vanished ones
// removed, and every other item, its selection and its marks stay as they are. While the window
// is busy (a check, a label edit, a dialog) the comparison waits.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <set>
#include <string>

#include "store/page_tree.h"

namespace velnora::window {

class DataWatcher : public QObject {
    Q_OBJECT

  public:
    // busy() tells when the tree must not change now.
    DataWatcher(store::PageTree& tree, std::function<bool()> busy, QObject* parent = nullptr);

    // Watches the data directory and every folder of the tree as it stands.
    void WatchAll();

  private:
    void OnChanged(const QString& disk_path);
    void Sync();
    // Compares a folder's items with its directory.
    void SyncFolder(store::ItemId folder, const std::string& directory);
    void Watch(const std::string& directory);
    void WatchBelow(store::ItemId folder, const std::string& directory);

    store::PageTree& tree_;
    std::function<bool()> busy_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    std::set<QString> changed_;
};

}  // namespace velnora::window
