#include "platform/ui/Hourglass.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

Hourglass::Hourglass()
{
    // Code run without a GUI application (tools, plain tests) has no cursor to change.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    shown_ = true;
}

Hourglass::~Hourglass()
{
    if (shown_)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace ui
