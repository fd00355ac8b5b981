#include "Table.h"

#include "Database.h"
#include "EngineError.h"
#include "FileConnection.h"
#include "Session.h"
#include "SqlLexer.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace marubo::store {

namespace {

// Rows read ahead at a time when walking a table.
constexpr int kWindowRows = 64;

QString columnList(const QList<FieldDef>& fields) {
    QStringList names;
    for (const FieldDef& field : fields)
        names << quoteIdentifier(field.name);
    return names.join(QStringLiteral(", "));
}

} // namespace

Table::Table(Session& session, const QString& databaseName, const QString& tableName)
    : DataSet(session), tableName_(tableName) {
    setDatabaseName(databaseName);
}

Table::~Table() {
    close();
}

void Table::setTableName(const QString& name) {
    if (isActive())
        throw EngineError(EngineError::Kind::State,
                          QStringLiteral("テーブル「%1」は開いているため、名前を変えられません。")
                              .arg(tableName_));
    tableName_ = name;
}

void Table::setFieldNames(const QStringList& names) {
    if (isActive())
        throw EngineError(EngineError::Kind::State,
                          QStringLiteral("テーブル「%1」は開いているため、項目を変えられません。")
                              .arg(tableName_));
    declaredFields_ = names;
}

void Table::setIndexName(const QString& name) {
    changeOrder(name, QString());
}

void Table::setIndexFieldNames(const QString& fields) {
    changeOrder(QString(), fields);
}

void Table::changeOrder(const QString& indexName, const QString& indexFields) {
    const QString oldName = indexName_, oldFields = indexFieldNames_;
    indexName_ = indexName;
    indexFieldNames_ = indexFields;
    if (!isActive())
        return;
    checkBrowseMode();
    try {
        prepareOrderAndFilter();
    } catch (...) {
        indexName_ = oldName;
        indexFieldNames_ = oldFields;
        prepareOrderAndFilter();
        throw;
    }
    forgetList(); // the current row stays current
    notify(DataSetEvent::DataChanged);
}

void Table::setFilter(const QString& text) {
    FilterExpression parsed = FilterExpression::parse(text);
    const FilterExpression old = filter_;
    filter_ = std::move(parsed);
    if (!isActive() || !filtered_)
        return;
    checkBrowseMode();
    try {
        prepareOrderAndFilter();
    } catch (...) {
        filter_ = old;
        prepareOrderAndFilter();
        throw;
    }
    forgetList();
    pendingFirst_ = true;
    notify(DataSetEvent::DataChanged);
}

void Table::setFiltered(bool filtered) {
    if (filtered == filtered_)
        return;
    filtered_ = filtered;
    if (!isActive())
        return;
    checkBrowseMode();
    try {
        prepareOrderAndFilter();
    } catch (...) {
        filtered_ = !filtered;
        prepareOrderAndFilter();
        throw;
    }
    forgetList();
    pendingFirst_ = true;
    notify(DataSetEvent::DataChanged);
}

bool Table::exists() {
    if (isActive())
        return true;
    Database* handle = session().findDatabase(databaseName());
    const QString folder = handle                     ? handle->directory()
                           : databaseName().isEmpty() ? QDir::currentPath()
                                                      : databaseName();
    if (!handle || !handle->isConnected())
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            return false;
    auto connection = resolveConnection(false);
    return connection && findTableName(connection->db(), tableName_).has_value();
}

const FieldDef* Table::layoutField(const QString& name) const {
    const qsizetype index = layout_.fieldIndex(name);
    return index < 0 ? nullptr : &layout_.fields[index];
}

