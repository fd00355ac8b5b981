#include "DataSetModel.h"

#include "store/EngineError.h"
#include "util/Abort.h"

#include <QBrush>
#include <QFont>
#include <QMetaObject>
#include <algorithm>

namespace marubo::controls {

using store::DataSetEvent;
using store::DataSetState;

namespace {
const QString kCursorMark = QStringLiteral("▶");
const QString kInsertMark = QStringLiteral("*");
} // namespace

// Marks a write of the model; the events it causes are taken in from the event
// loop once the outermost write has ended.
class DataSetModel::Writing {
public:
    explicit Writing(DataSetModel& model) : model_(model) { ++model_.writing_; }
    ~Writing() {
        if (--model_.writing_ > 0 || !model_.hasPending() || model_.settleQueued_)
            return;
        model_.settleQueued_ = true;
        QMetaObject::invokeMethod(
            &model_,
            [&model = model_] {
                model.settleQueued_ = false;
                if (model.writing_ == 0)
                    model.takeInPending();
            },
            Qt::QueuedConnection);
    }
    Writing(const Writing&) = delete;
    Writing& operator=(const Writing&) = delete;

private:
    DataSetModel& model_;
};

DataSetModel::DataSetModel(store::DataSet& dataSet, QList<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), dataSet_(dataSet), columns_(std::move(columns)) {
    dataSet_.addListener(this);
    resolveFields();
    rowCount_ = liveRowCount();
    insertShown_ = insertRow() >= 0;
    noteCursor(false);
}

DataSetModel::~DataSetModel() {
    dataSet_.removeListener(this);
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_ || index.column() >= columns_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return displayText(index.column(), value(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_[index.column()].alignment);
    case Qt::BackgroundRole: {
        const QColor& background = columns_[index.column()].background;
        return background.isValid() ? QVariant(QBrush(background)) : QVariant();
    }
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columns_.size())
            return {};
        if (role == Qt::DisplayRole)
            return columns_[section].title;
        if (role == Qt::FontRole && columns_[section].titleBold) {
            // Only the weight is set; the header's own font supplies the rest.
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    // The indicator column marks the cursor's row, and the row being inserted.
    if (section != cursorRow_)
        return QString();
    return section == insertRow() ? kInsertMark : kCursorMark;
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!columns_[index.column()].readOnly && fieldIndex(index.column()) >= 0)
        result |= Qt::ItemIsEditable;
    return result;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const bool stored = write(index, value, role);
    if (!stored)
        ++refusedEdits_;
    return stored;
}

bool DataSetModel::write(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount_)
        return false;
    const qsizetype field = fieldIndex(index.column());
    if (field < 0 || columns_[index.column()].readOnly || !dataSet_.isActive())
        return false;
    const QString text = value.toString();
    Writing writing(*this);
    try {
        if (index.row() == insertRow()) {
            // The new row collects its values; it is posted when the cursor leaves it.
            dataSet_.field(field).setAsString(text);
            return true;
        }
        dataSet_.checkBrowseMode();
        moveToStoredRow(index.row());
        store::Field& target = dataSet_.field(field);
        if (target.asString() == text)
            return true;
        dataSet_.edit();
        try {
            target.setAsString(text);
            dataSet_.post();
        } catch (...) {
            dataSet_.cancel();
            throw;
        }
        return true;
    } catch (const Abort&) {
        return false;
    } catch (const store::EngineError& error) {
        emit errorOccurred(error.message());
        return false;
    }
}

int DataSetModel::insertRow() const {
    try {
        if (dataSet_.isActive() && dataSet_.state() == DataSetState::Insert)
            return int(dataSet_.recordCount());
    } catch (const store::EngineError&) {
    }
    return -1;
}

void DataSetModel::moveCursorTo(int row) {
    if (!dataSet_.isActive() || row < 0)
        return;
    Writing writing(*this);
    if (dataSet_.state() == DataSetState::Insert) {
        if (row == insertRow())
            return;
        const bool changed = dataSet_.isModified();
        dataSet_.checkBrowseMode();
        if (changed)
            return; // the posted row is current wherever it landed
    } else {
        dataSet_.checkBrowseMode();
    }
    moveToStoredRow(row);
}

void DataSetModel::appendRow() {
    dataSet_.append();
}

void DataSetModel::postRow() {
    dataSet_.checkBrowseMode();
}

void DataSetModel::cancelRow() {
    dataSet_.cancel();
}

