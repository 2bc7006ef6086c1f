#include "pane/result_pane.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "desktop/fonts.h"
#include "desktop/qt_text.h"
#include "results/link_targets.h"

namespace velnora::pane {

namespace {

// Space between the text and the pane's edges, in pixels.
constexpr qreal kTextMargin = 5;

// Two line tops closer than this (pixels) are the same line.
constexpr qreal kSameLine = 1.0;

QColor FromColorRef(results::ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// The widget text of a run. Every Shift_JIS character becomes one UTF-16 unit, so positions stay
// those of the document, as long as no two characters are taken for one line break: a carriage
// return before a line feed is shown as a space (the line feed breaks the line), and a NUL as a
// space.
QString RunString(std::string_view sjis) {
    QString text = desktop::FromSjis(sjis);
    QChar* units = text.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if ((units[i] == u'\r' && i + 1 < text.size() && units[i + 1] == u'\n') ||
            units[i] == QChar(u'\0')) {
            units[i] = u' ';
        }
    }
    return text;
}

// Logical dots per inch of the text's layout: that of the screen, as for the font's points.
qreal LayoutDpi(const QTextDocument* document) {
    if (const QPaintDevice* device = document->documentLayout()->paintDevice()) {
        return device->logicalDpiY();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

ResultPane::ResultPane(results::ResultDocument& content, const results::PaneAppearance& appearance,
                       QWidget* parent)
    : QTextEdit(parent), content_(content) {
    setReadOnly(true);
    // A caret the keyboard moves, for Enter on a link; links are handled here, not by the
    // control.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // A scroll bar that comes and goes would change the width of the text, and each change lays
    // all of it out again.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDocumentMargin(kTextMargin);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    insert_cursor_ = QTextCursor(document());
    ApplyAppearance(appearance);

    if (!content_.Runs().empty()) {
        OnRunsAppended(content_, 0, content_.Runs().size());
        for (const results::HighlightHit& hit : content_.Highlights()) {
            OnHighlighted(hit.start, hit.end);
        }
    }
    content_.SetListener(this);
}

ResultPane::~ResultPane() {
    content_.SetListener(nullptr);
}

// --- The look ---

void ResultPane::ApplyAppearance(const results::PaneAppearance& appearance) {
    appearance_ = appearance;

    setFont(desktop::ShownFont({appearance.face_name, appearance.point, appearance.bold != 0,
                                appearance.italic != 0, appearance.underline != 0,
                                appearance.strikeout != 0}));

    QPalette colours = palette();
    colours.setColor(QPalette::Base, FromColorRef(appearance.back_color));
    colours.setColor(QPalette::Text, FromColorRef(appearance.color));
    setPalette(colours);

    // One pass over the text: the colour and the line spacing everywhere, then the link format
    // on every link (which the colour change left alone apart from its colour). Keyword
    // backgrounds are not touched.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    QTextCharFormat colour;
    colour.setForeground(FromColorRef(appearance.color));
    cursor.mergeCharFormat(colour);
    ApplyLineSpacing(cursor);
    std::size_t shown = ShownLength();
    for (const results::LinkRecord& link : content_.Links()) {
        if (link.length == 0 || link.start + link.length > shown) {
            continue;
        }
        cursor.setPosition(static_cast<int>(link.start));
        cursor.setPosition(static_cast<int>(link.start + link.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(LinkFormat(link));
    }
    cursor.endEditBlock();
}

QTextCharFormat ResultPane::PlainFormat() const {
    QTextCharFormat format;
    format.setForeground(FromColorRef(appearance_.color));
    return format;
}

QTextCharFormat ResultPane::LinkFormat(const results::LinkRecord& link) const {
    QTextCharFormat format = PlainFormat();
    format.setAnchor(true);
    format.setAnchorHref(desktop::FromSjis(link.target));
    format.setFontUnderline(true);
    return format;
}

void ResultPane::ApplyLineSpacing(QTextCursor& cursor) const {
    QTextBlockFormat format;
    int twips = results::LineSpacingTwips(appearance_);
    if (twips > 0) {
        format.setLineHeight(twips * LayoutDpi(document()) / results::kTwipsPerInch,
                             QTextBlockFormat::FixedHeight);
    } else {
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
    }
    cursor.mergeBlockFormat(format);
}

QTextDocument* ResultPane::Target() const {
    return detached_ != nullptr ? detached_ : document();
}

void ResultPane::BeginDetachedFill() {
    if (detached_ != nullptr) {
        return;
    }
    detached_ = new QTextDocument(this);
    detached_->setUndoRedoEnabled(false);
    detached_->setDefaultFont(document()->defaultFont());
    detached_->setDefaultTextOption(document()->defaultTextOption());
    detached_->setDocumentMargin(document()->documentMargin());
    // What is shown already comes along.
    QTextCursor(detached_).insertFragment(QTextDocumentFragment(document()));
    ResetEmptyDocument();
    // The cursor goes to the end as the runs come, inside their edit block: moved here, it
    // would have the text laid out.
    insert_cursor_ = QTextCursor(detached_);
}

void ResultPane::EndDetachedFill() {
    if (detached_ == nullptr) {
        return;
    }
    QTextDocument* filled = std::exchange(detached_, nullptr);
    // The old document is the editor's own child: setDocument deletes it.
    setDocument(filled);
    insert_cursor_ = QTextCursor(document());
}

void ResultPane::ResetEmptyDocument() {
    // Paragraphs inserted later take the format of the one they split, so the spacing set on
    // the empty text reaches every line.
    QTextCursor cursor(Target());
    ApplyLineSpacing(cursor);
}

// --- Following the document ---

void ResultPane::OnCleared() {
    if (view_frozen_) {
        insert_cursor_.endEditBlock();
    }
    Target()->clear();
    ResetEmptyDocument();
    if (view_frozen_) {
        insert_cursor_.beginEditBlock();
        saved_vertical_ = 0;
        saved_horizontal_ = 0;
    }
    SetHovered(results::kNoLink);
}

void ResultPane::OnRunsAppended(const results::ResultDocument& content, std::size_t first,
                                std::size_t count) {
    // Within a batch that freezes the view the edit block is already open; otherwise these
    // runs are one, so the text is laid out once for all of them.
    if (!view_frozen_) {
        insert_cursor_.beginEditBlock();
    }
    insert_cursor_.movePosition(QTextCursor::End);
    const QTextCharFormat plain = PlainFormat();
    const std::vector<results::TextRun>& runs = content.Runs();
    for (std::size_t i = first; i < first + count && i < runs.size(); ++i) {
        const results::TextRun& run = runs[i];
        QString text = RunString(content.RunText(run));
        if (run.link == results::kNoLink) {
            insert_cursor_.insertText(text, plain);
        } else {
            insert_cursor_.insertText(
                text, LinkFormat(content.Links()[static_cast<std::size_t>(run.link)]));
        }
    }
    if (!view_frozen_) {
        insert_cursor_.endEditBlock();
    }
}

void ResultPane::OnHighlighted(std::size_t start, std::size_t end) {
    std::size_t shown = static_cast<std::size_t>(Target()->characterCount() - 1);
    end = std::min(end, shown);
    if (start >= end) {
        return;
    }
    QTextCursor cursor(Target());
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    QTextCharFormat background;
    background.setBackground(FromColorRef(appearance_.highlight_color));
    cursor.mergeCharFormat(background);
}

void ResultPane::OnBatchBegun(results::BatchView view) {
    if (view != results::BatchView::kRestore || view_frozen_ || detached_ != nullptr) {
        return;
    }
    view_frozen_ = true;
    saved_vertical_ = verticalScrollBar()->value();
    saved_horizontal_ = horizontalScrollBar()->value();
    setUpdatesEnabled(false);
    insert_cursor_.beginEditBlock();
}

void ResultPane::OnBatchEnded(results::BatchView view) {
    if (view != results::BatchView::kRestore || !view_frozen_) {
        return;
    }
    insert_cursor_.endEditBlock();
    view_frozen_ = false;
    // The user's caret and selection stay where they were, and so does the view, whatever the
    // new text did to the scroll range.
    verticalScrollBar()->setValue(saved_vertical_);
    horizontalScrollBar()->setValue(saved_horizontal_);
    setUpdatesEnabled(true);
}

std::size_t ResultPane::ShownLength() const {
    return static_cast<std::size_t>(document()->characterCount() - 1);
}

// --- Links and positions ---

std::optional<std::size_t> ResultPane::LinkAt(std::size_t position) const {
    return content_.LinkAt(position);
}

std::optional<std::size_t> ResultPane::AnyLinkAt(std::size_t position) const {
    return content_.AnyLinkAt(position);
}

std::optional<std::string> ResultPane::LinkTargetAtSelection() const {
    auto target = content_.LinkTargetAt(SelectionStart());
    if (!target) {
        return std::nullopt;
    }
    return std::string(*target);
}

bool ResultPane::SelectionIsEmpty() const {
    return !textCursor().hasSelection();
}

std::size_t ResultPane::SelectionStart() const {
    return static_cast<std::size_t>(textCursor().selectionStart());
}

std::optional<std::size_t> ResultPane::CharacterAt(const QPoint& viewport_point) const {
    QPointF point(viewport_point.x() + horizontalScrollBar()->value(),
                  viewport_point.y() + verticalScrollBar()->value());
    int position = document()->documentLayout()->hitTest(point, Qt::ExactHit);
    if (position < 0 || static_cast<std::size_t>(position) >= ShownLength()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(position);
}

void ResultPane::SetCaret(std::size_t position) {
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(std::min(position, ShownLength())));
    setTextCursor(cursor);
}

void ResultPane::MoveCaretToStart() {
    SetCaret(0);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void ResultPane::SetHovered(int link) {
    if (link == hovered_) {
        return;
    }
    hovered_ = link;
    viewport()->setCursor(link == results::kNoLink ? Qt::IBeamCursor : Qt::PointingHandCursor);
    emit linkHovered(link);
}

// --- Lines, blocks and highlights ---

qreal ResultPane::LineTop(std::size_t position) const {
    QTextDocument* text = document();
    QTextBlock block = text->findBlock(static_cast<int>(std::min(position, ShownLength())));
    if (!block.isValid()) {
        block = text->lastBlock();
    }
    text->documentLayout()->blockBoundingRect(block);  // lays the text out up to the block
    const QTextLayout* layout = block.layout();
    QTextLine line = layout->lineForTextPosition(static_cast<int>(position) - block.position());
    return layout->position().y() + (line.isValid() ? line.y() : 0);
}

std::optional<std::size_t> ResultPane::FirstLineStartFrom(qreal y) const {
    QTextDocument* text = document();
    QAbstractTextDocumentLayout* layout = text->documentLayout();
    int near = layout->hitTest(QPointF(0, std::max<qreal>(y, 0)), Qt::FuzzyHit);
    QTextBlock block = text->findBlock(std::max(near, 0));
    if (!block.isValid()) {
        return std::nullopt;
    }
    // Lines drawn closer than the font's height overlap, so the hit may be a line off: start
    // one paragraph earlier and take the first line at or below y.
    if (block.previous().isValid()) {
        block = block.previous();
    }
    for (; block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block);
        const QTextLayout* lines = block.layout();
        for (int i = 0; i < lines->lineCount(); ++i) {
            QTextLine line = lines->lineAt(i);
            if (lines->position().y() + line.y() >= y) {
                return static_cast<std::size_t>(block.position() + line.textStart());
            }
        }
    }
    return std::nullopt;
}

qreal ResultPane::FirstVisibleLineTop() const {
    qreal top = verticalScrollBar()->value();
    auto start = FirstLineStartFrom(top - kSameLine);
    if (!start) {
        return LineTop(ShownLength());
    }
    qreal line_top = LineTop(*start);
    if (line_top <= top + kSameLine || *start == 0) {
        return line_top;
    }
    // The top of the view cuts through the line before: that one is the first shown.
    return LineTop(*start - 1);
}

void ResultPane::ScrollLineToTop(std::size_t position) {
    SetCaret(position);
    document()->documentLayout()->documentSize();  // the scroll range of all the text
    qreal top = position == 0 ? 0 : LineTop(position);
    verticalScrollBar()->setValue(static_cast<int>(std::lround(top)));
}

bool ResultPane::NextBlock() {
    if (content_.BlockStarts().empty()) {
        return false;
    }
    qreal first = FirstVisibleLineTop();
    for (std::size_t start : content_.BlockStarts()) {
        if (start <= ShownLength() && LineTop(start) > first + kSameLine) {
            ScrollLineToTop(start);
            return true;
        }
    }
    return false;
}

bool ResultPane::PreviousBlock() {
    const std::vector<std::size_t>& starts = content_.BlockStarts();
    if (starts.empty()) {
        return false;
    }
    qreal first = FirstVisibleLineTop();
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        if (*it <= ShownLength() && LineTop(*it) < first - kSameLine) {
            ScrollLineToTop(*it);
            return true;
        }
    }
    return false;
}

bool ResultPane::NextHighlight() {
    auto hit = content_.NextHighlight();
    if (!hit) {
        return false;
    }
    setFocus(Qt::OtherFocusReason);
    Select(hit->start, hit->end);
    return true;
}

void ResultPane::Select(std::size_t start, std::size_t end) {
    std::size_t shown = ShownLength();
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(std::min(start, shown)));
    cursor.setPosition(static_cast<int>(std::min(end, shown)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

// --- Input ---

bool ResultPane::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (plain && (key->key() == Qt::Key_Backtab ||
                      (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier)))) {
            emit backtabPressed();
            return true;
        }
        if (plain && key->key() == Qt::Key_Tab) {
            emit tabPressed();
            return true;
        }
    }
    return QTextEdit::event(event);
}

void ResultPane::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto link = AnyLinkAt(SelectionStart())) {
            emit linkActivated(static_cast<int>(*link));
        }
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void ResultPane::mousePressEvent(QMouseEvent* event) {
    caret_click_ = false;
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier)) {
        auto position = CharacterAt(event->position().toPoint());
        if (position && LinkAt(*position)) {
            // Shift+click puts the caret on a link without opening it (for Enter or copying
            // its address).
            SetCaret(*position);
            caret_click_ = true;
            event->accept();
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

void ResultPane::mouseReleaseEvent(QMouseEvent* event) {
    if (caret_click_) {
        caret_click_ = false;
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !SelectionIsEmpty()) {
        return;
    }
    auto position = CharacterAt(event->position().toPoint());
    if (!position) {
        return;
    }
    if (auto link = AnyLinkAt(*position)) {
        emit linkActivated(static_cast<int>(*link));
    }
}

void ResultPane::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    auto position = CharacterAt(event->position().toPoint());
    std::optional<std::size_t> link;
    if (position) {
        link = AnyLinkAt(*position);
    }
    SetHovered(link ? static_cast<int>(*link) : results::kNoLink);
}

bool ResultPane::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) {
        SetHovered(results::kNoLink);
    }
    return QTextEdit::viewportEvent(event);
}

void ResultPane::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && SelectionIsEmpty()) {
        auto position = CharacterAt(event->pos());
        SetCaret(position ? *position
                          : static_cast<std::size_t>(cursorForPosition(event->pos()).position()));
    }
    emit contextMenuWanted(event->globalPos());
    event->accept();
}

}  // namespace velnora::pane
