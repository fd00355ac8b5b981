#include "DataModule.h"

#include "WorkScripts.h"
#include "util/Mylib.h"

#include <QDir>

namespace marubo {

TDM::TDM() {
    AheadTB.setFieldNames({QStringLiteral("PassWord")});
    A2headTB.setFieldNames({QStringLiteral("PassWord")});
    MakeTableW.setSql(store::workFolderScript());
    DataModuleCreate();
}

QString TDM::privateFolder() {
    return QDir::toNativeSeparators(QDir::temp().filePath(QStringLiteral("$$"))) +
           QDir::separator();
}

void TDM::DataModuleCreate() {
    Session1.setActive(false);
    // The folder is a convenience for the engine: when it cannot be made or
    // used, the engine keeps its own place for temporary files.
    MakeDirPath(privateFolder());
    try {
        Session1.setPrivateDir(privateFolder());
    } catch (const store::EngineError&) {
    }
}

} // namespace marubo
