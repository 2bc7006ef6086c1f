#pragma once

// The tray icon, where the desktop has a tray: it shows how many pages hold unread updates, and
// its menu opens the window, starts a check, pauses the automatic checks and ends the program.
// It also shows a message when no notification service takes a notification.

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

namespace velnora::window {

class Tray : public QObject {
    Q_OBJECT
  public:
    explicit Tray(QObject* parent = nullptr);

    // Whether the desktop has a tray (the icon is shown only then).
    static bool Available();

    // The number on the icon and in its tooltip.
    void SetUnreadPages(int pages);
    int unread_pages() const { return unread_pages_; }
    // A message from the icon; false when there is no tray to show it.
    bool ShowMessage(const QString& title, const QString& body);

    QMenu& menu() { return menu_; }
    QAction* open_action() const { return open_; }
    QAction* check_action() const { return check_; }
    QAction* pause_action() const { return pause_; }
    QAction* exit_action() const { return exit_; }
    QSystemTrayIcon& icon() { return icon_; }

  signals:
    void OpenRequested();
    void CheckRequested();
    void PauseToggled(bool paused);
    void ExitRequested();
    // The message shown by ShowMessage was clicked.
    void MessageClicked();

  private:
    QMenu menu_;
    QSystemTrayIcon icon_;
    QAction* open_;
    QAction* check_;
    QAction* pause_;
    QAction* exit_;
    int unread_pages_ = -1;
};

}  // namespace velnora::window
