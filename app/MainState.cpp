#include "MainState.h"

#include "RememberedPath.h"
#include "store/WorkScripts.h"
#include "util/Abort.h"
#include "util/Mylib.h"
#include "util/PathText.h"

#include <QDir>
#include <QFileInfo>

namespace marubo {

namespace {
const QString kNotADataFolder = QStringLiteral(
    "指定した保存先は、この会計のデータディレクトリではありませんのでご確認ください。");
const QString kCannotCreate =
    QStringLiteral("データパス名が不正ですので、新規にデータフォルダの作成が出来ません。");
const QString kOldVersion =
    QStringLiteral("A階層の会計ソフトのバージョンが古いために併合処理が出来ません。");
const QString kTotalRow = QStringLiteral("合　計");
} // namespace

MainState::MainState(TDM& dataModule, MainPrompts& prompts)
    : dm(dataModule), MakeHeadM(DefaultSession), HeadM(DefaultSession), Bumon(dm.Session1),
      Table2(dm.Session1), kamokuTestTB(dm.Session1), prompts_(prompts) {
    MakeHeadM.setSql(store::headMScript());
    HeadM.setTableName(QStringLiteral("headM"));
    Bumon.setDatabaseName(QStringLiteral("AAA"));
    Bumon.setTableName(QStringLiteral("BUMON"));
    Bumon.setFieldNames({QStringLiteral("code"), QStringLiteral("Bumonmei"), QStringLiteral("Path"),
                         QStringLiteral("F1")});
    Bumon.setFilter(QStringLiteral("code>0"));
    Bumon.setFiltered(true);
    Bumon.setBeforeInsert([this](store::DataSet& list) {
        // At most 20 departments; the fill of an empty list passes while not ready.
        if (BumonReady && list.recordCount() >= 20)
            throw Abort();
    });
}

QString MainState::workFolder() const {
    return withTrailingSeparator(QDir::toNativeSeparators(StartDir)) + QStringLiteral("WKData") +
           QDir::separator();
}

void MainState::FormCreate() {
    StartDir = QDir::toNativeSeparators(QDir::currentPath());
    MakeDirPath(workFolder());
    dm.Database3.close();
    dm.Database3.setDirectory(workFolder());
    MakeHeadM.setDatabaseName(StartDir);
    HeadM.setDatabaseName(StartDir);
}

void MainState::openHeadM() {
    if (HeadM.isActive())
        return;
    MakeHeadM.execSql();
    HeadM.open();
}

QString MainState::rememberedPath() {
    openHeadM();
    HeadM.first();
    QString path = HeadM.fieldByName(QStringLiteral("PathName1")).asString().trimmed();
    return withTrailingSeparator(path);
}

void MainState::prepareWorkFolder() {
    dm.MakeTableW.execSql();
    dm.ProgName = QStringLiteral("Marubo");
}

void MainState::stop(const QString& message) {
    prompts_.showMessage(message);
    throw Abort();
}

void MainState::init(const QString& pathText) {
    dm.Database3.close();
    dm.Database3.setDirectory(withTrailingSeparator(QDir::toNativeSeparators(StartDir)) +
                              QStringLiteral("WKData"));
    if (pathText.isEmpty())
        throw Abort();
    const QString path = withTrailingSeparator(pathText);

    // Remember the path before any check, so that it is kept even when refused.
    openHeadM();
    writeRememberedPath(HeadM, path);

    if (QFileInfo(path).isDir()) {
        Table2.close();
        Table2.setDatabaseName(path);
        Table2.setTableName(QStringLiteral("head"));
        if (!Table2.exists())
            stop(kNotADataFolder);
    } else if (!MakeDirPath(path)) {
        stop(kCannotCreate);
    }

    dm.Session1.setActive(false);
    dm.Database1.close();
    dm.Database1.setDirectory(path);

    dm.AheadTB.open();
    dm.APassWord = dm.AheadTB.fieldByName(QStringLiteral("PassWord")).asString();
    dm.AheadTB.close();

    BumonReady = false;
    Bumon.open();
    if (Bumon.recordCount() == 0) {
        try {
            for (int code = 0; code <= 20; ++code) {
                Bumon.append();
                Bumon.fieldByName(QStringLiteral("code")).setAsInteger(code);
                Bumon.post();
            }
        } catch (...) {
            Bumon.cancel(); // a refused row must not stay pending in the list
            throw;
        }
        Bumon.first(); // code 1: code 0 lies outside the filter
        Bumon.edit();
        Bumon.fieldByName(QStringLiteral("Bumonmei")).setAsString(kTotalRow);
        Bumon.fieldByName(QStringLiteral("F1")).setAsInteger(1);
        Bumon.post();
    }
    Bumon.first();
    BumonReady = true;

    kamokuTestTB.close();
    kamokuTestTB.setDatabaseName(QStringLiteral("AAA"));
    kamokuTestTB.setTableName(QStringLiteral("Mkamoku"));
    kamokuTestTB.open();
    const bool current = kamokuTestTB.findField(QStringLiteral("前年実績")) != nullptr;
    kamokuTestTB.close();
    if (!current)
        prompts_.showMessage(kOldVersion); // a warning only: the list stays usable
}

QString MainState::browsedPath(const QString& chosenFolder) const {
    return pathSeenFrom(StartDir, chosenFolder);
}

void MainState::setCurrentDepartmentPath(const QString& path) {
    Bumon.edit();
    Bumon.fieldByName(QStringLiteral("Path")).setAsString(path);
    Bumon.post();
}

void MainState::FormClose() {
    try {
        Bumon.checkBrowseMode();
    } catch (...) {
        // Closing goes on whatever the pending edit holds.
        Bumon.cancel();
    }
    Bumon.close();
}

} // namespace marubo
