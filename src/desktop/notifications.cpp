#include "desktop/notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace velnora::desktop {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

DesktopNotifier::DesktopNotifier(QObject* parent)
    : DesktopNotifier(QDBusConnection::sessionBus(), parent) {}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
    if (bus_.isConnected()) {
        bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                     SLOT(OnActionInvoked(uint, QString)));
    }
}

void DesktopNotifier::Notify(const QString& summary, const QString& body) {
    if (!bus_.isConnected()) {
        emit Undelivered(summary, body);
        return;
    }
    if (body_markup_) {
        Send(summary, body);
        return;
    }
    // Asked once: whether the body must have its markup characters escaped.
    auto* watcher =
        new QDBusPendingCallWatcher(bus_.asyncCall(Call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, summary, body] {
        QDBusPendingReply<QStringList> reply = *watcher;
        watcher->deleteLater();
        body_markup_ = !reply.isError() && reply.value().contains(QStringLiteral("body-markup"));
        Send(summary, body);
    });
}

void DesktopNotifier::Send(const QString& summary, const QString& body) {
    QDBusMessage call = Call(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("velnora"));
    call << QStringLiteral("Velnora") << last_id_ << QStringLiteral("velnora") << summary
         << (body_markup_.value_or(false) ? body.toHtmlEscaped() : body)
         << QStringList{kDefaultAction, QString::fromUtf16(u"\u958b\u304f")} << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, summary, body] {
        QDBusPendingReply<uint> reply = *watcher;
        watcher->deleteLater();
        if (reply.isError()) {
            emit Undelivered(summary, body);
            return;
        }
        last_id_ = reply.value();
        sent_.insert(last_id_);
    });
}

void DesktopNotifier::OnActionInvoked(uint id, const QString& action) {
    if (sent_.contains(id) && action == kDefaultAction) {
        emit Activated();
    }
}

}  // namespace velnora::desktop
