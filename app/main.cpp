// marubo: merges the bookkeeping data of department data sets (B levels) into
// their upper-level data set (the A level).

#include "MainWindow.h"
#include "controls/UiFont.h"
#include "store/DataModule.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("marubo"));
    QApplication::setFont(marubo::uiFont(12));

    marubo::TDM dm;           // runs DataModuleCreate
    marubo::TMain window(dm); // runs FormCreate; the first window is the main window
    window.show();
    return app.exec();
}
