#include "DataSet.h"

#include "Database.h"
#include "EngineError.h"
#include "Session.h"

#include <QDir>
#include <algorithm>

namespace marubo::store {

DataSet::DataSet(Session& session) : session_(session) {
    session_.attach(this);
}

DataSet::~DataSet() {
    session_.detach(this);
}

void DataSet::setDatabaseName(const QString& name) {
    if (isActive())
        throw EngineError(EngineError::Kind::State,
                          QStringLiteral("「%1」は開いているため、フォルダを変えられません。")
                              .arg(displayName()));
    databaseName_ = name;
}

std::shared_ptr<FileConnection> DataSet::resolveConnection(bool create) {
    database_ = session_.findDatabase(databaseName_);
    if (database_)
        return database_->connection(create);
    return session_.connect(databaseName_.isEmpty() ? QDir::currentPath() : databaseName_, create);
}

void DataSet::open() {
    if (isActive())
        return;
    bof_ = true;
    eof_ = true;
    messageName_ = displayName();
    try {
        doOpen();
    } catch (...) {
        doClose();
        database_ = nullptr;
        fields_.clear();
        throw;
    }
    state_ = DataSetState::Browse;
    modified_ = false;
    notify(DataSetEvent::Opened);
}

void DataSet::close() {
    if (!isActive())
        return;
    state_ = DataSetState::Inactive;
    modified_ = false;
    doClose();
    database_ = nullptr;
    fields_.clear();
    notify(DataSetEvent::Closed);
}

void DataSet::setActive(bool active) {
    if (active)
        open();
    else
        close();
}

void DataSet::requireActive() const {
    if (!isActive())
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("「%1」は開いていないため、この操作はできません。").arg(displayName()));
}

void DataSet::readOnlyError() const {
    throw EngineError(
        EngineError::Kind::State,
        QStringLiteral("「%1」は読み取り専用のため変更できません。").arg(displayName()));
}

void DataSet::setFields(const QList<FieldDef>& defs) {
    defs_ = defs;
    fields_.clear();
    for (qsizetype i = 0; i < defs.size(); ++i)
        fields_.push_back(std::make_unique<Field>(*this, defs[i], i));
    buffer_ = QVector<QVariant>(defs.size());
    saved_ = buffer_;
    changed_ = QVector<bool>(defs.size(), false);
    fieldRanges_ = QVector<std::optional<std::pair<double, double>>>(defs.size());
    for (qsizetype i = 0; i < defs.size(); ++i)
        if (const auto range = ranges_.constFind(defs[i].name.toLower()); range != ranges_.cend())
            fieldRanges_[i] = *range;
}

void DataSet::setDisplayFormat(const QString& fieldName, const QString& format) {
    displayFormats_.insert(fieldName.toLower(), format);
    if (findField(fieldName))
        notify(DataSetEvent::DataChanged); // views show the new format
}

QString DataSet::displayFormat(qsizetype index) const {
    return index >= 0 && index < defs_.size() ? displayFormats_.value(defs_[index].name.toLower())
                                              : QString();
}

