#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace marubo::sample {

struct SampleOptions {
    int departments = 3;    // B levels
    int subDepartments = 6; // per B level: summary and input sub-departments
    int accounts = 25;
    int vouchers = 40;                 // per B level
    int commonPercent = 25;            // vouchers of no single sub-department (FlgT 0)
    bool commonLinesAllocated = false; // common lines debit an account with allocation ratios
    quint64 seed = 1;
    bool replace = false; // replace the tables files of an earlier sample
};

struct SampleSummary {
    QString aLevel;
    QStringList bLevels;
    qint64 voucherLines = 0;
};

// Refused options or a folder that holds data already.
class SampleError : public std::runtime_error {
public:
    explicit SampleError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The PassWord in the Head of every sample data set.
QString samplePassWord();

// Writes an A level (dir/A) and `departments` B levels (dir/B01, ...) in the
// accounting package's layouts. The A level lists the B levels in its BUMON
// (after the "合　計" row); its account masters and vouchers are empty. The same
// options and seed always give the same rows.
// Throws SampleError, or the engine's error when a file cannot be written.
SampleSummary writeSampleDataSets(const QString& dir, const SampleOptions& options);

} // namespace marubo::sample
