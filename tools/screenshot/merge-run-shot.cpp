// merge-run-shot START_DIR DIALOG.png WINDOW.png
// Starts the main window in START_DIR on its remembered sample, presses
// 実　　　行 and answers yes, then saves a picture of the selection dialog of the
// first department and one of the main window while the second department's
// dialog is open (the run in progress). Every dialog is left with Run.

#include "app/MainWindow.h"
#include "controls/UiFont.h"
#include "store/DataModule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

class Answers final : public marubo::MessageBoxes {
public:
    QStringList shown;
    void showMessage(QWidget*, const QString& text) override { shown << text; }
    bool askYesNo(QWidget*, const QString&, Icon) override { return true; }
    void showError(QWidget*, const QString& text) override {
        shown << text;
        QTextStream(stderr) << text << '\n';
    }
};

void waitFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(marubo::uiFont(12));
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: merge-run-shot START_DIR DIALOG.png WINDOW.png\n";
        return 2;
    }
    const QString dialogOut = QFileInfo(args[2]).absoluteFilePath();
    const QString windowOut = QFileInfo(args[3]).absoluteFilePath();
    if (!QDir::setCurrent(args[1])) {
        QTextStream(stderr) << "no such folder: " << args[1] << '\n';
        return 2;
    }

    Answers answers;
    marubo::TDM dm;
    marubo::TMain window(dm, &answers);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.activated() && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    int dialogs = 0;
    bool saved = true;
    QTimer watcher;
    watcher.setInterval(50);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        marubo::Tmarubou& dialog = *window.marubou;
        if (!dialog.isVisible() || !dialog.selection.BumonTB.isActive())
            return;
        watcher.stop();
        waitFor(400); // let the rows paint
        ++dialogs;
        if (dialogs == 1)
            saved = dialog.grab().save(dialogOut) && saved;
        if (dialogs == 2)
            saved = window.grab().save(windowOut) && saved;
        dialog.Button2Click();
        watcher.start();
    });
    watcher.start();
    window.Button1Click();
    watcher.stop();
    if (!saved) {
        QTextStream(stderr) << "cannot write the pictures\n";
        return 1;
    }
    const bool completed =
        answers.shown.size() == 1 && answers.shown.first().startsWith(QStringLiteral("集計処理が完了しました。"));
    if (!completed || dialogs < 2) {
        QTextStream(stderr) << "the merge run did not complete as expected\n";
        return 1;
    }
    return 0;
}