void Table::doOpen() {
    connection_ = resolveConnection(false);
    if (!connection_) {
        const QString folder = database()                 ? database()->directory()
                               : databaseName().isEmpty() ? QDir::currentPath()
                                                          : databaseName();
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("テーブル「%1」がフォルダ「%2」にありません。")
                              .arg(tableName_, QDir::toNativeSeparators(folder)));
    }
    layout_ = readTableLayout(connection_->db(), tableName_);
    QList<FieldDef> defs;
    if (declaredFields_.isEmpty()) {
        defs = layout_.fields;
    } else {
        for (const QString& name : declaredFields_) {
            const FieldDef* def = layoutField(name);
            if (!def)
                throw EngineError(
                    EngineError::Kind::NotFound,
                    QStringLiteral("テーブル「%1」に項目「%2」がありません（フォルダ「%3」）。")
                        .arg(tableName_, name, QDir::toNativeSeparators(connection_->folder())));
            defs << *def;
        }
    }
    setFields(defs);
    quotedName_ = quoteIdentifier(layout_.name);
    readContext_ = QStringLiteral("テーブル「%1」を読めません。").arg(tableName_);
    writeContext_ = QStringLiteral("テーブル「%1」にレコードを保存できません。").arg(tableName_);
    keyIndexes_.clear();
    for (const QString& key : layout_.primaryKey)
        keyIndexes_.push_back(indexOfField(defs, key));
    rowStatement_ = SqliteStatement(
        connection_->db(),
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1").arg(columnList(defs), quotedName_),
        readContext_);
    tableVersion_ = connection_->tableVersion(layout_.name);
    QStringList placeholders;
    for (int i = 0; i < kWindowRows; ++i)
        placeholders << QStringLiteral("?");
    windowStatement_ = SqliteStatement(
        connection_->db(),
        QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
            .arg(columnList(defs), quotedName_, placeholders.join(QLatin1Char(','))),
        readContext_);
    windowStart_ = -1;
    window_.clear();
    prepareOrderAndFilter();
    forgetList();
    current_.reset();
    lastPosition_ = -1;
    pendingFirst_ = true;
    loadedRow_.reset();
}

void Table::doClose() {
    listStatement_ = {};
    rowStatement_ = {};
    windowStatement_ = {};
    window_.clear();
    windowStart_ = -1;
    insertStatement_ = {};
    updateStatements_.clear();
    deleteStatement_ = {};
    findStatements_.clear();
    rows_.clear();
    rows_.shrink_to_fit();
    positions_.clear();
    positionsValid_ = false;
    listValid_ = false;
    current_.reset();
    position_ = -1;
    pendingFirst_ = false;
    loadedRow_.reset();
    tableVersion_ = nullptr;
    layout_ = {};
    connection_.reset();
}

void Table::prepareOrderAndFilter() {
    QStringList sort;
    if (!indexName_.isEmpty()) {
        const IndexDef* index = layout_.findIndex(indexName_);
        if (!index)
            throw EngineError(EngineError::Kind::NotFound,
                              QStringLiteral("テーブル「%1」に索引「%2」がありません。")
                                  .arg(tableName_, indexName_));
        sort = index->fields;
    } else if (!indexFieldNames_.isEmpty()) {
        for (const QString& part : indexFieldNames_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const FieldDef* def = layoutField(part.trimmed());
            if (!def)
                throw EngineError(EngineError::Kind::NotFound,
                                  QStringLiteral("テーブル「%1」に並び順の項目「%2」がありません。")
                                      .arg(tableName_, part.trimmed()));
            sort << def->name;
        }
    } else {
        sort = layout_.primaryKey;
    }
    QString where;
    QVariantList binds;
    QStringList names;
    if (filtered_ && !filter_.isEmpty()) {
        where = filter_.toSql([this](const QString& name) { return layoutField(name); }, binds,
                              tableName_);
        for (const QString& name : filter_.fieldNames())
            names << name.toLower();
    }
    QStringList order;
    for (const QString& field : sort)
        order << quoteIdentifier(field);
    order << QStringLiteral("rowid");
    const QString orderSql = order.join(QStringLiteral(", "));
    SqliteStatement list(connection_->db(),
                         QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3")
                             .arg(quotedName_,
                                  where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where,
                                  orderSql),
                         readContext_);
    sortFields_ = sort;
    whereSql_ = where;
    whereBinds_ = binds;
    filterFields_ = names;
    orderSql_ = orderSql;
    listStatement_ = std::move(list);
    findStatements_.clear();
}

void Table::forgetList() {
    listValid_ = false;
    positionsValid_ = false;
    windowStart_ = -1;
    position_ = -1;
}

std::pair<quint64, quint64> Table::stamp() const {
    return {connection_->epoch(), *tableVersion_};
}

bool Table::listFresh() const {
    return listValid_ && connection_->epoch() == syncedEpoch_ && *tableVersion_ == syncedVersion_;
}

