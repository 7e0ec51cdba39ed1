#include "SingleInstance.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kRaise = "raise\n";
}

QString SingleInstance::keyFor(const QString& homeRoot) {
    return keyFor(homeRoot, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

QString SingleInstance::keyFor(const QString& homeRoot, const QString& exe) {
    const QByteArray who = QByteArray::number(qulonglong(getuid())) + '\n' + homeRoot.toUtf8();
    const QByteArray hash = QCryptographicHash::hash(who, QCryptographicHash::Sha1).toHex().left(16);
    return (exe.isEmpty() ? QString("quillory") : exe) + "-" + QString::fromLatin1(hash);
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key)) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

bool SingleInstance::askRunningToRaise(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The running program answers once it has taken the request.
    if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readAll().startsWith("ok");
}

SingleInstance::Listen SingleInstance::listen() {
    if (server_) return Listen::Listening;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(key_)) {
        // Either another start was quicker, or a crashed program left its socket.
        if (askRunningToRaise()) {
            delete server;
            return Listen::OtherRunning;
        }
        QLocalServer::removeServer(key_);
        if (!server->listen(key_)) {
            delete server;
            return Listen::Failed;
        }
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return Listen::Listening;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() == kRaise) {
                socket->write("ok\n");
                socket->flush();
                emit raiseRequested();
            }
            socket->disconnectFromServer();
        });
    }
}
