#pragma once

#include "platform/ui/Prompt.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <stdexcept>

class TFrmDataMod;
namespace ui {
class EnterAsTab;
}

// The program as its user has it, driven by the benchmark the way a user
// drives it: through the forms' controls, keys and clicks.
namespace bench {

// Answers every box as a user pressing OK (or Yes) would, and keeps what the
// boxes said: an action that met a message did not do its work, and is
// reported instead of timed as if it had.
class PromptLog : public ui::Responder {
public:
    PromptLog();
    ~PromptLog() override;
    PromptLog(const PromptLog&) = delete;
    PromptLog& operator=(const PromptLog&) = delete;

    ui::PromptReply respond(const ui::PromptRequest& request) override;
    // The texts of the boxes shown since the last call, forgotten then.
    QStringList take();

private:
    ui::Responder* previous_;
    QStringList texts_;
};

// A user logged in with every right on a database file: the data module
// open on it (installed as FrmDataMod), the shop settings read, Enter moving
// on like Tab, and the boxes answered by a PromptLog.
class ProgramSession {
public:
    explicit ProgramSession(const QString& databasePath);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    TFrmDataMod& dataModule() { return *dataModule_; }
    PromptLog& prompts() { return prompts_; }
    // The program started afresh on the same file: a new data module,
    // nothing of the last one kept. No form may be open.
    void restart();
    // Throws when a box came up since the last check: what an action met.
    void requireNoPrompt(const QString& during);

private:
    void logIn();

    QString path_;
    PromptLog prompts_;
    std::unique_ptr<ui::EnterAsTab> enterAsTab_;
    std::unique_ptr<TFrmDataMod> dataModule_;
};

// What stopped an action; the table shows the text.
struct ActionFailed : std::runtime_error {
    explicit ActionFailed(const QString& what) : std::runtime_error(what.toStdString()) {}
};
void require(bool condition, const QString& what);

// A user's hands.
// Shows a form as the main window opens it: visible and active.
void showForm(QWidget& form);
void click(QWidget* button);
// Types text key by key into the widget (any character, Chinese included).
void typeText(QWidget* widget, const QString& text);
void pressKey(QWidget* widget, int key);
// Clears a line edit (or an editable combo's line) with the keyboard.
void clearBox(QWidget* widget);

// The child of that class and name; throws when the form has none.
template <class W>
W* child(QWidget& form, const char* name)
{
    W* w = form.findChild<W*>(QString::fromLatin1(name));
    require(w != nullptr, QStringLiteral("the form has no control %1").arg(QLatin1String(name)));
    return w;
}

} // namespace bench
