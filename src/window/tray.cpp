#include "window/tray.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "desktop/qt_text.h"
#include "window/notice_texts.h"

namespace velnora::window {

namespace {

constexpr int kIconSize = 64;

// The program's icon with the number in a red disc at its corner (none for 0).
QIcon IconWithCount(int count) {
    QPixmap pixmap = QIcon(QStringLiteral(":/icons/velnora.svg")).pixmap(kIconSize, kIconSize);
    if (count <= 0) {
        return QIcon(pixmap);
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QString text = count > 99 ? QStringLiteral("99+") : QString::number(count);
    QRectF disc(kIconSize * 0.38, 0, kIconSize * 0.62, kIconSize * 0.62);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd3, 0x2f, 0x2f));
    painter.drawEllipse(disc);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(text.size() > 2 ? kIconSize / 5 : kIconSize / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(disc, Qt::AlignCenter, text);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace

Tray::Tray(QObject* parent) : QObject(parent), icon_(this) {
    open_ = menu_.addAction(desktop::FromSjis(notice_texts::kTrayOpen));
    open_->setObjectName(QStringLiteral("trayOpen"));
    check_ = menu_.addAction(desktop::FromSjis(notice_texts::kTrayCheckNow));
    check_->setObjectName(QStringLiteral("trayCheck"));
    pause_ = menu_.addAction(desktop::FromSjis(notice_texts::kTrayPause));
    pause_->setObjectName(QStringLiteral("trayPause"));
    pause_->setCheckable(true);
    menu_.addSeparator();
    exit_ = menu_.addAction(desktop::FromSjis(notice_texts::kTrayExit));
    exit_->setObjectName(QStringLiteral("trayExit"));
    connect(open_, &QAction::triggered, this, &Tray::OpenRequested);
    connect(check_, &QAction::triggered, this, &Tray::CheckRequested);
    connect(pause_, &QAction::toggled, this, &Tray::PauseToggled);
    connect(exit_, &QAction::triggered, this, &Tray::ExitRequested);

    icon_.setContextMenu(&menu_);
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) {
                    emit OpenRequested();
                }
            });
    connect(&icon_, &QSystemTrayIcon::messageClicked, this, &Tray::MessageClicked);
    SetUnreadPages(0);
    if (Available()) {
        icon_.show();
    }
}

bool Tray::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void Tray::SetUnreadPages(int pages) {
    if (pages == unread_pages_) {
        return;
    }
    unread_pages_ = pages;
    icon_.setIcon(IconWithCount(pages));
    icon_.setToolTip(QStringLiteral("Velnora - ") +
                     desktop::FromSjis(notice_texts::kUnreadTipPrefix) + QString::number(pages));
}

bool Tray::ShowMessage(const QString& title, const QString& body) {
    if (!Available() || !icon_.isVisible()) {
        return false;
    }
    icon_.showMessage(title, body, icon_.icon());
    return true;
}

}  // namespace velnora::window
