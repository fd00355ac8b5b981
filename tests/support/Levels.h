#pragma once

#include "TestFolder.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

namespace marubo::test {

// A row given as (field, value) pairs.
using Row = QList<std::pair<QString, QVariant>>;

// Appends `rows` to `table` of the data set in `folder`, through the engine.
void putRows(const QString& folder, const QString& table, const QList<Row>& rows);

// A B level in the accounting package's layouts, with its Head's PassWord and
// an allocation table of `ratioColumns` ratio columns; no other rows.
QString makeBLevel(const TestFolder& folder, const QString& name, const QString& passWord,
                   int ratioColumns = 4);

// An A level in the package's layouts with its Head's PassWord and BUMON rows
// code 0 (unnamed), then 1, 2, ... for the given (name, folder) departments.
QString makeALevel(const TestFolder& folder, const QString& name, const QString& passWord,
                   const QList<std::pair<QString, QString>>& departments);

// The rows of a table as text, one line per row: the given fields joined by
// "|", in the given SQL order.
QStringList rowsOf(const QString& folder, const QString& table, const QStringList& fields,
                   const QString& order, const QString& where = {});

} // namespace marubo::test
