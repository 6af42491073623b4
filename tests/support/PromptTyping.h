#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

namespace testui {

// Types text into a widget key by key, as a user would; unlike
// QTest::keyClicks it takes any character, Chinese included. A character of
// two UTF-16 units (an emoji) comes in one key, as a keyboard sends it.
inline void typeText(QWidget* w, const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text.mid(i, units), Qt::NoModifier);
        i += units;
    }
}

// Types text key by key into whichever control has the focus as each key
// comes, as a keyboard does: a key that opens a grid cell's editor hands the
// keys after it to that editor.
inline void typeAtFocus(const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Presses key on the control with the focus and lets what it queued run (a
// grid takes a cell's value, and closes its editor, by queued calls).
inline void pressAtFocus(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Presses the mnemonic Alt+key on the control with the focus, as a user
// saves from a box, and waits (at most five seconds) until done() holds: a
// mnemonic presses its button briefly before it clicks.
template <class Done>
inline bool pressMnemonicUntil(Qt::Key key, Done done)
{
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    return QTest::qWaitFor(done, 5000);
}

} // namespace testui
