#pragma once

#include <QString>
#include <QtGlobal>
#include <QUrl>
#include <concepts>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

class QWidget;

// Every message box, question, input box, folder choice and web-address
// opening of the program goes through here, so tests can answer them.
namespace ui {

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct PromptRequest {
    enum class Kind { Message, Question, Input, Folder, OpenUrl, Error };

    Kind kind = Kind::Message;
    QString text;      // message, question, input prompt, or the address to open
    QString caption;   // as the box shows it
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultAnswer = Answer::Ok;
    QString value;     // the input box's text, or the folder the choice starts in
    QString details;   // behind the text, shown on request: the engine's own words, for support
};

struct PromptReply {
    PromptReply() = default;
    PromptReply(Answer a, QString v = QString()) : answer(a), value(std::move(v)) {}

    Answer answer = Answer::Ok;
    QString value;     // text typed, or folder chosen
};

// Answers prompts instead of the real dialogs while installed.
class Responder {
public:
    virtual ~Responder();
    virtual PromptReply respond(const PromptRequest& request) = 0;
};

// Installs the responder that answers every prompt from now on; nullptr shows
// real dialogs again. The caller keeps ownership.
void setResponder(Responder* responder);
Responder* responder();

// How many boxes (messages, questions, input boxes, folder choices) have been
// put so far, to the user or to the responder; opening an address is no box.
quint64 promptCount();

// Every box of one kind has the same caption and icon, so a user tells the
// kinds apart at a glance. Each is modal with an OK button.
// A notice: something done, or a fact to know ("数据备份完毕"): caption
// "提示", information icon.
void inform(QWidget* parent, const QString& text);
// A refusal: an entry or a step that cannot be taken now ("无效会员卡"):
// caption "提示", warning icon.
void warn(QWidget* parent, const QString& text, const QString& details = {});

// A modal question with the question icon; the answer is the button chosen.
// Closing the box without choosing answers Cancel, or No where there is no
// Cancel button.
Answer ask(QWidget* parent, const QString& text, const QString& caption, Buttons buttons,
           Answer defaultAnswer = Answer::Ok);

// An input box editing value; nothing when cancelled.
std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                             const QString& value);

// A folder choice starting in start; nothing when cancelled.
std::optional<QString> chooseFolder(QWidget* parent, const QString& caption, const QString& start);

// Opens the address with the system's handler; false when that failed.
bool openUrl(const QUrl& url);

// The application's one error box, for a failure of the program or its
// database: the error's own text, the application's title, critical icon.
void showError(QWidget* parent, const QString& text, const QString& details = {});
// The error box for a failure caught: its reason in the user's words, the
// engine's own behind it.
void showError(QWidget* parent, const std::exception& failure);

// Runs fn; an exception escaping it is shown by showError instead of leaving
// the event handler. True when fn returned normally.
bool runGuarded(QWidget* parent, const std::function<void()>& fn);

// Wraps a handler for connecting to a signal so that its errors reach the error box:
//   connect(button, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_saveClick(); }));
template <typename F>
auto guarded(QWidget* parent, F fn)
{
    // Constrained so that Qt drops the signal arguments the handler does not take.
    return [parent, fn = std::move(fn)](auto&&... args) -> void
               requires std::invocable<const F&, decltype(args)...>
    {
        runGuarded(parent, [&] { fn(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace ui
