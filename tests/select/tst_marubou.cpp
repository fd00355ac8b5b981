#include "controls/KeyInput.h"
#include "support/Levels.h"
#include "support/RecordedBoxes.h"

#include "controls/LibBtBtn.h"
#include "controls/LibXGrid.h"
#include "controls/MessageBoxes.h"
#include "select/Marubou.h"

#include <QPushButton>
#include <QtTest>

using namespace marubo;
using marubo::test::press;
using marubo::test::RecordedBoxes;
using marubo::test::Row;
using marubo::test::type;

namespace {

// A B level with A (code 1, summary, level 1), B (2, input, level 2, marked)
// and C (3, input, level 2, not marked), and the dialog on it.
struct DialogHarness {
    test::TestFolder folder;
    TDM dm;
    QString b = test::makeBLevel(folder, QStringLiteral("B"), QStringLiteral("pw"));
    RecordedBoxes boxes;
    std::unique_ptr<Tmarubou> dialog;

    DialogHarness() {
        test::putRows(b, "Bumon",
                      {{{"code", 1}, {"Bumonmei", "本部"}, {"F4", 1}},
                       {{"code", 2}, {"Bumonmei", "総務課"}, {"F1", 1}, {"F4", 2}, {"F12", 1}},
                       {{"code", 3}, {"Bumonmei", "経理課"}, {"F1", 1}, {"F4", 2}}});
        dm.Database2.setDirectory(b);
        dm.APassWord = QStringLiteral("pw");
        dialog = std::make_unique<Tmarubou>(dm, boxes);
    }

    // Shows the dialog without blocking and waits for its activation.
    void show() {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        for (int i = 0; i < 100 && !dialog->selection.BumonTB.isActive(); ++i)
            QTest::qWait(10);
        QCoreApplication::processEvents();
    }

    // F11 per row, as stored: "1" or "".
    QStringList taken() const { return test::rowsOf(b, "Bumon", {"F11"}, "code"); }

    // Whether the grid paints the row red: a pixel near the right end of its name cell.
    bool red(int row) {
        controls::TLibGrid& grid = *dialog->FixDBGrid1;
        const QRect cell = grid.visualRect(grid.model()->index(row, 1));
        const QImage image = grid.viewport()->grab().toImage();
        return image.pixelColor(cell.right() - 3, cell.center().y()) == QColor(255, 128, 128);
    }

    // Puts the current cell on "集計対象=1" of `row` and gives the grid the focus.
    void goToMark(int row) {
        controls::TLibGrid& grid = *dialog->FixDBGrid1;
        grid.setFocus();
        grid.setCurrentIndex(grid.model()->index(row, 4));
        QTest::qWait(50); // the cursor follows from the event loop
    }
};

} // namespace

class TestMarubou : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowParts();
    void activationRecomputes();
    void typedMarks_data();
    void typedMarks();
    void valueOutOfRange();
    void runStoresAValueBeingTyped();
    void cancelDropsIt_data();
    void cancelDropsIt();
    void noRowAddedOrRemoved();
    void enterOnRunAcceptsButNotInTheGrid();
};

void TestMarubou::windowParts() {
    DialogHarness h;
    QCOMPARE(h.dialog->windowTitle(), QStringLiteral("marubou"));
    QCOMPARE(h.dialog->size(), QSize(576, 659));
    QCOMPARE(h.dialog->Button2->text(), QStringLiteral("実　　行"));
    QCOMPARE(h.dialog->LibBtBtn1->text(), QStringLiteral("キャンセル"));
    QVERIFY(!h.dialog->LibBtBtn2->isVisibleTo(h.dialog.get()));
    const QAbstractItemModel& model = *h.dialog->FixDBGrid1->model();
    QStringList titles;
    for (int column = 0; column < model.columnCount(); ++column)
        if (!h.dialog->FixDBGrid1->isColumnHidden(column))
            titles << model.headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"code", "Bumonmei", "入力区分=1", "部門区分", "集計対象=1"}));
    QCOMPARE(model.columnCount(), 13);
    QVERIFY(model.headerData(4, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
}

void TestMarubou::activationRecomputes() {
    DialogHarness h;
    // F11 left from an earlier showing is cleared first.
    test::TestFolder::sql(h.b, {"UPDATE Bumon SET F11 = 1 WHERE code = 3"});
    h.show();
    QCOMPARE(h.taken(), (QStringList{"1", "1", ""}));
    QVERIFY(!h.red(0)); // taken as the first row, but a summary row is not painted
    QVERIFY(h.red(1));
    QVERIFY(!h.red(2));
    QVERIFY(h.dialog->Button2->hasFocus());
}

void TestMarubou::typedMarks_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("redBeforeRun");
    QTest::addColumn<QString>("takenAfterRun");
    QTest::newRow("1 marks the row") << "1" << true << "1";
    QTest::newRow("0 paints red until the recompute") << "0" << true << "";
}