void DataSet::setFieldRange(const QString& fieldName, double minimum, double maximum) {
    ranges_.insert(fieldName.toLower(), {minimum, maximum});
    for (qsizetype i = 0; i < defs_.size(); ++i)
        if (defs_[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            fieldRanges_[i] = std::make_pair(minimum, maximum);
}

void DataSet::clearBuffer() {
    std::fill(buffer_.begin(), buffer_.end(), QVariant());
}

Field& DataSet::field(qsizetype index) const {
    requireActive();
    if (index < 0 || index >= fieldCount())
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("「%1」に %2 番目の項目はありません。")
                              .arg(displayName())
                              .arg(index + 1));
    return *fields_[size_t(index)];
}

Field* DataSet::findField(const QString& name) const {
    for (const auto& field : fields_)
        if (field->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

Field& DataSet::fieldByName(const QString& name) const {
    requireActive();
    if (Field* found = findField(name))
        return *found;
    throw EngineError(EngineError::Kind::NotFound,
                      QStringLiteral("「%1」に項目「%2」がありません。").arg(displayName(), name));
}

QStringList DataSet::fieldNames() const {
    QStringList names;
    for (const FieldDef& def : defs_)
        names << def.name;
    return names;
}

void DataSet::first() {
    requireActive();
    checkBrowseMode();
    settle();
    const qsizetype count = visibleCount();
    setCurrentPosition(count > 0 ? 0 : -1);
    bof_ = true;
    eof_ = count == 0;
    notify(DataSetEvent::Scrolled);
}

void DataSet::last() {
    requireActive();
    checkBrowseMode();
    settle();
    const qsizetype count = visibleCount();
    setCurrentPosition(count - 1);
    eof_ = true;
    bof_ = count == 0;
    notify(DataSetEvent::Scrolled);
}

void DataSet::next() {
    moveBy(1);
}

void DataSet::prior() {
    moveBy(-1);
}

qsizetype DataSet::moveBy(qsizetype distance) {
    requireActive();
    checkBrowseMode();
    settle();
    const qsizetype count = visibleCount();
    if (count == 0) {
        bof_ = eof_ = true;
        return 0;
    }
    if (distance == 0)
        return 0;
    const qsizetype position = currentPosition();
    // Without a current row, forward moves start before the first row and
    // backward moves after the last.
    const qsizetype from = position >= 0 ? position : (distance > 0 ? -1 : count);
    const qsizetype wanted = from + distance;
    const qsizetype target = std::clamp<qsizetype>(wanted, 0, count - 1);
    const qsizetype moved = target - from;
    if (distance > 0) {
        eof_ = wanted > count - 1;
        if (moved != 0)
            bof_ = false;
    } else {
        bof_ = wanted < 0;
        if (moved != 0)
            eof_ = false;
    }
    if (target != position) {
        setCurrentPosition(target);
        notify(DataSetEvent::Scrolled);
    }
    return moved;
}

bool DataSet::eof() {
    if (!isActive())
        return true;
    settle();
    return eof_;
}

bool DataSet::bof() {
    if (!isActive())
        return true;
    settle();
    return bof_;
}

qsizetype DataSet::recordCount() {
    requireActive();
    settle();
    return visibleCount();
}

qsizetype DataSet::recNo() {
    requireActive();
    settle();
    return currentPosition();
}

QVariant DataSet::valueAt(qsizetype position, qsizetype index) {
    field(index); // checks that the data set is open and the position exists
    settle();
    if (position < 0 || position >= visibleCount())
        return {};
    // The row being edited shows its new values; a row being inserted is not
    // among the visible rows yet, so the row it started from shows what it holds.
    if (state_ != DataSetState::Insert && position == currentPosition())
        return fieldValue(index);
    return rowValue(position, index);
}

const QVariant& DataSet::fieldValue(qsizetype index) {
    if (state_ == DataSetState::Browse) {
        settle();
        loadBuffer();
    } else if (state_ == DataSetState::Inactive) {
        requireActive();
    }
    return std::as_const(buffer_)[index]; // no detach from the rows read ahead
}

void DataSet::setFieldValue(qsizetype index, const QVariant& value) {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("「%1」は編集中ではないため、項目「%2」に値を入れられません。")
                .arg(displayName(), defs_[index].name));
    QVariant stored = coerceValue(defs_[index], value, messageName_);
    if (const auto& range = fieldRanges_[index]; range && stored.isValid()) {
        const double number = valueAsFloat(defs_[index], stored, messageName_);
        if (number < range->first || number > range->second)
            throw EngineError(
                EngineError::Kind::Conversion,
                QStringLiteral(
                    "値 %1 は項目「%2」には入れられません。%3 から %4 までの値を入れてください。")
                    .arg(valueAsString(defs_[index], stored), defs_[index].name,
                         floatText(range->first), floatText(range->second)));
    }
    buffer_[index] = std::move(stored);
    changed_[index] = true;
    modified_ = true;
    notify(DataSetEvent::RecordChanged);
}

void DataSet::edit() {
    requireActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (!canModify())
        readOnlyError();
    settle();
    if (!hasCurrentRow()) {
        append();
        return;
    }
    reloadForEdit();
    saved_ = buffer_;
    std::fill(changed_.begin(), changed_.end(), false);
    modified_ = false;
    state_ = DataSetState::Edit;
    notify(DataSetEvent::StateChanged);
}

void DataSet::append() {
    requireActive();
    if (!canModify())
        readOnlyError();
    checkBrowseMode();
    if (beforeInsert_)
        beforeInsert_(*this);
    settle();
    beginInsert();
    clearBuffer();
    std::fill(changed_.begin(), changed_.end(), false);
    modified_ = false;
    state_ = DataSetState::Insert;
    notify(DataSetEvent::StateChanged);
}

void DataSet::post() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    const bool inserting = state_ == DataSetState::Insert;
    doPost(inserting);
    state_ = DataSetState::Browse;
    modified_ = false;
    std::fill(changed_.begin(), changed_.end(), false);
    bof_ = eof_ = false;
    notify(inserting ? DataSetEvent::DataChanged : DataSetEvent::RecordChanged);
}

void DataSet::cancel() {
    if (state_ == DataSetState::Insert) {
        cancelInsert();
    } else if (state_ == DataSetState::Edit) {
        buffer_ = saved_;
    } else {
        return;
    }
    state_ = DataSetState::Browse;
    modified_ = false;
    std::fill(changed_.begin(), changed_.end(), false);
    notify(DataSetEvent::StateChanged);
}

void DataSet::deleteRecord() {
    requireActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    cancel();
    if (!canModify())
        readOnlyError();
    settle();
    if (!hasCurrentRow())
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("「%1」には削除するレコードがありません。").arg(displayName()));
    if (beforeDelete_)
        beforeDelete_(*this);
    doDelete();
    notify(DataSetEvent::DataChanged);
}

