#pragma once

#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "support/TestFolder.h"

#include <QList>

namespace marubo::test {

// A folder with table T (code, name, grp, amount, d, flag; key code; index
// "grp" on grp, name) and table V (a voucher-like key SNo, Sub_No, FlgT).
//   code name grp amount d          flag
//   0    -    0   -      -          -
//   1    e    1   100    2017-04-01 1
//   2    d    3   250.5  2017-04-02 0
//   3    c    1   -      2017-04-03 -
//   4    b    0   -10    -          1
//   5    -    3   0      2017-04-05 0
struct TableFixture {
    TestFolder folder;
    store::Session session;
    QString dir;

    TableFixture() {
        session.setBusyTimeout(200);
        dir = folder.sub(QStringLiteral("data"));
        store::Query script(session, dir);
        script.setSql(QStringLiteral(R"(
            CREATE TABLE IF NOT EXISTS "T" ("code" INTEGER, "name" VARCHAR(10), "grp" SMALLINT,
                "amount" MONEY, "d" DATE, "flag" BOOLEAN,
                PRIMARY KEY ("code") COMPRESS NONE LOCALE CODE 0 USER MAJOR VERSION 1);
            CREATE INDEX IF NOT EXISTS "grp" ON "T" ("grp","name");
            INSERT INTO T VALUES (0, NULL, 0, NULL, NULL, NULL);
            INSERT INTO T VALUES (1, 'e', 1, 100, '2017-04-01', 1);
            INSERT INTO T VALUES (2, 'd', 3, 250.5, '2017-04-02', 0);
            INSERT INTO T VALUES (3, 'c', 1, NULL, '2017-04-03', NULL);
            INSERT INTO T VALUES (4, 'b', 0, -10, NULL, 1);
            INSERT INTO T VALUES (5, NULL, 3, 0, '2017-04-05', 0);
            CREATE TABLE IF NOT EXISTS "V" ("SNo" INTEGER, "Sub_No" INTEGER, "FlgT" SMALLINT, "memo" VARCHAR(20),
                PRIMARY KEY ("SNo","Sub_No","FlgT"));
            INSERT INTO V VALUES (5, 1, 2, 'five-one-two');
            INSERT INTO V VALUES (5, 1, 1, 'five-one-one');
            INSERT INTO V VALUES (5, 2, 1, 'five-two-one');
            INSERT INTO V VALUES (9, 1, 1, 'nine');
        )"));
        script.execSql();
    }
};

// The codes of the rows from the current one to the end.
inline QList<qint64> walk(store::DataSet& data, const QString& field = QStringLiteral("code")) {
    QList<qint64> values;
    for (data.first(); !data.eof(); data.next())
        values << data.fieldByName(field).asInteger();
    return values;
}

} // namespace marubo::test
