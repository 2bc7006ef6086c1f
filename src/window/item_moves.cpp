#include "window/item_moves.h"

#include "store/move_item.h"
#include "window/message_box.h"
#include "window/tree_texts.h"

namespace velnora::window {

namespace {

// ファイル名が長すぎるため移動できません。
constexpr std::string_view kPathTooLongToMove =
    "\x83t\x83@\x83"
    "C\x83\x8B\x96\xBC\x82\xAA\x92\xB7\x82\xB7\x82\xAC\x82\xE9\x82\xBD\x82\xDF"
    "\x88\xDA\x93\xAE\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81"
    "B";

}  // namespace

void MoveDroppedItem(store::PageTree& tree, PageTreeView& view, WindowServices& services,
                     store::ItemId item, store::ItemId target) {
    if (tree.Find(item) == nullptr || tree.Find(target) == nullptr) {
        return;
    }
    store::MoveOutcome outcome = store::MoveTreeItem(tree, item, target);
    switch (outcome.result) {
        case store::MoveResult::kTooLong:
            ShowMessage(services.window(), kPathTooLongToMove, tree_texts::kErrorCaption);
            break;
        case store::MoveResult::kFailed:
            // As the system's own error boxes: no owner window.
            ShowMessage(nullptr, outcome.error, tree_texts::kSystemErrorCaption);
            break;
        default:
            break;
    }
    // The target is selected afterwards; when it is already, selecting it afresh rebuilds the
    // current item, whose directory may have moved.
    if (view.SelectedItem() == target) {
        view.SelectItem(0);
    }
    view.SelectItem(target);
}

}  // namespace velnora::window