void DataSet::checkBrowseMode() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (modified_)
        post();
    else
        cancel();
}

void DataSet::doPost(bool) {
    readOnlyError();
}

void DataSet::doDelete() {
    readOnlyError();
}

Bookmark DataSet::bookmark() {
    requireActive();
    settle();
    return doBookmark();
}

void DataSet::gotoBookmark(const Bookmark& bookmark) {
    requireActive();
    checkBrowseMode();
    doGotoBookmark(bookmark);
    bof_ = eof_ = false;
    notify(DataSetEvent::Scrolled);
}

Bookmark DataSet::doBookmark() {
    const qsizetype position = currentPosition();
    return position < 0 ? Bookmark{} : Bookmark{position};
}

void DataSet::doGotoBookmark(const Bookmark& bookmark) {
    if (!bookmark.isValid() || *bookmark.key >= visibleCount())
        throw EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral("「%1」に戻る先のレコードがありません。").arg(displayName()));
    setCurrentPosition(*bookmark.key);
}

void DataSet::enableControls() {
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0 && changedWhileDisabled_) {
        changedWhileDisabled_ = false;
        notify(DataSetEvent::DataChanged);
    }
}

void DataSet::addListener(DataSetListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void DataSet::removeListener(DataSetListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void DataSet::notify(DataSetEvent event) {
    const bool always = event == DataSetEvent::Opened || event == DataSetEvent::Closed;
    if (disableCount_ > 0 && !always) {
        changedWhileDisabled_ = true;
        return;
    }
    if (listeners_.empty())
        return;
    // A listener may remove itself while being told.
    for (DataSetListener* listener : std::vector<DataSetListener*>(listeners_))
        listener->dataSetEvent(*this, event);
}

} // namespace marubo::store
