// Times the batch merge of a sample (10 departments of 10 sub-departments,
// about 200,000 voucher lines in all, a fifth of them common lines with
// allocation ratios) against a reference of plain SQL that moves the same rows
// with INSERT ... SELECT: each selected sub-department's lines into the work
// folder, the work lines into the A level. Prints as its last line
//   ratio merge <ours / reference>
// Usage: bench_merge [vouchers per department]    (default 10000)
//        bench_merge --scaling [vouchers]          (also times twice the data)

#include "app/MainState.h"
#include "merge/MergeRun.h"
#include "sample/SampleDataSets.h"
#include "select/BumonSelection.h"
#include "store/DataSetFile.h"
#include "store/Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace marubo;

namespace {

class Answers : public MainPrompts, public MergeUi {
public:
    explicit Answers(TDM& dm) : selection_(dm) {}
    void showMessage(const QString& text) override { last = text; }
    bool confirm(const QString&) override { return true; }
    bool selectSubDepartments() override {
        selection_.activate();
        selection_.close();
        return true;
    }
    void progress(qsizetype, qsizetype) override {}
    void processEvents() override {}
    QString last;

private:
    BumonSelection selection_;
};

struct Sample {
    QTemporaryDir folder;
    sample::SampleSummary summary;
    qint64 lines = 0;
};

void makeSample(Sample& sample, int vouchers) {
    sample::SampleOptions options;
    options.departments = 10;
    options.subDepartments = 10;
    options.vouchers = vouchers;
    options.commonPercent = 20;
    options.commonLinesAllocated = true;
    sample.summary = sample::writeSampleDataSets(sample.folder.path(), options);
    sample.lines = sample.summary.voucherLines;
}

double ourMerge(const Sample& sample) {
    const QString start = QDir(sample.folder.path()).filePath(QStringLiteral("start"));
    QDir().mkpath(start);
    const QString before = QDir::currentPath();
    QDir::setCurrent(start);
    QElapsedTimer timer;
    timer.start();
    {
        TDM dm;
        Answers answers(dm);
        MainState state(dm, answers);
        state.FormCreate();
        state.rememberedPath();
        state.init(sample.summary.aLevel);
        state.prepareWorkFolder();
        TCalc calc(dm);
        MergeRun run(dm, calc, state.Bumon, answers);
        if (run.run() != MergeRun::Outcome::Completed)
            std::fprintf(stderr, "merge did not complete: %s\n", qPrintable(answers.last));
        std::printf("merged %lld voucher lines into the A level\n", run.total());
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    QDir::setCurrent(before);
    return seconds;
}

double reference(const Sample& sample) {
    const QString work = QDir(sample.folder.path()).filePath(QStringLiteral("reference"));
    QDir().mkpath(work);
    const QString workFile = store::tablesFilePath(work);
    QFile::copy(
        store::tablesFilePath(QDir(sample.folder.path()).filePath(QStringLiteral("start/WKData"))),
        workFile);
    store::SqliteDb db(workFile, false, 5000);
    db.exec(QStringLiteral("ATTACH DATABASE '%1' AS a")
                .arg(store::tablesFilePath(sample.summary.aLevel)));
    const QString columns =
        QStringLiteral("Sub_No, hizuke, Lcode, Rcode, LHcode, RHcode, Lkingaku, Rkingaku, "
                       "tekiyou1, tekiyou2, LflgS, RflgS");
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < sample.summary.bLevels.size(); ++i) {
        const int department = i + 2; // after the "合　計" row
        db.exec(QStringLiteral("ATTACH DATABASE '%1' AS b")
                    .arg(store::tablesFilePath(sample.summary.bLevels[i])));
        db.exec(QStringLiteral("BEGIN"));
        db.exec(QStringLiteral("DELETE FROM denpyou1"));
        store::SqliteStatement selected(
            db, QStringLiteral("SELECT code FROM b.Bumon WHERE F1 = 1 AND F11 = 1"));
        QList<qint64> codes;
        while (selected.step())
            codes << selected.columnInt64(0);
        selected.reset();
        for (qint64 code : codes)
            db.exec(QStringLiteral(
                        "INSERT INTO denpyou1 SELECT SNo, %1, %2, FlgU, FlgV, FlgW FROM b.denpyou1 "
                        "WHERE FlgT = 0 OR FlgT = %2 ORDER BY SNo, Sub_No")
                        .arg(columns)
                        .arg(code));
        db.exec(QStringLiteral("COMMIT"));
        db.exec(QStringLiteral("BEGIN"));
        db.exec(QStringLiteral("DELETE FROM a.denpyou1 WHERE FlgT = %1").arg(department));
        db.exec(QStringLiteral(
                    "INSERT INTO a.denpyou1 SELECT rowid, %1, %2, FlgU, FlgV, FlgW FROM denpyou1 "
                    "WHERE FlgT <> 0 ORDER BY hizuke, SNo, Sub_No")
                    .arg(columns)
                    .arg(department));
        db.exec(QStringLiteral("COMMIT"));
        db.exec(QStringLiteral("DETACH DATABASE b"));
    }
    return timer.nsecsElapsed() / 1e9;
}

struct Measure {
    qint64 lines;
    double ours;
    double reference;
};

Measure measure(int vouchers) {
    Sample sample;
    makeSample(sample, vouchers);
    const double ours = ourMerge(sample);
    const double plain = reference(sample);
    std::printf("B-level voucher lines %lld: merge %.2f s, reference %.2f s\n", sample.lines, ours,
                plain);
    return {sample.lines, ours, plain};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool scaling = arguments.removeAll(QStringLiteral("--scaling")) > 0;
    const int vouchers = arguments.isEmpty() ? 10000 : qMax(1, arguments.first().toInt());
    const Measure base = measure(vouchers);
    if (scaling) {
        const Measure twice = measure(vouchers * 2);
        std::printf("scaling: %.2fx the lines took %.2fx the time\n",
                    double(twice.lines) / base.lines, twice.ours / base.ours);
    }
    std::printf("ratio merge %.2f\n", base.ours / base.reference);
    return 0;
}
