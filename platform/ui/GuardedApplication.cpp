#include "platform/ui/GuardedApplication.h"

#include "platform/ui/Prompt.h"

#include <exception>

namespace ui {

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showError(nullptr, e);
    } catch (...) {
        showError(nullptr, QStringLiteral("未知错误"));
    }
    return false;
}

} // namespace ui
