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

void WriteAllBytes(QIODevice& out, std::string_view bytes) {
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
    WriteFileAtomically(to, [&source](QIODevice& out) {
        // In pieces through one buffer: a file of many megabytes needs no copy in memory.
        std::string piece(1 << 20, '\0');
        for (;;) {
            const qint64 got = source.read(piece.data(), static_cast<qint64>(piece.size()));
            if (got < 0) throw SabrixError(Describe(source, "Cannot read file"));
            if (got == 0) break;
            WriteAllBytes(out, std::string_view(piece.data(), static_cast<size_t>(got)));
        }
    });
}

}  // namespace sabrix
