#include "FileChooser.h"

#include <QFileDialog>

namespace marubo {

namespace {
const QString kCsvFilter = QStringLiteral("CSV ファイル (*.csv *.CSV *.txt);;すべてのファイル (*)");
}

QString DialogFileChooser::saveFile(QWidget* parent, const QString& title,
                                    const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, title, suggested, kCsvFilter);
}

QString DialogFileChooser::openFile(QWidget* parent, const QString& title) {
    return QFileDialog::getOpenFileName(parent, title, QString(), kCsvFilter);
}

} // namespace marubo
