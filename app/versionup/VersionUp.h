#pragma once

#include "app/versionup/DownloadFile.h"

#include <QString>

namespace marubo {

// What the version-up asks of the main window.
class VersionUpWindow {
public:
    virtual ~VersionUpWindow() = default;
    // A message box of the information type with the buttons yes and no; true
    // exactly when the answer is yes.
    virtual bool askInformationYesNo(const QString& text) = 0;
    // The default message box with one OK button.
    virtual void showMessage(const QString& text) = 0;
    // Closes the main window with its usual closing, which ends the program.
    virtual void closeMainWindow() = 0;
    // The download is under way (true) or over (false); the window shows that
    // it is busy, since the download holds it for up to its time limits.
    virtual void setDownloading(bool downloading) = 0;
};

// Where the updater comes from and where it goes.
struct VersionUpSettings {
    QString updaterAddress;     // the updater dload.exe on the download server
    QString programBaseAddress; // under which the new program file lies
    QString programFolder;      // the running program's folder; the updater goes here
    DownloadLimits limits;

    // The built-in addresses and the folder of the running program.
    static VersionUpSettings defaults();
};

// The question asked before anything is fetched (two lines, CR LF between).
QString versionUpQuestion();
// The message for a failed download or a failed start.
QString versionUpFailedMessage();

// The local updater file: the program's folder and "dload.exe".
QString localUpdaterFile(const QString& programFolder);
// The full address of the new program file: the base address, "/", the
// program's name and ".exe".
QString newProgramAddress(const QString& programBaseAddress, const QString& progName);

// The version-up button: asks, fetches the updater into the program's folder,
// starts it with the new program's address and an empty text, and closes the
// main window. A failed download or start shows versionUpFailedMessage() and
// leaves the window open. Blocks while the download runs.
void runVersionUp(VersionUpWindow& window, const QString& progName,
                  const VersionUpSettings& settings = VersionUpSettings::defaults());

} // namespace marubo
