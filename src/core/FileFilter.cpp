// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileFilter.h"

namespace sabrix {

QStringList TranslateFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patternText = parts[i + 1].trimmed();
        if (patternText.isEmpty()) continue;
        // Qt reads the patterns from a trailing "(...)", so a description that already
        // shows its patterns would otherwise carry them twice.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open > 0) description = description.left(open).trimmed();
        }
        QStringList patterns;
        for (QString pattern : patternText.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
            if (!pattern.isEmpty()) patterns << pattern;
        }
        if (patterns.isEmpty()) continue;
        if (description.isEmpty()) description = QStringLiteral("Files");
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QStringLiteral(")");
    }
    if (result.isEmpty()) result << QStringLiteral("All Files (*)");
    return result;
}

}  // namespace sabrix
