#include "FolderBrowser.h"

#include <QDir>
#include <QFileDialog>

namespace marubo {

QString DialogFolderBrowser::chooseFolder(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("フォルダ参照"), QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().value(0));
}

} // namespace marubo
