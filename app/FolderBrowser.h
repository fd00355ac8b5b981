#pragma once

#include <QString>

class QWidget;

namespace marubo {

// Asks for a folder; behind an interface so that tests can give the answer.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    // The full path of the chosen folder, empty when the user cancels.
    virtual QString chooseFolder(QWidget* parent) = 0;
};

// The toolkit's folder dialog titled "フォルダ参照": existing folders only, no
// folder preselected, no way to make a new folder from it.
class DialogFolderBrowser final : public FolderBrowser {
public:
    QString chooseFolder(QWidget* parent) override;
};

} // namespace marubo