void Table::refreshList() {
    rows_.clear();
    listStatement_.reset();
    for (qsizetype i = 0; i < whereBinds_.size(); ++i)
        listStatement_.bind(int(i + 1), whereBinds_[i]);
    while (listStatement_.step())
        rows_.push_back(listStatement_.columnInt64(0));
    listStatement_.reset(); // releases the read lock
    listValid_ = true;
    syncedEpoch_ = connection_->epoch();
    syncedVersion_ = *tableVersion_;
    positionsValid_ = false;
    windowStart_ = -1; // the rows read ahead belong to the old list's positions
    position_ = -1;
    if (!current_)
        return;
    const qsizetype found = positionOf(*current_);
    if (found >= 0) {
        position_ = found;
        lastPosition_ = found;
        return;
    }
    // The current row has gone or left the filter: land on the row now in its place.
    if (rows_.empty()) {
        current_.reset();
        return;
    }
    setCurrentPosition(std::clamp<qsizetype>(lastPosition_, 0, qsizetype(rows_.size()) - 1));
}

qsizetype Table::positionOf(qint64 rowId) {
    if (!positionsValid_) {
        positions_.clear();
        positions_.reserve(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i)
            positions_.emplace(rows_[i], qsizetype(i));
        positionsValid_ = true;
    }
    const auto found = positions_.find(rowId);
    return found == positions_.end() ? -1 : found->second;
}

void Table::settle() {
    if (!pendingFirst_)
        return;
    pendingFirst_ = false;
    const qsizetype count = visibleCount();
    setCurrentPosition(count > 0 ? 0 : -1);
    bof_ = true;
    eof_ = count == 0;
}

qsizetype Table::visibleCount() {
    if (!listFresh())
        refreshList();
    return qsizetype(rows_.size());
}

qsizetype Table::currentPosition() {
    if (!listFresh()) {
        refreshList();
    } else if (position_ < 0 && current_) {
        const qsizetype found = positionOf(*current_);
        if (found >= 0) {
            position_ = found;
            lastPosition_ = found;
        } else if (rows_.empty()) {
            current_.reset();
        } else {
            setCurrentPosition(
                std::clamp<qsizetype>(lastPosition_, 0, qsizetype(rows_.size()) - 1));
        }
    }
    return current_ ? position_ : -1;
}

bool Table::hasCurrentRow() {
    return current_.has_value();
}

void Table::setCurrentPosition(qsizetype position) {
    position_ = position;
    if (position >= 0) {
        lastPosition_ = position;
        current_ = rows_[size_t(position)];
    } else {
        current_.reset();
    }
}

void Table::loadBuffer() {
    if (!current_) {
        clearBuffer();
        loadedRow_.reset();
        return;
    }
    const std::pair<quint64, quint64> now = stamp();
    if (loadedRow_ == current_ && loadedStamp_ == now)
        return;
    // Walking: take the row from the rows read ahead, reading the next ones when needed.
    if (position_ >= 0 && listFresh()) {
        const qsizetype offset = position_ - windowStart_;
        const bool inWindow = windowStart_ >= 0 && windowStamp_ == now && offset >= 0 &&
                              offset < qsizetype(window_.size());
        if (!inWindow)
            readWindow(position_);
        const auto& row = window_[size_t(position_ - windowStart_)];
        if (row) {
            buffer_ = *row;
            loadedRow_ = current_;
            loadedStamp_ = now;
            return;
        }
    }
    if (readStoredRow()) {
        loadedRow_ = current_;
        loadedStamp_ = now;
        return;
    }
    // Deleted through another cursor: move to the row now in its place.
    const qint64 missing = *current_;
    listValid_ = false;
    refreshList();
    if (current_ && *current_ != missing) {
        loadBuffer();
    } else {
        current_.reset();
        clearBuffer();
        loadedRow_.reset();
    }
}

void Table::reloadForEdit() {
    // Another program may have changed the row since it was read: an edit starts
    // from what the file holds now. Inside a transaction of ours nobody else can
    // write, and the row as read is the row as stored.
    if (current_ && !connection_->inTransaction() && readStoredRow()) {
        loadedRow_ = current_;
        loadedStamp_ = stamp();
        keepWindowRow(loadedStamp_);
        return;
    }
    loadBuffer();
}

bool Table::readStoredRow() {
    rowStatement_.reset();
    rowStatement_.bindInt64(1, *current_);
    const bool found = rowStatement_.step();
    if (found) {
        const QList<FieldDef>& defs = fieldDefs();
        for (qsizetype i = 0; i < defs.size(); ++i)
            buffer_[i] = rowStatement_.columnFor(int(i), int(defs[i].type));
    }
    rowStatement_.reset();
    return found;
}

