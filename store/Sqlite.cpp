#include "Sqlite.h"

#include "FieldDef.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace marubo::store {

namespace {

QString folderOf(const QString& file) {
    return QDir::toNativeSeparators(QFileInfo(file).absolutePath());
}

EngineError sqliteError(sqlite3* db, int rc, const QString& file, const QString& context) {
    using Kind = EngineError::Kind;
    const QString where = QDir::toNativeSeparators(file);
    Kind kind = Kind::General;
    QString text;
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        kind = Kind::Locked;
        text = QStringLiteral("データ「%1」は他のプログラムが使用中です。"
                              "しばらく待ってからやり直してください。")
                   .arg(where);
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        kind = Kind::ReadOnly;
        text = QStringLiteral("データ「%1」は読み取り専用のため書き込めません。"
                              "ファイルとフォルダ「%2」の書き込み権限を確認してください。")
                   .arg(where, folderOf(file));
        break;
    case SQLITE_CANTOPEN:
        kind = Kind::CannotOpen;
        text = QStringLiteral("データ「%1」を開けません。"
                              "フォルダ「%2」の場所と書き込み権限を確認してください。")
                   .arg(where, folderOf(file));
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        kind = Kind::Corrupt;
        text =
            QStringLiteral("データ「%1」は壊れているか、データファイルではありません。").arg(where);
        break;
    case SQLITE_FULL:
        text = QStringLiteral("ディスクの空きが足りないため、データ「%1」に書き込めません。")
                   .arg(where);
        break;
    case SQLITE_IOERR:
        text = QStringLiteral("データ「%1」の読み書き中にエラーが発生しました。").arg(where);
        break;
    case SQLITE_CONSTRAINT:
        kind = Kind::KeyViolation;
        text = QStringLiteral("キー違反です。同じキーのレコードがすでにあります。");
        break;
    default: {
        const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        if (detail.startsWith(u"no such table: ")) {
            kind = Kind::NotFound;
            text = QStringLiteral("テーブル「%1」がフォルダ「%2」にありません。")
                       .arg(detail.mid(15), folderOf(file));
        } else if (detail.startsWith(u"no such column: ")) {
            kind = Kind::NotFound;
            text = QStringLiteral("項目「%1」がありません（データ「%2」）。")
                       .arg(detail.mid(16), where);
        } else {
            text = QStringLiteral("データ「%1」でデータベースエラーが発生しました。").arg(where);
        }
        break;
    }
    }
    QString message = context.isEmpty() ? text : context + QLatin1Char('\n') + text;
    const char* detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    message += QStringLiteral("\n（%1）").arg(QString::fromUtf8(detail));
    return EngineError(kind, message);
}

} // namespace

