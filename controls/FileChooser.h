#pragma once

#include <QString>

class QWidget;

namespace marubo {

// Asks for a file to write or read; behind an interface so that tests can answer.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file, empty when the user cancels.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& suggested) = 0;
    virtual QString openFile(QWidget* parent, const QString& title) = 0;
};

// The toolkit's file dialogs, for CSV files.
class DialogFileChooser final : public FileChooser {
public:
    QString saveFile(QWidget* parent, const QString& title, const QString& suggested) override;
    QString openFile(QWidget* parent, const QString& title) override;
};

} // namespace marubo
