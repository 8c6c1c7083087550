#include "vtx/ui/single_instance.h"

#include "platform/registry/regkey.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace vyr::vtx::ui {

namespace {

const QByteArray kActivate = "activate\n";
const QByteArray kDone = "done\n";
constexpr int kWaitMs = 2000;

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), name_(name) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    // Per user and per registry store: copies that share a store share a System Database.
    QByteArray store = QByteArray::fromStdString(registry::storePath());
    QByteArray digest = QCryptographicHash::hash(store, QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("vyr-vtx-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest));
}

bool SingleInstance::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    while (socket.bytesAvailable() < kDone.size())
        if (!socket.waitForReadyRead(kWaitMs))
            return false;
    return socket.readAll().startsWith(kDone);
}

bool SingleInstance::claim()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (askRunningCopy())
            return false;
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        if (server_->listen(name_)) {
            connect(server_, &QLocalServer::newConnection, this, &SingleInstance::serve);
            return true;
        }
        bool inUse = server_->serverError() == QAbstractSocket::AddressInUseError;
        delete server_;
        server_ = nullptr;
        if (!inUse)
            break;
        // Either another copy is starting at this moment (asked again above), or a copy that
        // crashed left its socket file behind.
        if (attempt > 0)
            QLocalServer::removeServer(name_);
    }
    return true;   // without the guard rather than not at all
}

void SingleInstance::serve()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kActivate) {
                emit activationRequested();
                socket->write(kDone);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace vyr::vtx::ui
