#pragma once

// Desktop notifications through the freedesktop notification service on the session bus
// (org.freedesktop.Notifications). Calls are asynchronous: the window never waits for the
// service. A notification that no service takes is handed back (Undelivered), so that the
// window can show it another way (the tray's message).

#include <QDBusConnection>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>

namespace velnora::desktop {

class DesktopNotifier : public QObject {
    Q_OBJECT
  public:
    // On the session bus.
    explicit DesktopNotifier(QObject* parent = nullptr);
    // On the given bus (a test's private one).
    DesktopNotifier(const QDBusConnection& bus, QObject* parent);

    // Sends a notification with a default action (clicking it), replacing the one sent before.
    // Texts are plain; markup characters are escaped where the service reads markup.
    void Notify(const QString& summary, const QString& body);

  signals:
    // The notification sent last (or one before it) was clicked.
    void Activated();
    // No service took the notification.
    void Undelivered(const QString& summary, const QString& body);

  private slots:
    void OnActionInvoked(uint id, const QString& action);

  private:
    void Send(const QString& summary, const QString& body);

    QDBusConnection bus_;
    // Whether the service reads markup in the body; unknown until asked once.
    std::optional<bool> body_markup_;
    uint last_id_ = 0;
    QSet<uint> sent_;
};

}  // namespace velnora::desktop
