#pragma once

#include "controls/DataSetModel.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "support/TestFolder.h"

#include <QList>

namespace marubo::test {

// A department-like table L (code key, name, path) seen through the filter
// "code>0", with the rows 0 "all", 1 "one", 2 "two", 3 "three"; and the columns
// of a grid over it, the last one naming a field the table lacks.
struct GridFixture {
    TestFolder folder;
    store::Session session;
    store::Table list{session};

    GridFixture() {
        const QString dir = folder.sub(QStringLiteral("data"));
        store::Query script(session, dir);
        script.setSql(QStringLiteral(R"(
            CREATE TABLE IF NOT EXISTS "L" ("code" INTEGER, "name" VARCHAR(10), "path" VARCHAR(40),
                PRIMARY KEY ("code"));
            INSERT INTO L VALUES (0, 'all', NULL);
            INSERT INTO L VALUES (1, 'one', 'p1');
            INSERT INTO L VALUES (2, 'two', 'p2');
            INSERT INTO L VALUES (3, 'three', NULL);
        )"));
        script.execSql();
        list.setDatabaseName(dir);
        list.setTableName(QStringLiteral("L"));
        list.setFilter(QStringLiteral("code>0"));
        list.setFiltered(true);
        list.open();
    }

    static QList<controls::GridColumn> columns() {
        return {{QStringLiteral("code"), QStringLiteral("code"), 35, false,
                 Qt::AlignRight | Qt::AlignVCenter},
                {QStringLiteral("name"), QStringLiteral("名前"), 120},
                {QStringLiteral("path"), QStringLiteral("パス"), 200},
                {QStringLiteral("missing"), QStringLiteral("なし"), 50}};
    }

    // The stored names in key order, read through a table of their own.
    QStringList storedNames() {
        store::Table reader(session, list.databaseName(), QStringLiteral("L"));
        reader.open();
        QStringList names;
        for (reader.first(); !reader.eof(); reader.next())
            names << QStringLiteral("%1:%2").arg(
                reader.fieldByName(QStringLiteral("code")).asString(),
                reader.fieldByName(QStringLiteral("name")).asString());
        return names;
    }
};

// The texts of one column of a model, row by row.
inline QStringList columnTexts(const QAbstractItemModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace marubo::test