void TestMarubou::typedMarks() {
    QFETCH(QString, typed);
    QFETCH(bool, redBeforeRun);
    QFETCH(QString, takenAfterRun);
    DialogHarness h;
    h.show();
    h.goToMark(2);
    type(typed);
    press(Qt::Key_Return);
    QCOMPARE(test::rowsOf(h.b, "Bumon", {"F12"}, "code").last(), typed);
    QCOMPARE(h.red(2), redBeforeRun);
    QVERIFY(h.boxes.errors.isEmpty());
    QTest::mouseClick(h.dialog->Button2, Qt::LeftButton);
    QCOMPARE(h.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(h.dialog->MarubouC, 0);
    QCOMPARE(h.taken().last(), takenAfterRun);
    QVERIFY(!h.dialog->selection.BumonTB.isActive());
}

void TestMarubou::valueOutOfRange() {
    DialogHarness h;
    h.show();
    h.goToMark(2);
    type(QStringLiteral("5"));
    press(Qt::Key_Return);
    QCOMPARE(h.boxes.errors.size(), 1);
    QVERIFY2(h.boxes.errors.first().contains(QStringLiteral("0 から 1 まで")),
             qPrintable(h.boxes.errors.first()));
    QCOMPARE(test::rowsOf(h.b, "Bumon", {"F12"}, "code").last(), QString());
    QCOMPARE(h.taken().last(), QString()); // the key rule did not run
}

void TestMarubou::runStoresAValueBeingTyped() {
    DialogHarness h;
    h.show();
    h.goToMark(2);
    type(QStringLiteral("1")); // still in the editor
    QTest::mouseClick(h.dialog->Button2, Qt::LeftButton);
    QCOMPARE(h.dialog->MarubouC, 0);
    QCOMPARE(test::rowsOf(h.b, "Bumon", {"F12"}, "code").last(), QStringLiteral("1"));
    QCOMPARE(h.taken(), (QStringList{"1", "1", "1"}));
}

void TestMarubou::cancelDropsIt_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("cancel button") << false;
    QTest::newRow("close box") << true;
}

void TestMarubou::cancelDropsIt() {
    QFETCH(bool, closeBox);
    DialogHarness h;
    h.show();
    h.goToMark(2);
    type(QStringLiteral("1"));
    if (closeBox)
        h.dialog->close();
    else
        QTest::mouseClick(h.dialog->LibBtBtn1, Qt::LeftButton);
    QCOMPARE(h.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(h.dialog->MarubouC, 1);
    QCOMPARE(test::rowsOf(h.b, "Bumon", {"F12"}, "code").last(), QString());
    QVERIFY(!h.dialog->selection.BumonTB.isActive());
}

void TestMarubou::noRowAddedOrRemoved() {
    DialogHarness h;
    h.show();
    h.goToMark(2);
    press(Qt::Key_Down); // past the last row
    press(Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(h.dialog->FixDBGrid1->model()->rowCount(), 3);
    QCOMPARE(test::rowsOf(h.b, "Bumon", {"code"}, "code"), (QStringList{"1", "2", "3"}));
    QVERIFY(h.boxes.errors.isEmpty());
    QVERIFY(h.boxes.messages.isEmpty());
}

void TestMarubou::enterOnRunAcceptsButNotInTheGrid() {
    DialogHarness h;
    h.show();
    h.goToMark(1);
    press(Qt::Key_Return); // the key rule's row move, nothing more
    QVERIFY(h.dialog->isVisible());
    h.dialog->Button2->setFocus();
    QTRY_VERIFY(h.dialog->Button2->hasFocus());
    press(Qt::Key_Return);
    QVERIFY(!h.dialog->isVisible());
    QCOMPARE(h.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(h.dialog->MarubouC, 0);
}

QTEST_MAIN(TestMarubou)
#include "tst_marubou.moc"
