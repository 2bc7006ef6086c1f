#pragma once

// ResultPane: the result pane widget. It shows a ResultDocument (document.h) by following it
// through the document's listener: runs are inserted at the end as they are reported (plain text
// in the text colour, links as underlined anchors), keyword hits get the highlight background,
// clearing the document empties the widget. The widget's text is exactly the document's text, so
// a document position and a widget position are the same number.
//
// What the user does with links goes to the window as signals; the window shows the status text,
// opens addresses and runs the page sheets.
//
// Threads: the user-interface thread only.

#include <QTextCursor>
#include <QTextEdit>
#include <cstddef>
#include <optional>
#include <string>

#include "results/document.h"
#include "results/pane_appearance.h"

class QTextCharFormat;

namespace velnora::pane {

class ResultPane : public QTextEdit, private results::DocumentListener {
    Q_OBJECT

  public:
    // Shows what the document holds, with the given look, and follows it from then on. The
    // document must not be in a display batch, and must outlive the pane (the pane stops
    // following it when destroyed).
    ResultPane(results::ResultDocument& content, const results::PaneAppearance& appearance,
               QWidget* parent = nullptr);
    ~ResultPane() override;

    const results::ResultDocument& result_document() const { return content_; }

    // Applies the font, the colours and the line spacing: all text takes the text colour, every
    // line the spacing, every link the link format. Keyword backgrounds already shown stay; new
    // ones take the new highlight colour.
    void ApplyAppearance(const results::PaneAppearance& appearance);
    const results::PaneAppearance& appearance() const { return appearance_; }

    // Links at a character position, as indexes into result_document().Links(): LinkAt counts a
    // settings link as none, AnyLinkAt does not.
    std::optional<std::size_t> LinkAt(std::size_t position) const;
    std::optional<std::size_t> AnyLinkAt(std::size_t position) const;
    // The target of the link at the selection's start (settings links do not count), for
    // copying; Shift_JIS.
    std::optional<std::string> LinkTargetAtSelection() const;
    bool SelectionIsEmpty() const;
    std::size_t SelectionStart() const;

    // The character under a point of the viewport (its left and right halves alike); nothing
    // when the point is beside the text.
    std::optional<std::size_t> CharacterAt(const QPoint& viewport_point) const;
    // The caret, with an empty selection, at a position (clamped to the text).
    void SetCaret(std::size_t position);
    // The caret at the start, the view at the top.
    void MoveCaretToStart();
    // Selects the characters [start, end) (clamped to the text) and scrolls them into view.
    void Select(std::size_t start, std::size_t end);

    // Block jumps over the document's block starts, from the first visible line: the next block
    // starting below it (or the last one starting above it) is scrolled to the top and gets the
    // caret. False when there is none in that direction.
    bool NextBlock();
    bool PreviousBlock();
    // Selects the next recorded keyword hit (wrapping after the last) and takes the focus. False
    // when no hit is recorded.
    bool NextHighlight();

    // A long display (thousands of pages): until EndDetachedFill the text goes into a document
    // that is not shown, so that nothing is laid out while it grows; then that document is
    // shown at once, and laid out a part at a time from its top, as the view needs it.
    void BeginDetachedFill();
    void EndDetachedFill();
    bool IsFillingDetached() const { return detached_ != nullptr; }
    // Characters the pane shows.
    std::size_t ShownCharacters() const { return ShownLength(); }

  signals:
    // The mouse moved onto another link (an index into result_document().Links()) or off every link
    // (kNoLink); settings links included. Also kNoLink when the pane is cleared.
    void linkHovered(int link);
    // A link was clicked with the left button and an empty selection, or Enter was pressed with
    // the selection starting on it. Settings links included.
    void linkActivated(int link);
    // Tab and Shift+Tab: the window decides where the focus goes.
    void tabPressed();
    void backtabPressed();
    // The context menu is wanted at a global position; the caret has already been moved to the
    // character under the mouse when nothing was selected.
    void contextMenuWanted(const QPoint& global_position);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // DocumentListener
    void OnCleared() override;
    void OnRunsAppended(const results::ResultDocument& content, std::size_t first,
                        std::size_t count) override;
    void OnHighlighted(std::size_t start, std::size_t end) override;
    void OnBatchBegun(results::BatchView view) override;
    void OnBatchEnded(results::BatchView view) override;

    QTextCharFormat PlainFormat() const;
    QTextCharFormat LinkFormat(const results::LinkRecord& link) const;
    // The block format every paragraph gets: the fixed line height.
    void ApplyLineSpacing(QTextCursor& cursor) const;
    void ResetEmptyDocument();
    void SetHovered(int link);
    // Top of the display line holding a position, in document coordinates.
    qreal LineTop(std::size_t position) const;
    // Top of the first line shown in the viewport.
    qreal FirstVisibleLineTop() const;
    // Start of the first display line whose top is at or below y; nothing when there is none.
    std::optional<std::size_t> FirstLineStartFrom(qreal y) const;
    void ScrollLineToTop(std::size_t position);
    std::size_t ShownLength() const;

    // Where the text goes: the shown document, or the one being filled out of sight.
    QTextDocument* Target() const;

    // What is shown; document() is the widget's own text, which mirrors it.
    results::ResultDocument& content_;
    QTextDocument* detached_ = nullptr;
    results::PaneAppearance appearance_;
    // Inserts at the end of the text.
    QTextCursor insert_cursor_;
    int hovered_ = results::kNoLink;
    // A Shift+click placed the caret on a link; its release opens nothing.
    bool caret_click_ = false;
    // A display batch that restores the view is open: the view is frozen, the inserts form one
    // edit block, and the scroll position is taken back at its end.
    bool view_frozen_ = false;
    int saved_vertical_ = 0;
    int saved_horizontal_ = 0;
};

}  // namespace velnora::pane
