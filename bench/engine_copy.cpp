// Copies voucher lines row by row through the engine (one transaction, in the
// order of index "hizuke") and the same rows with one INSERT ... SELECT in
// SQLite, and prints the ratio of the two times as its last line:
//   ratio engine_copy <engine / reference>
// Usage: bench_engine_copy [rows]   (default 200000)

#include "store/DataSetFile.h"
#include "store/Database.h"
#include "store/Session.h"
#include "store/SqlScript.h"
#include "store/Sqlite.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "store/WorkScripts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

using namespace marubo::store;

namespace {

TableLayout voucherLayout(const QString& name) {
    for (TableLayout layout : layoutsOfScript(workFolderScript()))
        if (layout.name == QStringLiteral("denpyou1")) {
            layout.name = name;
            return layout;
        }
    return {};
}

void fillSource(SqliteDb& db, int rows) {
    db.exec(QStringLiteral("BEGIN"));
    SqliteStatement insert(
        db, QStringLiteral("INSERT INTO source VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    quint64 state = 12345;
    auto random = [&state](int modulo) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return int((state >> 33) % quint64(modulo));
    };
    const QDate start(2017, 4, 1);
    for (int i = 0; i < rows; ++i) {
        const int voucher = i / 3 + 1;
        insert.reset();
        insert.bind(1, voucher);
        insert.bind(2, i % 3 + 1);
        insert.bind(3, start.addDays(random(365)));
        insert.bind(4, QStringLiteral("5%1").arg(random(900), 3, 10, QLatin1Char('0')));
        insert.bind(5, QStringLiteral("1120"));
        insert.bind(6, QStringLiteral("001"));
        insert.bind(7, QVariant());
        const double amount = random(1000000) + 0.5 * random(2);
        insert.bind(8, amount);
        insert.bind(9, amount);
        insert.bind(10, QStringLiteral("水道光熱費 %1月分").arg(random(12) + 1));
        insert.bind(11, QStringLiteral("普通預金"));
        for (int k = 12; k <= 17; ++k)
            insert.bind(k, k == 14 ? random(6) : 0);
        insert.step();
    }
    insert.reset();
    db.exec(QStringLiteral("COMMIT"));
}

double engineCopy(Session& session, Database& database) {
    QElapsedTimer timer;
    timer.start();
    Transaction transaction(database);
    Table source(session, database.name(), QStringLiteral("source"));
    source.setIndexName(QStringLiteral("hizuke"));
    Table target(session, database.name(), QStringLiteral("engine_target"));
    source.open();
    target.open();
    const qsizetype fields = source.fieldCount();
    for (source.first(); !source.eof(); source.next()) {
        target.append();
        for (qsizetype i = 0; i < fields; ++i)
            target.field(i).setValue(source.field(i).value());
        target.post();
    }
    target.close();
    source.close();
    transaction.commit();
    return timer.nsecsElapsed() / 1e9;
}

double referenceCopy(SqliteDb& db) {
    QElapsedTimer timer;
    timer.start();
    db.exec(QStringLiteral("BEGIN"));
    db.exec(QStringLiteral(
        "INSERT INTO reference_target SELECT * FROM source ORDER BY hizuke, SNo, Sub_No"));
    db.exec(QStringLiteral("COMMIT"));
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 200000;
    QTemporaryDir folder;
    folder.setAutoRemove(false), printf("folder %s\n", qPrintable(folder.path()));
    Session session;
    Database database(session, QStringLiteral("BENCH"), folder.path());
    database.connection(true);
    for (const char* name : {"source", "engine_target", "reference_target"})
        database.createTable(voucherLayout(QString::fromLatin1(name)));
    SqliteDb raw(tablesFilePath(folder.path()), false, 5000);
    fillSource(raw, rows);

    double bestEngine = 1e9, bestReference = 1e9;
    for (int round = 0; round < 3; ++round) {
        raw.exec(QStringLiteral("DELETE FROM reference_target"));
        bestReference = std::min(bestReference, referenceCopy(raw));
        database.close();
        raw.exec(QStringLiteral("DELETE FROM engine_target"));
        bestEngine = std::min(bestEngine, engineCopy(session, database));
    }
    SqliteStatement count(raw, QStringLiteral("SELECT (SELECT count(*) FROM engine_target), "
                                              "(SELECT count(*) FROM reference_target)"));
    count.step();
    if (count.columnInt64(0) != rows || count.columnInt64(1) != rows) {
        std::fprintf(stderr, "copied row counts differ: %lld %lld\n", count.columnInt64(0),
                     count.columnInt64(1));
        return 1;
    }
    count.reset();
    std::printf("rows %d\n", rows);
    std::printf("engine row by row   %.3f s (%.2f us/row)\n", bestEngine, bestEngine * 1e6 / rows);
    std::printf("INSERT ... SELECT   %.3f s (%.2f us/row)\n", bestReference,
                bestReference * 1e6 / rows);
    std::printf("ratio engine_copy %.2f\n", bestEngine / bestReference);
    return 0;
}