QVariant Table::rowValue(qsizetype position, qsizetype index) {
    // The list is fresh here: the caller has just counted the rows.
    const std::pair<quint64, quint64> now = stamp();
    const qsizetype offset = position - windowStart_;
    if (!(windowStart_ >= 0 && windowStamp_ == now && offset >= 0 &&
          offset < qsizetype(window_.size())))
        readWindow(position);
    const auto& row = window_[size_t(position - windowStart_)];
    return row ? (*row)[index] : QVariant();
}

void Table::readWindow(qsizetype position) {
    const qsizetype count = qsizetype(rows_.size());
    // Moving backwards, read the rows before the position; otherwise those after it.
    qsizetype start = position;
    if (windowStart_ >= 0 && position < windowStart_)
        start = qMax<qsizetype>(0, position - kWindowRows + 1);
    const qsizetype end = qMin<qsizetype>(count, start + kWindowRows);
    std::unordered_map<qint64, qsizetype> offsets;
    windowStatement_.reset();
    for (int i = 0; i < kWindowRows; ++i) {
        if (start + i < end) {
            offsets.emplace(rows_[size_t(start + i)], i);
            windowStatement_.bindInt64(i + 1, rows_[size_t(start + i)]);
        } else {
            windowStatement_.bind(i + 1, QVariant());
        }
    }
    window_.assign(size_t(end - start), std::nullopt);
    const QList<FieldDef>& defs = fieldDefs();
    while (windowStatement_.step()) {
        const auto found = offsets.find(windowStatement_.columnInt64(0));
        if (found == offsets.end())
            continue;
        QVector<QVariant> values(defs.size());
        for (qsizetype i = 0; i < defs.size(); ++i)
            values[i] = windowStatement_.columnFor(int(i + 1), int(defs[i].type));
        window_[size_t(found->second)] = std::move(values);
    }
    windowStatement_.reset(); // releases the read lock
    windowStart_ = start;
    windowStamp_ = stamp();
}

void Table::keepWindowRow(std::pair<quint64, quint64> oldStamp) {
    // An edit posted through this table changes only its own row: keep the rows
    // read ahead, with that row as posted.
    if (windowStart_ < 0 || windowStamp_ != oldStamp)
        return;
    windowStamp_ = stamp();
    for (size_t i = 0; i < window_.size(); ++i)
        if (rows_[size_t(windowStart_) + i] == *current_)
            window_[i] = buffer_;
}

void Table::beginInsert() {
    savedCurrent_ = current_;
    savedPosition_ = position_;
    savedPendingFirst_ = pendingFirst_;
    loadedRow_.reset();
}

void Table::cancelInsert() {
    current_ = savedCurrent_;
    position_ = savedPosition_;
    pendingFirst_ = savedPendingFirst_;
    loadedRow_.reset();
}

void Table::checkKeyFields() {
    const bool inserting = state() == DataSetState::Insert;
    for (size_t k = 0; k < keyIndexes_.size(); ++k) {
        const qsizetype index = keyIndexes_[k];
        if (index >= 0 && inserting && fieldDefs()[index].type == FieldType::AutoInc)
            continue;
        const bool empty = index < 0 ? inserting : buffer_[index].isNull();
        if (empty)
            throw EngineError(
                EngineError::Kind::KeyViolation,
                QStringLiteral("テーブル「%1」のキー項目「%2」が空のため保存できません。")
                    .arg(tableName_, layout_.primaryKey[qsizetype(k)]));
    }
}

void Table::rethrowWithKey(const EngineError& error) {
    const QString detail = error.message().section(QLatin1Char('\n'), -1);
    if (!detail.contains(QStringLiteral("UNIQUE")))
        throw EngineError(
            EngineError::Kind::KeyViolation,
            QStringLiteral("テーブル「%1」の制約に合わないため、このレコードは保存できません。\n%2")
                .arg(tableName_, detail));
    QStringList parts;
    for (const QString& key : layout_.primaryKey) {
        const qsizetype index = indexOfField(fieldDefs(), key);
        if (index >= 0)
            parts << QStringLiteral("%1=%2").arg(key,
                                                 valueAsString(fieldDefs()[index], buffer_[index]));
    }
    throw EngineError(
        EngineError::Kind::KeyViolation,
        QStringLiteral("テーブル「%1」に同じキー（%2）のレコードがすでにあります。\n%3")
            .arg(tableName_, parts.join(QStringLiteral(", ")), detail));
}

