#include "Mylib.h"

#include <QDir>

namespace marubo {

bool MakeDirPath(const QString& path) {
    const QChar sep = QDir::separator();
    bool created = false;
    for (qsizetype i = path.indexOf(sep); i >= 0; i = path.indexOf(sep, i + 1)) {
        const QString prefix = path.left(i + 1);
        // QDir::mkdir makes one directory (no parents) and reports false when it exists.
        if (QDir().mkdir(prefix))
            created = true;
    }
    return created;
}

} // namespace marubo
