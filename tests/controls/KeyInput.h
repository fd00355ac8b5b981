#pragma once

#include <QApplication>
#include <QString>
#include <QtTest>

namespace marubo::test {

// Types `text` into the widget that has the focus, one character at a time as
// an input method would; unlike QTest::keyClicks this works for Japanese text.
inline void type(const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

// Presses a key in the widget that has the focus, then lets queued work run:
// item editors commit on Return from the event loop.
inline void press(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QCoreApplication::processEvents();
}

} // namespace marubo::test
