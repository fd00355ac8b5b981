#include "VersionUp.h"

#include "app/versionup/StartUpdater.h"

#include <QCoreApplication>
#include <QDir>
#include <QScopeGuard>

namespace marubo {

VersionUpSettings VersionUpSettings::defaults() {
    VersionUpSettings settings;
    settings.updaterAddress = QStringLiteral(MARUBO_UPDATER_URL);
    settings.programBaseAddress = QStringLiteral(MARUBO_PROGRAM_BASE_URL);
    settings.programFolder = QCoreApplication::applicationDirPath();
    return settings;
}

QString versionUpQuestion() {
    return QStringLiteral("バージョンアップを実行しますか。\r\n"
                          "ただし、ソフトの更新中は実行できない場合があります。");
}

QString versionUpFailedMessage() {
    return QStringLiteral("バージョンアップが正常に出来ませんでした。");
}

QString localUpdaterFile(const QString& programFolder) {
    return QDir::toNativeSeparators(QDir(programFolder).filePath(QStringLiteral("dload.exe")));
}

QString newProgramAddress(const QString& programBaseAddress, const QString& progName) {
    QString base = programBaseAddress;
    if (base.endsWith(u'/'))
        base.chop(1); // a configured trailing slash would double the separator
    return base + u'/' + progName + QStringLiteral(".exe");
}

void runVersionUp(VersionUpWindow& window, const QString& progName,
                  const VersionUpSettings& settings) {
    if (!window.askInformationYesNo(versionUpQuestion()))
        return;
    const QString updater = localUpdaterFile(settings.programFolder);
    bool downloaded = false;
    {
        window.setDownloading(true);
        const auto done = qScopeGuard([&window] { window.setDownloading(false); });
        downloaded = DownloadFile(settings.updaterAddress, updater, settings.limits);
    }
    if (!downloaded) {
        window.showMessage(versionUpFailedMessage());
        return;
    }
    // Two arguments: the new program's address and an empty text.
    const QStringList arguments{newProgramAddress(settings.programBaseAddress, progName),
                                QString()};
    if (!startUpdater(updater, arguments)) {
        window.showMessage(versionUpFailedMessage());
        return;
    }
    // The program file must be free for the updater to replace it.
    window.closeMainWindow();
}

} // namespace marubo
