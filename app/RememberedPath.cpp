#include "RememberedPath.h"

#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/WorkScripts.h"
#include "util/PathText.h"

#include <QDir>

namespace marubo {

QString pathSeenFrom(const QString& startDir, const QString& folder) {
    QString path = QDir::toNativeSeparators(folder);
    const QString inside = withTrailingSeparator(QDir::toNativeSeparators(startDir));
    // Only a folder inside the start-up directory is written relative to it.
    if (!startDir.isEmpty() && path.startsWith(inside) && path.size() > inside.size())
        path = path.mid(inside.size());
    return withTrailingSeparator(path);
}

void writeRememberedPath(store::Table& headM, const QString& path) {
    const QString remembered = withTrailingSeparator(path);
    store::Field& field = headM.fieldByName(QStringLiteral("PathName1"));
    if (field.size() > 0 && remembered.size() > field.size())
        return;
    headM.first();
    headM.edit(); // on a table without rows this inserts the one row
    field.setAsString(remembered);
    headM.post();
}

void rememberPathIn(const QString& startDir, const QString& path) {
    store::Session session;
    store::Query makeHeadM(session, startDir);
    makeHeadM.setSql(store::headMScript());
    makeHeadM.execSql();
    store::Table headM(session, startDir, QStringLiteral("headM"));
    headM.open();
    writeRememberedPath(headM, path);
}

} // namespace marubo
