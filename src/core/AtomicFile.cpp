#include "core/AtomicFile.h"

#include <QFile>
#include <QSaveFile>

#include "core/SabrixError.h"

namespace sabrix {

namespace {

std::string Describe(const QIODevice& device, const char* fallback) {
    const QString why = device.errorString();
    return why.isEmpty() ? std::string(fallback) : why.toUtf8().toStdString();
}

}  // namespace

void WriteAllBytes(QIODevice& out, const std::string& bytes) {
    const char* data = bytes.data();
    qint64 left = static_cast<qint64>(bytes.size());
    while (left > 0) {
        const qint64 written = out.write(data, left);
        if (written <= 0) throw SabrixError(Describe(out, "Write error"));
        data += written;
        left -= written;
    }
}

void WriteFileAtomically(const std::string& path, const std::function<void(QIODevice&)>& writer) {
    QSaveFile file(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
    if (!file.open(QIODevice::WriteOnly)) throw SabrixError(Describe(file, "Cannot open file"));
    try {
        writer(file);
    } catch (...) {
        // Dropping the temporary file here keeps the target as it was.
        file.cancelWriting();
        throw;
    }
    // commit() also fails when any earlier write failed, so a short write cannot slip through.
    if (!file.commit()) throw SabrixError(Describe(file, "Cannot write file"));
}

void CopyFileAtomically(const std::string& from, const std::string& to) {
    QFile source(QString::fromUtf8(from.data(), static_cast<qsizetype>(from.size())));
    if (!source.open(QIODevice::ReadOnly)) throw SabrixError(Describe(source, "Cannot open file"));
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        throw SabrixError(Describe(source, "Cannot read file"));
    source.close();
    WriteFileAtomically(to, [&bytes](QIODevice& out) {
        WriteAllBytes(out, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    });
}

}  // namespace sabrix