SqliteDb::SqliteDb(const QString& file, bool create, int busyTimeoutMs) : file_(file) {
    // No memory statistics: they cost a global lock on every allocation. Only
    // possible before SQLite starts; later calls change nothing.
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    Q_UNUSED(configured);
    // Each connection is used by one thread only: no per-call locking.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const EngineError error = sqliteError(db_, rc, file_, {});
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw error;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    try {
        // Reading the schema tells a data file from anything else at once.
        SqliteStatement probe(
            *this, QStringLiteral("SELECT count(*) FROM sqlite_schema"),
            QStringLiteral("データ「%1」を開けません。").arg(QDir::toNativeSeparators(file)));
        probe.step();
        probe = SqliteStatement();
        SqliteStatement mode(*this, QStringLiteral("PRAGMA journal_mode"));
        // Data folders may sit on a network share: keep the rollback journal.
        if (mode.step() && mode.column(0).toString().compare(u"delete", Qt::CaseInsensitive) != 0) {
            mode = SqliteStatement();
            exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteDb::~SqliteDb() {
    if (db_)
        sqlite3_close_v2(db_);
}

void SqliteDb::exec(const QString& sql) {
    SqliteStatement statement(*this, sql);
    while (statement.step())
        ;
}

void SqliteDb::fail(int rc, const QString& context) const {
    throw sqliteError(db_, rc, file_, context);
}

SqliteStatement::SqliteStatement(SqliteDb& db, const QString& sql, const QString& context)
    : db_(&db), sql_(sql), context_(context) {
    const QByteArray text = sql.toUtf8();
    const int rc =
        sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &st_, nullptr);
    if (rc != SQLITE_OK) {
        st_ = nullptr;
        db.fail(rc, context.isEmpty()
                        ? QStringLiteral("SQL文を実行できません：%1").arg(sql.simplified())
                        : context);
    }
}

SqliteStatement::~SqliteStatement() {
    if (st_)
        sqlite3_finalize(st_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), st_(other.st_), sql_(std::move(other.sql_)),
      context_(std::move(other.context_)), texts_(std::move(other.texts_)) {
    other.st_ = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        if (st_)
            sqlite3_finalize(st_);
        db_ = other.db_;
        st_ = other.st_;
        sql_ = std::move(other.sql_);
        context_ = std::move(other.context_);
        texts_ = std::move(other.texts_);
        other.st_ = nullptr;
    }
    return *this;
}

void SqliteStatement::reset() {
    sqlite3_reset(st_);
}

void SqliteStatement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || (value.typeId() == QMetaType::QString &&
                             static_cast<const QString*>(value.constData())->isNull())) {
        rc = sqlite3_bind_null(st_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(st_, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(st_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(st_, index, value.toDouble());
            break;
        case QMetaType::QDate: {
            const QDate date = value.toDate();
            if (date.year() >= 1 && date.year() <= 9999) {
                char text[10];
                const int parts[3] = {date.year(), date.month(), date.day()};
                const int ends[3] = {3, 6, 9};
                for (int p = 0; p < 3; ++p)
                    for (int i = ends[p], v = parts[p], n = p == 0 ? 4 : 2; n > 0;
                         --i, --n, v /= 10)
                        text[i] = char('0' + v % 10);
                text[4] = text[7] = '-';
                rc = sqlite3_bind_text(st_, index, text, 10, SQLITE_TRANSIENT);
            } else {
                const QByteArray text = date.toString(Qt::ISODate).toUtf8();
                rc = sqlite3_bind_text(st_, index, text.constData(), int(text.size()),
                                       SQLITE_TRANSIENT);
            }
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(st_, index, bytes.constData(), int(bytes.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QString: {
            const QString& text = *static_cast<const QString*>(value.constData());
            if (texts_.size() < size_t(index))
                texts_.resize(size_t(index));
            QByteArray& utf8 = texts_[size_t(index - 1)];
            QStringEncoder encoder(QStringEncoder::Utf8);
            utf8.resize(encoder.requiredSpace(text.size()));
            char* end = encoder.appendToBuffer(utf8.data(), text);
            rc = sqlite3_bind_text(st_, index, utf8.constData(), int(end - utf8.constData()),
                                   SQLITE_STATIC);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc =
                sqlite3_bind_text(st_, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        db_->fail(rc, QStringLiteral("SQL文に値を渡せません：%1").arg(sql_.simplified()));
}

void SqliteStatement::bindInt64(int index, qint64 value) {
    const int rc = sqlite3_bind_int64(st_, index, value);
    if (rc != SQLITE_OK)
        db_->fail(rc, QStringLiteral("SQL文に値を渡せません：%1").arg(sql_.simplified()));
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(st_);
    db_->fail(rc, context_.isEmpty()
                      ? QStringLiteral("SQL文を実行できません：%1").arg(sql_.simplified())
                      : context_);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(st_);
}

QString SqliteStatement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(st_, column));
}

QString SqliteStatement::columnDeclaredType(int column) const {
    const char* type = sqlite3_column_decltype(st_, column);
    return type ? QString::fromUtf8(type) : QString();
}

QVariant SqliteStatement::column(int column) const {
    switch (sqlite3_column_type(st_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(st_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st_, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st_, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(st_, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(st_, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(st_, column)));
    }
    default:
        return QVariant();
    }
}

qint64 SqliteStatement::columnInt64(int column) const {
    return sqlite3_column_int64(st_, column);
}

QVariant SqliteStatement::columnFor(int column, int type) const {
    const int storage = sqlite3_column_type(st_, column);
    if (type == int(FieldType::Date) && storage == SQLITE_TEXT &&
        sqlite3_column_bytes(st_, column) == 10) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st_, column));
        auto digits = [t](int from, int count) {
            int value = 0;
            for (int i = from; i < from + count; ++i) {
                if (t[i] < '0' || t[i] > '9')
                    return -1;
                value = value * 10 + (t[i] - '0');
            }
            return value;
        };
        const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
        const QDate date(year, month, day);
        if (t[4] == '-' && t[7] == '-' && year >= 0 && month >= 0 && day >= 0 && date.isValid())
            return QVariant(date);
    }
    if ((type == int(FieldType::Money) || type == int(FieldType::Float)) &&
        (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT))
        return QVariant(sqlite3_column_double(st_, column));
    return valueFromStorage(FieldType(type), this->column(column));
}

} // namespace marubo::store
