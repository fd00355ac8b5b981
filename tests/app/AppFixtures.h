#pragma once

#include "sample/PackageLayouts.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/WorkScripts.h"

#include <QDir>
#include <QString>

namespace marubo::test {

// The messages of the A-level path's validation.
inline const QString kNotADataFolder = QStringLiteral(
    "指定した保存先は、この会計のデータディレクトリではありませんのでご確認ください。");
inline const QString kCannotCreate =
    QStringLiteral("データパス名が不正ですので、新規にデータフォルダの作成が出来ません。");
inline const QString kOldVersion =
    QStringLiteral("A階層の会計ソフトのバージョンが古いために併合処理が出来ません。");

// An A level in `dir` in the accounting package's layouts: Head with the
// PassWord "pw1" and `rows` BUMON rows with codes 0, 1, ... named 部門0, 部門1, ...
// Without the field 前年実績 in Mkamoku when not `current`. Returns the folder
// with a trailing separator.
inline QString makeALevel(const QString& dir, int rows, bool current = true) {
    store::Session session;
    store::Database database(session, QStringLiteral("X"), dir);
    database.connection(true);
    for (store::TableLayout layout : sample::aLevelLayouts()) {
        if (!current && layout.name == u"Mkamoku")
            layout.fields.removeAt(layout.fieldIndex(QStringLiteral("前年実績")));
        database.createTable(layout);
    }
    store::Table head(session, QStringLiteral("X"), QStringLiteral("Head"));
    head.open();
    head.append();
    head.fieldByName(QStringLiteral("PassWord")).setAsString(QStringLiteral("pw1"));
    head.post();
    store::Table bumon(session, QStringLiteral("X"), QStringLiteral("BUMON"));
    bumon.open();
    for (int code = 0; code < rows; ++code) {
        bumon.append();
        bumon.fieldByName(QStringLiteral("code")).setAsInteger(code);
        bumon.fieldByName(QStringLiteral("Bumonmei"))
            .setAsString(QStringLiteral("部門%1").arg(code));
        bumon.post();
    }
    return QDir::toNativeSeparators(dir) + QDir::separator();
}

// HeadM of the start-up directory `startDir`, created when missing, holding
// exactly `text` (no separator is added).
inline void writeHeadM(const QString& startDir, const QString& text) {
    store::Session session;
    store::Query script(session, startDir);
    script.setSql(store::headMScript());
    script.execSql();
    store::Table headM(session, startDir, QStringLiteral("HeadM"));
    headM.open();
    headM.first();
    headM.edit();
    headM.fieldByName(QStringLiteral("PathName1")).setAsString(text);
    headM.post();
}

// The remembered path in HeadM of `startDir`; "(no row)" when it has none.
inline QString readHeadM(const QString& startDir) {
    store::Session session;
    store::Table headM(session, startDir, QStringLiteral("HeadM"));
    headM.open();
    if (headM.isEmpty())
        return QStringLiteral("(no row)");
    return headM.fieldByName(QStringLiteral("PathName1")).asString();
}

} // namespace marubo::test
