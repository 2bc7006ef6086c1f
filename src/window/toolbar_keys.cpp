#include "window/toolbar_keys.h"

#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>
#include <climits>

namespace velnora::window {

ToolbarKeys::ToolbarKeys(QToolBar* toolbar, std::function<void()> to_tree,
                         std::function<void()> to_pane)
    : QObject(toolbar),
      toolbar_(toolbar),
      to_tree_(std::move(to_tree)),
      to_pane_(std::move(to_pane)) {
    // Only the keyboard brings the focus to a button: a click leaves it where it was.
    toolbar_->setFocusPolicy(Qt::NoFocus);
    for (QAction* action : toolbar_->actions()) {
        if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action))) {
            button->setFocusPolicy(Qt::NoFocus);
            button->installEventFilter(this);
        }
    }
}

QList<QToolButton*> ToolbarKeys::EnabledButtons() const {
    QList<QToolButton*> buttons;
    for (QAction* action : toolbar_->actions()) {
        auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action));
        if (button != nullptr && action->isEnabled() && button->isVisible()) {
            buttons.append(button);
        }
    }
    return buttons;
}

void ToolbarKeys::Enter(Qt::FocusReason reason) {
    QList<QToolButton*> buttons = EnabledButtons();
    if (buttons.isEmpty()) {
        return;
    }
    QToolButton* target =
        last_ != nullptr && buttons.contains(last_.data()) ? last_.data() : buttons.front();
    target->setFocus(reason);
}

void ToolbarKeys::Move(QToolButton* from, int step) {
    QList<QToolButton*> buttons = EnabledButtons();
    if (buttons.isEmpty()) {
        return;
    }
    qsizetype index = buttons.indexOf(from);
    qsizetype count = buttons.size();
    qsizetype next = 0;
    if (step == INT_MIN) {
        next = 0;
    } else if (step == INT_MAX) {
        next = count - 1;
    } else {
        next = ((index < 0 ? 0 : index) + step + count) % count;
    }
    buttons[next]->setFocus(Qt::TabFocusReason);
}

bool ToolbarKeys::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr) {
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        last_ = button;
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    bool shift = key->modifiers() & Qt::ShiftModifier;
    switch (key->key()) {
        case Qt::Key_Tab:
            if (shift) {
                to_pane_();
            } else {
                to_tree_();
            }
            return true;
        case Qt::Key_Backtab:
            to_pane_();
            return true;
        case Qt::Key_Left:
        case Qt::Key_Up:
            Move(button, -1);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Down:
            Move(button, 1);
            return true;
        case Qt::Key_Home:
            Move(button, INT_MIN);
            return true;
        case Qt::Key_End:
            Move(button, INT_MAX);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            button->animateClick();
            return true;
        default:
            return false;  // Space presses the button as on any button
    }
}

}  // namespace velnora::window
