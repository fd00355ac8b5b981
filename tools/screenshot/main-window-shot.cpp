// main-window-shot START_DIR OUT.png
// Starts the main window in START_DIR, as the program would be started there,
// and saves a picture of it once it has shown its remembered A level. Any
// message the window shows is printed and makes the exit status non-zero.

#include "app/MainWindow.h"
#include "controls/MessageBoxes.h"
#include "controls/UiFont.h"
#include "store/DataModule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(marubo::uiFont(12));
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: main-window-shot START_DIR OUT.png\n";
        return 2;
    }
    const QString out = QFileInfo(args[2]).absoluteFilePath();
    if (!QDir::setCurrent(args[1])) {
        QTextStream(stderr) << "no such folder: " << args[1] << '\n';
        return 2;
    }

    marubo::PrintedMessageBoxes messages;
    marubo::TDM dm;
    marubo::TMain window(dm, &messages);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.activated() && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!window.activated()) {
        QTextStream(stderr) << "the window was never activated\n";
        return 1;
    }
    // Let the list and the panels paint.
    clock.restart();
    while (clock.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!window.grab().save(out)) {
        QTextStream(stderr) << "cannot write " << out << '\n';
        return 1;
    }
    return messages.printed() == 0 ? 0 : 1;
}
