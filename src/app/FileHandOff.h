// SPDX-License-Identifier: GPL-3.0-or-later
// How a later start of the program hands its FILE to the copy that already runs with the same
// program folder. The running copy listens on a local socket named after that folder, in the
// user's private runtime folder; the later start connects, sends the file's full path, waits
// until the running copy has taken it, and ends. A start that finds nobody listening (no
// runtime folder, or a copy that hangs) is refused as before.
//
// A message is the length of the path (4 bytes, most significant first) and the path's bytes;
// the answer is "OK". The path may be followed by the options of the later start's command
// line, each after a NUL byte (HandOffMessage); a name alone is a message as before.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

class QLocalSocket;

namespace sabrix {

// The socket of a program folder: runtimeFolder + "/sabrix-" + 16 hex digits of a hash of
// the folder's full path (the same for every spelling of it). Empty when runtimeFolder is.
QString HandOffSocketPath(const std::string& runtimeFolder, const std::string& programDir);

// The running copy's end.
class FileHandOffServer : public QObject {
    Q_OBJECT

  public:
    explicit FileHandOffServer(QString socketPath, QObject* parent = nullptr);

    // Starts listening; only this user can connect. A socket left behind by a copy that ended
    // without removing it is replaced: the caller holds the folder's instance lock, so no
    // other copy listens there. Returns false when the socket cannot be made (no such folder,
    // a path too long); later starts are then refused as before.
    bool listen();

  signals:
    // A later start's file, by its full path (the bytes of its name), once it was answered.
    void fileReceived(const QByteArray& path);

  private:
    void Receive(QLocalSocket* socket);

    QString socketPath_;
    QLocalServer server_;
};

// The later start's end: hands file (a full path) to the copy listening on socketPath.
// Returns true once that copy has taken it; false when nobody listens there or no answer
// comes within timeoutMs. Blocks the calling thread meanwhile.
bool HandOffFile(const QString& socketPath, const std::string& file, int timeoutMs = 5000);

}  // namespace sabrix
