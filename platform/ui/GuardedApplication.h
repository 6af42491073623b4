#pragma once

#include <QApplication>

namespace ui {

// The application object of the program: an error that escapes an event
// handler is shown in the application's one error box instead of ending the
// program. Handlers should still catch their own (ui::guarded); this is the
// net under them.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ui
