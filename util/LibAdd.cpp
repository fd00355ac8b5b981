#include "LibAdd.h"

namespace marubo {

qsizetype FindPos(const QString& search, const QString& text) {
    if (search.isEmpty() || text.isEmpty())
        return 0;
    return text.indexOf(search, 0, Qt::CaseSensitive) + 1;
}

QString ReplaceAll(const QString& text, const QString& search, const QString& replacement) {
    if (search.isEmpty() || text.isEmpty())
        return text;
    if (replacement.contains(search, Qt::CaseSensitive)) {
        QString once = text;
        return once.replace(search, replacement, Qt::CaseSensitive);
    }
    QString result = text;
    qsizetype p = result.indexOf(search, 0, Qt::CaseSensitive);
    while (p >= 0) {
        result.replace(p, search.size(), replacement);
        // The text before p held no occurrence; a new one can only start where
        // the replacement meets what precedes it, so searching from there finds
        // the same first occurrence as searching from the beginning.
        const qsizetype from = qMax<qsizetype>(0, p - search.size() + 1);
        p = result.indexOf(search, from, Qt::CaseSensitive);
    }
    return result;
}

} // namespace marubo
