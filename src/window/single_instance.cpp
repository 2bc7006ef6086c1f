#include "window/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace velnora::window {

SingleInstance::SingleInstance(const QString& home) {
    QByteArray key =
        QCryptographicHash::hash(QDir(home).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    name_ = QString("velnora-%1-%2").arg(::getuid()).arg(QString::fromLatin1(key));
    lock_ = std::make_unique<QLockFile>(QDir(home).filePath(".velnora.lock"));
    lock_->setStaleLockTime(0);  // a lock whose process has gone is taken over
}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
    }
}

bool SingleInstance::Acquire() {
    if (lock_->tryLock(0)) {
        QLocalServer::removeServer(name_);  // left by a copy that ended without cleaning up
        server_ = std::make_unique<QLocalServer>();
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
            while (QLocalSocket* client = server_->nextPendingConnection()) {
                QObject::connect(client, &QLocalSocket::disconnected, client,
                                 &QObject::deleteLater);
                if (raise_) {
                    raise_();
                }
            }
        });
        server_->listen(name_);
        return true;
    }
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(2000)) {
        socket.write("raise\n");
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
    return false;
}

void SingleInstance::OnRaiseRequested(std::function<void()> raise) {
    raise_ = std::move(raise);
}

}  // namespace velnora::window
