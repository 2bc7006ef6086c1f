#include "fetch/page_walk.h"

#include "store/settings_files.h"

namespace velnora::fetch {

void PageWalk::Only(store::ItemRecord page) {
    start_ = 0;
    only_ = std::move(page);
}

void PageWalk::End() {
    start_ = 0;
    only_.reset();
}

void PageWalk::Begin(store::ItemId start) {
    only_.reset();
    start_ = start;
    position_ = start;
}

bool PageWalk::First(store::ItemId start, store::ItemRecord& page) {
    Begin(start);
    return Next(page);
}

bool PageWalk::Next(store::ItemRecord& page) {
    if (only_) {
        page = std::move(*only_);
        only_.reset();
        return true;
    }
    if (start_ == 0) {
        return false;
    }
    store::ItemId candidate = tree_.FirstChild(position_);
    if (candidate == 0) {
        candidate = After(position_);
    }
    if (candidate == 0) {
        return false;
    }
    return FromCandidate(candidate, page);
}

store::ItemId PageWalk::After(store::ItemId item) {
    for (store::ItemId current = item; current != 0 && current != start_;
         current = tree_.Parent(current)) {
        if (store::ItemId next = tree_.NextSibling(current); next != 0) {
            return next;
        }
        if (tree_.Parent(current) == start_) {
            break;
        }
    }
    start_ = 0;
    return 0;
}

bool PageWalk::FromCandidate(store::ItemId candidate, store::ItemRecord& page) {
    while (candidate != 0) {
        const store::PageTree::Node* node = tree_.Find(candidate);
        if (node->kind == store::KIND_PAGE && filter_ && !filter_(candidate)) {
            position_ = candidate;
            candidate = After(candidate);
            continue;
        }
        store::ItemRecord record;
        bool readable = tree_.BuildTreeNode(candidate, record.node) == 0;
        bool disabled = true;
        if (readable && node->kind == store::KIND_PAGE) {
            // A site.ini that cannot be read leaves the page in the walk, to end in an error
            // line rather than be passed over in silence.
            disabled = store::ReadPageSettings(record.node.path, record.settings,
                                               &record.settings_error) == 0 &&
                       record.settings.disable_auto_check != 0;
        } else if (readable) {
            store::FolderSettings folder;
            disabled = store::ReadFolderSettings(record.node.path, folder) != 0 ||
                       folder.disable_auto_check != 0;
        }
        if (node->kind == store::KIND_PAGE) {
            position_ = candidate;
            if (!disabled && record.node.path.size() <= kMaxCheckedPagePath) {
                page = std::move(record);
                return true;
            }
            candidate = After(candidate);
        } else if (!disabled && tree_.FirstChild(candidate) != 0) {
            candidate = tree_.FirstChild(candidate);
        } else {
            candidate = After(candidate);
        }
    }
    return false;
}

}  // namespace velnora::fetch
