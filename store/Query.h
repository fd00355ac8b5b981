#pragma once

#include "DataSet.h"

#include <vector>

namespace marubo::store {

// SQL on a data-set folder: execSql() runs every statement of a script in order,
// open() runs one SELECT whose rows are then navigated like a table's (read only).
class Query : public DataSet {
public:
    explicit Query(Session& session, const QString& databaseName = {});
    ~Query() override;

    void setSql(const QString& text); // closed only
    const QString& sql() const { return sql_; }
    QString displayName() const override;

    // Runs the script in one transaction of its own unless one is already under
    // way on the folder; a failing statement undoes the script's earlier ones.
    void execSql();
    // Rows changed by the last execSql().
    qint64 rowsAffected() const { return rowsAffected_; }

protected:
    void doOpen() override;
    void doClose() override;
    qsizetype visibleCount() override { return qsizetype(rows_.size()); }
    qsizetype currentPosition() override { return position_; }
    bool hasCurrentRow() override { return position_ >= 0; }
    void setCurrentPosition(qsizetype position) override { position_ = position; }
    void loadBuffer() override;
    QVariant rowValue(qsizetype position, qsizetype index) override {
        return rows_[size_t(position)][index];
    }
    bool canModify() const override { return false; }

private:
    QString sql_;
    qint64 rowsAffected_ = 0;
    std::vector<QVector<QVariant>> rows_;
    qsizetype position_ = -1;
};

} // namespace marubo::store
