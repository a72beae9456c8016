// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ErrorText.h"

#include <QStringDecoder>

namespace sabrix {

QString DisplayText(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

std::string PathBytes(const QString& path) {
    return path.toUtf8().toStdString();
}

}  // namespace sabrix