void Table::markOwnChange(bool orderMayChange) {
    const bool wasFresh = listFresh();
    const auto oldStamp = stamp();
    ++*tableVersion_;
    if (wasFresh && !orderMayChange) {
        syncedVersion_ = *tableVersion_;
        keepWindowRow(oldStamp);
    } else {
        listValid_ = false;
        position_ = -1;
    }
}

void Table::doPost(bool inserting) {
    checkKeyFields();
    const QList<FieldDef>& defs = fieldDefs();
    const QString& table = quotedName_;
    try {
        if (inserting) {
            if (!insertStatement_.isPrepared()) {
                QStringList values;
                for (const FieldDef& def : defs)
                    values << (def.type == FieldType::AutoInc
                                   ? QStringLiteral(
                                         "coalesce(?, (SELECT ifnull(max(%1), 0) + 1 FROM %2))")
                                         .arg(quoteIdentifier(def.name), table)
                                   : QStringLiteral("?"));
                insertStatement_ = SqliteStatement(
                    connection_->db(),
                    QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(table, columnList(defs), values.join(QStringLiteral(", "))),
                    writeContext_);
            }
            insertStatement_.reset();
            for (qsizetype i = 0; i < defs.size(); ++i)
                insertStatement_.bind(int(i + 1), buffer_[i]);
            insertStatement_.step();
            insertStatement_.reset();
            const qint64 rowId = sqlite3_last_insert_rowid(connection_->db().handle());
            ++*tableVersion_;
            listValid_ = false;
            current_ = rowId;
            position_ = -1;
            pendingFirst_ = false;
        } else {
            // Only the fields changed in this edit are written, so that what another
            // program changed meanwhile in the other fields stays. With none changed,
            // the row is only looked for, to report it when it has gone.
            std::vector<qsizetype> changed;
            QByteArray fieldsSet(defs.size(), '0'); // the statement's key: one mark per field
            // A key of one INTEGER field is SQLite's row id: changing the key moves
            // the row, and only then the update has to say where the row is now.
            bool movesRow = false;
            for (qsizetype i = 0; i < defs.size(); ++i) {
                if (!fieldChanged(i))
                    continue;
                fieldsSet[i] = '1';
                changed.push_back(i);
                if (layout_.primaryKey.size() == 1 && defs[i].type == FieldType::Integer &&
                    defs[i].name.compare(layout_.primaryKey.first(), Qt::CaseInsensitive) == 0)
                    movesRow = true;
            }
            SqliteStatement& update = updateStatements_[fieldsSet];
            if (!update.isPrepared()) {
                QStringList sets;
                for (const qsizetype i : changed)
                    sets << quoteIdentifier(defs[i].name) + QStringLiteral(" = ?");
                const QString assignments = sets.join(QStringLiteral(", "));
                QString sql =
                    changed.empty()
                        ? QStringLiteral("SELECT rowid FROM %1 WHERE rowid = ?").arg(table)
                        : QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                              .arg(table, assignments);
                if (movesRow)
                    sql += QStringLiteral(" RETURNING rowid");
                update = SqliteStatement(connection_->db(), sql, writeContext_);
            }
            update.reset();
            int parameter = 1;
            for (const qsizetype i : changed)
                update.bind(parameter++, buffer_[i]);
            update.bindInt64(parameter, *current_);
            bool found = update.step(); // a row of the SELECT or of RETURNING
            qint64 rowId = *current_;
            if (found)
                rowId = update.columnInt64(0);
            while (update.step())
                ;
            update.reset();
            if (!changed.empty() && !movesRow)
                found = sqlite3_changes(connection_->db().handle()) > 0;
            if (!found)
                throw EngineError(
                    EngineError::Kind::NotFound,
                    QStringLiteral("テーブル「%1」の編集中のレコードは、ほかで削除されました。")
                        .arg(tableName_));
            if (changed.empty()) {
                loadedRow_.reset();
                return;
            }
            bool orderMayChange = rowId != *current_;
            current_ = rowId;
            for (const qsizetype i : changed)
                if (sortFields_.contains(defs[i].name, Qt::CaseInsensitive) ||
                    filterFields_.contains(defs[i].name.toLower()))
                    orderMayChange = true;
            markOwnChange(orderMayChange);
        }
    } catch (const EngineError& error) {
        if (error.kind() == EngineError::Kind::KeyViolation)
            rethrowWithKey(error);
        throw;
    }
    loadedRow_.reset();
}

