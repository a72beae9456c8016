// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FileHandOff.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTimer>
#include <filesystem>

namespace sabrix {

namespace {

// A file name is never this long; anything longer is not a message of the program's.
constexpr quint32 kLongestPath = 64 * 1024;
const QByteArray kTaken = QByteArrayLiteral("OK");

QByteArray LengthBytes(quint32 length) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((length >> (24 - 8 * i)) & 0xFF);
    return bytes;
}

quint32 LengthOf(const QByteArray& bytes) {
    quint32 length = 0;
    for (int i = 0; i < 4; ++i) length = (length << 8) | static_cast<unsigned char>(bytes[i]);
    return length;
}

}  // namespace

QString HandOffSocketPath(const std::string& runtimeFolder, const std::string& programDir) {
    if (runtimeFolder.empty()) return {};
    std::error_code error;
    std::filesystem::path dir = std::filesystem::weakly_canonical(programDir, error);
    if (error) dir = std::filesystem::absolute(programDir).lexically_normal();
    std::string key = dir.string();
    while (key.size() > 1 && key.back() == '/') key.pop_back();
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(key), QCryptographicHash::Sha256);
    return QString::fromStdString(runtimeFolder) + QStringLiteral("/sabrix-") +
           QString::fromLatin1(hash.toHex().left(16));
}

FileHandOffServer::FileHandOffServer(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) Receive(socket);
    });
}

bool FileHandOffServer::listen() {
    if (socketPath_.isEmpty()) return false;
    if (server_.listen(socketPath_)) return true;
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
    QLocalServer::removeServer(socketPath_);
    return server_.listen(socketPath_);
}

void FileHandOffServer::Receive(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A start that connects and then says nothing must not hold its connection for ever.
    QTimer::singleShot(10000, socket, [socket] { socket->abort(); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->bytesAvailable() < 4) return;
        const quint32 length = LengthOf(socket->peek(4));
        if (length == 0 || length > kLongestPath) {
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < 4 + static_cast<qint64>(length)) return;
        socket->read(4);
        const QByteArray path = socket->read(length);
        socket->write(kTaken);
        socket->flush();
        socket->disconnectFromServer();
        emit fileReceived(path);
    });
}

bool HandOffFile(const QString& socketPath, const std::string& file, int timeoutMs) {
    if (socketPath.isEmpty() || file.empty() || file.size() > kLongestPath) return false;
    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return std::max(1, timeoutMs - static_cast<int>(clock.elapsed())); };
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(left())) return false;
    socket.write(LengthBytes(static_cast<quint32>(file.size())) + QByteArray::fromStdString(file));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(left())) return false;
    while (socket.bytesAvailable() < kTaken.size())
        if (!socket.waitForReadyRead(left())) return false;
    return socket.read(kTaken.size()) == kTaken;
}

}  // namespace sabrix
