#pragma once

// The unread marks of the page tree, kept in each page's result.ini as well, so that they
// survive a restart: a page keeps its mark until its results are shown (or a check of it
// begins), and every folder above a marked page is marked in the tree.

#include "store/page_tree.h"

namespace velnora::store {

// The page gets the mark on disk, and it and its folders in the tree.
void MarkUnread(PageTree& tree, ItemId page);
// The mark goes from the item and everything below it, on disk and in the tree.
void ClearUnread(PageTree& tree, ItemId item);
// The marks stored for the pages below the item (and the item itself when it is a page) are
// put on the tree.
void RestoreUnreadMarks(PageTree& tree, ItemId item);

// The number of pages that hold the mark in the tree.
int CountUnreadPages(const PageTree& tree);

}  // namespace velnora::store