QString DataSetModel::displayText(int, const QVariant& value) const {
    return value.isNull() ? QString() : value.toString();
}

void DataSetModel::dataSetEvent(store::DataSet&, DataSetEvent event) {
    switch (event) {
    case DataSetEvent::Opened:
    case DataSetEvent::Closed:
    case DataSetEvent::DataChanged:
        pendingReload_ = true;
        break;
    case DataSetEvent::RecordChanged:
    case DataSetEvent::StateChanged:
        pendingRefresh_ = true;
        break;
    case DataSetEvent::Scrolled:
        pendingScroll_ = true;
        break;
    }
    if (writing_ == 0)
        takeInPending();
}

bool DataSetModel::hasPending() const {
    return pendingReload_ || pendingRefresh_ || pendingScroll_;
}

void DataSetModel::takeInPending() {
    const bool doReload = pendingReload_;
    const bool doRefresh = pendingRefresh_;
    pendingReload_ = pendingRefresh_ = pendingScroll_ = false;
    if (doReload)
        reload();
    else if (doRefresh)
        refresh();
    else
        noteCursor(true);
}

void DataSetModel::reload() {
    beginResetModel();
    resolveFields();
    rowCount_ = liveRowCount();
    insertShown_ = insertRow() >= 0;
    endResetModel();
    noteCursor(true);
}

void DataSetModel::refresh() {
    const int live = liveRowCount();
    const int insertAt = insertRow();
    if (live != rowCount_) {
        if (insertAt >= 0 && !insertShown_ && insertAt == rowCount_ && live == rowCount_ + 1) {
            beginInsertRows({}, insertAt, insertAt);
            rowCount_ = live;
            insertShown_ = true;
            endInsertRows();
        } else if (insertAt < 0 && insertShown_ && live == rowCount_ - 1) {
            beginRemoveRows({}, live, live);
            rowCount_ = live;
            insertShown_ = false;
            endRemoveRows();
        } else {
            reload(); // an edit took a row out of the filter, or rows changed elsewhere
            return;
        }
    }
    if (rowCount_ > 0)
        emit dataChanged(index(0, 0), index(rowCount_ - 1, int(columns_.size()) - 1));
    noteCursor(true);
}

void DataSetModel::noteCursor(bool announce) {
    cursorRow_ = liveCursorRow();
    if (!announce)
        return;
    if (rowCount_ > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount_ - 1);
    emit cursorRowChanged(cursorRow_);
}

int DataSetModel::liveRowCount() const {
    try {
        if (!dataSet_.isActive())
            return 0;
        const bool inserting = dataSet_.state() == DataSetState::Insert;
        return int(dataSet_.recordCount()) + (inserting ? 1 : 0);
    } catch (const store::EngineError&) {
        return 0;
    }
}

int DataSetModel::liveCursorRow() const {
    try {
        if (!dataSet_.isActive())
            return -1;
        if (dataSet_.state() == DataSetState::Insert)
            return int(dataSet_.recordCount());
        return int(dataSet_.recNo());
    } catch (const store::EngineError&) {
        return -1;
    }
}

void DataSetModel::resolveFields() {
    fieldIndexes_.clear();
    for (const GridColumn& column : std::as_const(columns_)) {
        const store::Field* field =
            dataSet_.isActive() ? dataSet_.findField(column.fieldName) : nullptr;
        fieldIndexes_ << (field ? field->index() : -1);
    }
}

qsizetype DataSetModel::fieldIndex(int column) const {
    return column >= 0 && column < fieldIndexes_.size() ? fieldIndexes_[column] : -1;
}

QVariant DataSetModel::value(int row, int column) const {
    const qsizetype field = fieldIndex(column);
    if (field < 0 || !dataSet_.isActive())
        return {};
    try {
        if (dataSet_.state() == DataSetState::Insert && row == insertRow())
            return dataSet_.field(field).value();
        return dataSet_.valueAt(row, field);
    } catch (const store::EngineError&) {
        return {};
    }
}

void DataSetModel::moveToStoredRow(int row) {
    const qsizetype count = dataSet_.recordCount();
    if (count == 0)
        return;
    const qsizetype target = std::clamp<qsizetype>(row, 0, count - 1);
    qsizetype here = dataSet_.recNo();
    if (here < 0) {
        dataSet_.first();
        here = 0;
    }
    if (target != here)
        dataSet_.moveBy(target - here);
}

} // namespace marubo::controls