void Table::doDelete() {
    const qint64 target = *current_;
    currentPosition(); // brings the list up to date
    if (!current_ || *current_ != target)
        throw EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral("テーブル「%1」の削除しようとしたレコードは、ほかで削除されました。")
                .arg(tableName_));
    if (!deleteStatement_.isPrepared())
        deleteStatement_ = SqliteStatement(
            connection_->db(), QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(quotedName_),
            QStringLiteral("テーブル「%1」のレコードを削除できません。").arg(tableName_));
    deleteStatement_.reset();
    deleteStatement_.bindInt64(1, target);
    deleteStatement_.step();
    deleteStatement_.reset();
    ++*tableVersion_;
    rows_.erase(rows_.begin() + position_);
    positionsValid_ = false;
    syncedVersion_ = *tableVersion_;
    loadedRow_.reset();
    const qsizetype count = qsizetype(rows_.size());
    if (count == 0) {
        setCurrentPosition(-1);
        bof_ = eof_ = true;
    } else if (position_ < count) {
        setCurrentPosition(position_);
        bof_ = eof_ = false;
    } else {
        setCurrentPosition(count - 1);
        eof_ = true;
        bof_ = false;
    }
}

Bookmark Table::doBookmark() {
    return current_ ? Bookmark{*current_} : Bookmark{};
}

void Table::doGotoBookmark(const Bookmark& bookmark) {
    visibleCount();
    const qsizetype position = bookmark.isValid() ? positionOf(*bookmark.key) : -1;
    if (position < 0)
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("テーブル「%1」に戻る先のレコードがありません"
                                         "（削除されたか、絞り込みの外です）。")
                              .arg(tableName_));
    pendingFirst_ = false;
    setCurrentPosition(position);
}

bool Table::findKey(const QVariantList& values) {
    requireActive();
    checkBrowseMode();
    if (sortFields_.isEmpty())
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("テーブル「%1」には検索に使う索引がありません。").arg(tableName_));
    if (values.isEmpty() || values.size() > sortFields_.size())
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("テーブル「%1」の検索：キーの値は %2 個までです（%3 個あります）。")
                .arg(tableName_)
                .arg(sortFields_.size())
                .arg(values.size()));
    const int count = int(values.size());
    SqliteStatement& statement = findStatements_[count];
    if (!statement.isPrepared()) {
        QStringList conditions;
        if (!whereSql_.isEmpty())
            conditions << whereSql_;
        for (int i = 0; i < count; ++i)
            conditions << quoteIdentifier(sortFields_[i]) + QStringLiteral(" IS ?");
        statement = SqliteStatement(
            connection_->db(),
            QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
                .arg(quotedName_, conditions.join(QStringLiteral(" AND ")), orderSql_),
            QStringLiteral("テーブル「%1」を検索できません。").arg(tableName_));
    }
    statement.reset();
    int parameter = 1;
    for (const QVariant& bind : whereBinds_)
        statement.bind(parameter++, bind);
    for (int i = 0; i < count; ++i)
        statement.bind(parameter++,
                       coerceValue(*layoutField(sortFields_[i]), values[i], tableName_));
    const bool found = statement.step();
    const qint64 rowId = found ? statement.columnInt64(0) : 0;
    statement.reset();
    if (!found)
        return false;
    current_ = rowId;
    position_ = -1;
    pendingFirst_ = false;
    if (listFresh() && positionsValid_) {
        position_ = positionOf(rowId);
        lastPosition_ = position_;
    }
    bof_ = eof_ = false;
    notify(DataSetEvent::Scrolled);
    return true;
}

void Table::emptyTable() {
    if (isActive())
        cancel();
    auto connection = isActive() ? connection_ : resolveConnection(false);
    const std::optional<QString> actual =
        connection ? findTableName(connection->db(), tableName_) : std::nullopt;
    if (!actual)
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("テーブル「%1」がありません。").arg(tableName_));
    SqliteStatement clear(connection->db(),
                          QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(*actual)),
                          QStringLiteral("テーブル「%1」を空にできません。").arg(tableName_));
    clear.step();
    connection->bumpTable(*actual);
    if (!isActive())
        return;
    forgetList();
    current_.reset();
    lastPosition_ = -1;
    pendingFirst_ = false;
    loadedRow_.reset();
    bof_ = eof_ = true;
    notify(DataSetEvent::DataChanged);
}

} // namespace marubo::store
