#pragma once

// The toolbar from the keyboard. Tab from the result pane (or Shift+Tab from the tree) puts the
// focus on a toolbar button, which shows it; the arrow keys, Home and End move it among the
// enabled buttons; Space and Enter press the button; Tab goes on to the tree and Shift+Tab back
// to the pane. So every toolbar command, "確認" included, can be reached without the mouse, and
// a mouse click on a button still leaves the focus where it was.

#include <QObject>
#include <QPointer>
#include <functional>

class QToolBar;
class QToolButton;

namespace velnora::window {

class ToolbarKeys : public QObject {
    Q_OBJECT

  public:
    // Watches the toolbar's buttons; `to_tree` and `to_pane` move the focus on.
    ToolbarKeys(QToolBar* toolbar, std::function<void()> to_tree, std::function<void()> to_pane);

    // The focus onto the button that had it last, or the first enabled one.
    void Enter(Qt::FocusReason reason);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QList<QToolButton*> EnabledButtons() const;
    void Move(QToolButton* from, int step);

    QToolBar* toolbar_;
    std::function<void()> to_tree_;
    std::function<void()> to_pane_;
    QPointer<QToolButton> last_;
};

}  // namespace velnora::window
