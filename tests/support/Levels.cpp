#include "Levels.h"

#include "sample/PackageLayouts.h"
#include "store/DataSetFile.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"

#include <QDir>

namespace marubo::test {

void putRows(const QString& folder, const QString& table, const QList<Row>& rows) {
    store::Session session;
    store::Database database(session, QStringLiteral("X"), folder);
    database.startTransaction();
    {
        store::Table data(session, QStringLiteral("X"), table);
        data.open();
        for (const Row& row : rows) {
            data.append();
            for (const auto& [field, value] : row)
                data.fieldByName(field).setValue(value);
            data.post();
        }
    }
    database.commit();
}

namespace {

QString createLevel(const TestFolder& folder, const QString& name,
                    const QList<store::TableLayout>& layouts, const QString& passWord) {
    const QString dir = folder.sub(name);
    store::Session session;
    store::Database database(session, QStringLiteral("X"), dir);
    database.connection(true);
    for (const store::TableLayout& layout : layouts)
        database.createTable(layout);
    putRows(dir, QStringLiteral("Head"), {{{QStringLiteral("PassWord"), passWord}}});
    return QDir::toNativeSeparators(dir) + QDir::separator();
}

} // namespace

QString makeBLevel(const TestFolder& folder, const QString& name, const QString& passWord,
                   int ratioColumns) {
    return createLevel(folder, name, sample::bLevelLayouts(ratioColumns), passWord);
}

QString makeALevel(const TestFolder& folder, const QString& name, const QString& passWord,
                   const QList<std::pair<QString, QString>>& departments) {
    const QString dir = createLevel(folder, name, sample::aLevelLayouts(), passWord);
    QList<Row> rows{{{QStringLiteral("code"), 0}}};
    for (qsizetype i = 0; i < departments.size(); ++i)
        rows << Row{{QStringLiteral("code"), i + 1},
                    {QStringLiteral("Bumonmei"), departments[i].first},
                    {QStringLiteral("Path"), departments[i].second}};
    putRows(dir, QStringLiteral("BUMON"), rows);
    return dir;
}

QStringList rowsOf(const QString& folder, const QString& table, const QStringList& fields,
                   const QString& order, const QString& where) {
    store::Session session;
    store::Query query(session, folder);
    QStringList quoted;
    for (const QString& field : fields)
        quoted << QStringLiteral("\"%1\"").arg(field);
    query.setSql(QStringLiteral("select %1 from \"%2\"%3 order by %4")
                     .arg(quoted.join(QLatin1Char(',')), table,
                          where.isEmpty() ? QString() : QStringLiteral(" where ") + where, order));
    query.open();
    QStringList lines;
    for (; !query.eof(); query.next()) {
        QStringList values;
        for (qsizetype i = 0; i < query.fieldCount(); ++i)
            values << query.field(i).asString();
        lines << values.join(QLatin1Char('|'));
    }
    return lines;
}

} // namespace marubo::test
