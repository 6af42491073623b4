#pragma once

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

} // namespace testui
