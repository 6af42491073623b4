#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace testui {

// Types text into a widget key by key, as a user would; unlike
// QTest::keyClicks it takes any character, Chinese included.
inline void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace testui
