// Any bytes as names of the page tree: checking, numbering and joining names must stay within
// the path bound, the sibling order must be a strict order, names must survive the way to the
// disk and back, and the tree must keep every parent's children sorted.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_names.h"
#include "store/item_directory.h"
#include "store/item_names.h"
#include "store/page_files.h"
#include "store/page_tree.h"
#include "text/bounded_string.h"
#include "text/shift_jis.h"

namespace {

using namespace velnora;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= bytes.size() && names.size() < 64) {
        std::size_t end = bytes.find('\n', start);
        end = end == bytes.npos ? bytes.size() : end;
        names.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }

    for (std::string_view name : names) {
        bool valid = store::IsValidItemName(name);
        Require(!valid ||
                (!name.empty() && name != "." && name != ".." && name.find('\0') == name.npos));
        if (valid) {
            Require(text::FindByte(name, files::kSeparator) == name.npos);
        }
        for (int kind : {store::KIND_FOLDER, store::KIND_PAGE}) {
            auto directory = store::ItemDirectory("/home/data", name, kind);
            std::size_t length = std::string_view("/home/data/").size() + name.size() + 4;
            Require(directory.has_value() == (length < text::kPathSize));
            if (directory) {
                Require(directory->size() == length);
            }
        }
        std::string candidate = store::CandidateName(name, static_cast<int>(size % 1000));
        Require(candidate.compare(0, name.size(), name) == 0);
        // A name that reaches the disk comes back from a listing, as one that leads to the same
        // file (Shift_JIS has a few characters twice).
        if (auto disk = files::ToDiskName(name)) {
            auto back = files::FromDiskName(*disk);
            Require(back.has_value() && files::ToDiskName(*back) == disk);
        }
        if (auto path = store::PagePath(name, store::kIndexFile)) {
            Require(path->size() < text::kPathSize);
        }
    }

    for (std::string_view a : names) {
        for (std::string_view b : names) {
            int ab = store::CompareTreeNames(a, b);
            Require(Sign(ab) == -Sign(store::CompareTreeNames(b, a)));
            Require((ab == 0) == (a == b));
        }
    }

    store::PageTree tree("/home/");
    store::ItemId root = tree.Reset();
    store::ItemId folder = tree.AddItem(root, "folder", store::KIND_FOLDER, false);
    for (std::size_t i = 0; i < names.size(); ++i) {
        store::ItemId parent = i % 3 == 0 ? root : folder;
        store::ItemId item = tree.AddItem(
            parent, names[i], i % 2 == 0 ? store::KIND_PAGE : store::KIND_FOLDER, false);
        store::TreeNode node;
        if (tree.BuildTreeNode(item, node) == 0) {
            Require(node.path.size() < text::kPathSize);
        }
        if (i % 5 == 4) {
            tree.SetName(item, names[i / 2]);
            tree.SortSiblings(item);
        }
    }
    for (store::ItemId parent : {root, folder}) {
        const store::PageTree::Node* previous = nullptr;
        for (store::ItemId child = tree.FirstChild(parent); child != 0;
             child = tree.NextSibling(child)) {
            const store::PageTree::Node* node = tree.Find(child);
            if (previous != nullptr && previous->kind == node->kind) {
                Require(store::CompareTreeNames(previous->name, node->name) <= 0);
            }
            Require(previous == nullptr || previous->kind <= node->kind);
            previous = node;
        }
    }
    return 0;
}
