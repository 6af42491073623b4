#include "platform/ui/GuardedApplication.h"

#include "platform/ui/Prompt.h"

#include <exception>

namespace ui {

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showError(nullptr, QString::fromUtf8(e.what()));
    } catch (...) {
        showError(nullptr, QStringLiteral("未知错误"));
    }
    return false;
}

} // namespace ui
