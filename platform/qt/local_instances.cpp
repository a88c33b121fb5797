#include "platform/qt/local_instances.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

constexpr int kTimeoutMs = 3000;
const QString kPrefix = QStringLiteral("instance-");
const QString kCaptions = QStringLiteral("captions");
const QString kRestore = QStringLiteral("restore");
const QString kOpen = QStringLiteral("open");
const QString kDone = QStringLiteral("done");

void Send(QLocalSocket& socket, const QStringList& message) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << message;
    socket.write(bytes);
    socket.flush();
}

// Reads one whole message when it has arrived.
bool TryReceive(QLocalSocket& socket, QStringList& message) {
    QDataStream in(&socket);
    in.setVersion(QDataStream::Qt_6_0);
    in.startTransaction();
    in >> message;
    return in.commitTransaction();
}

// Sends request to the instance at address and waits for its reply; nothing when it does
// not answer in time.
std::optional<QStringList> Ask(const QString& address, const QStringList& request,
                               bool* refused = nullptr) {
    QLocalSocket socket;
    socket.connectToServer(address);
    if (!socket.waitForConnected(kTimeoutMs)) {
        if (refused != nullptr) {
            *refused = socket.error() == QLocalSocket::ConnectionRefusedError ||
                       socket.error() == QLocalSocket::ServerNotFoundError;
        }
        return std::nullopt;
    }
    Send(socket, request);
    QStringList reply;
    while (!TryReceive(socket, reply)) {
        if (!socket.waitForReadyRead(kTimeoutMs)) return std::nullopt;
    }
    socket.disconnectFromServer();
    return reply;
}

std::vector<std::string> ToStrings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& item : list) out.push_back(FromQt(item));
    return out;
}

}  // namespace

LocalInstances::LocalInstances(QString folder, QString scope)
    : folder_(std::move(folder)), prefix_(kPrefix + scope + QLatin1Char('-')) {
    ownName_ = prefix_ + QString::number(QCoreApplication::applicationPid());
}

LocalInstances::~LocalInstances() {
    if (!server_) return;
    server_->close();
#ifdef Q_OS_WIN
    QFile::remove(QDir(folder_).filePath(ownName_));
#endif
}

QString LocalInstances::DefaultFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    return base + QStringLiteral("/kantoria");
}

std::vector<RunningInstance> LocalInstances::Others() {
    std::vector<RunningInstance> found;
    const QDir dir(folder_);
    const QStringList names =
        dir.entryList({prefix_ + QLatin1Char('*')}, QDir::System | QDir::Files);
    for (const QString& name : names) {
        if (name == ownName_) continue;
        const QString address = dir.filePath(name);
        bool refused = false;
        const std::optional<QStringList> captions = Ask(address, {kCaptions}, &refused);
        if (!captions) {
            // What is left of an instance that ended without closing its socket.
            if (refused) QFile::remove(address);
            continue;
        }
        found.push_back({FromQt(address), ToStrings(*captions)});
    }
    return found;
}

bool LocalInstances::Restore(const RunningInstance& instance) {
    return Ask(ToQt(instance.address), {kRestore}).has_value();
}

bool LocalInstances::HandOver(const RunningInstance& instance, const std::string& path) {
    return Ask(ToQt(instance.address), {kOpen, ToQt(path)}).has_value();
}

bool LocalInstances::Publish(InstanceHost& host) {
    host_ = &host;
    if (!QDir().mkpath(folder_)) return false;
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString address = QDir(folder_).filePath(ownName_);
    QLocalServer::removeServer(address);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, socket] { Answer(socket); });
            if (socket->bytesAvailable() > 0) Answer(socket);
        }
    });
    if (!server_->listen(address)) return false;
#ifdef Q_OS_WIN
    // There the server is a named pipe, which lives in no folder: a file of its name stands
    // for it, so that the next start finds it as it finds a socket elsewhere.
    QFile marker(address);
    if (!marker.open(QIODevice::WriteOnly)) return false;
#endif
    return true;
}

void LocalInstances::Answer(QLocalSocket* socket) {
    QStringList request;
    if (!TryReceive(*socket, request) || request.isEmpty() || host_ == nullptr) return;
    const QString verb = request.constFirst();
    if (verb == kCaptions) {
        QStringList captions;
        for (const std::string& caption : host_->WindowCaptions()) captions << ToQt(caption);
        Send(*socket, captions);
        return;
    }
    Send(*socket, {kDone});
    // The asking instance is answered before the work starts, so a question this instance
    // then asks its user never keeps the other one waiting.
    InstanceHost* host = host_;
    if (verb == kRestore) {
        QTimer::singleShot(0, server_.get(), [host] { host->RestoreMainWindow(); });
    } else if (verb == kOpen && request.size() > 1) {
        const std::string path = FromQt(request.at(1));
        QTimer::singleShot(0, server_.get(), [host, path] { host->OpenFromShell(path); });
    }
}

}  // namespace kantoria
