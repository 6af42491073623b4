#include "platform/ui/Prompt.h"

#include "platform/db/Error.h"
#include "platform/sys/Shell.h"

#include <QFileDialog>
#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <exception>

namespace ui {

namespace {

// Constant-initialised, so a responder installed during static start-up stays.
Responder* g_responder = nullptr;
quint64 g_promptCount = 0;

const QString kNotice = QStringLiteral("提示");

// The application's title is its name: a display name of its own would be
// appended by the desktop to every window's caption.
QString captionOrTitle(const QString& caption)
{
    return caption.isEmpty() ? QCoreApplication::applicationName() : caption;
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton boxButton(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Answer dismissAnswer(Buttons buttons)
{
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

Answer showBox(QWidget* parent, const PromptRequest& r)
{
    QMessageBox box(boxIcon(r.icon), r.caption, r.text, boxButtons(r.buttons), parent);
    box.setDetailedText(r.details);
    const QMessageBox::StandardButton preferred = boxButton(r.defaultAnswer);
    if (boxButtons(r.buttons).testFlag(preferred))
        box.setDefaultButton(preferred);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return r.buttons == Buttons::Ok ? Answer::Ok : dismissAnswer(r.buttons);
    }
}

// The responder when one is installed, else the real dialog of the request.
PromptReply dispatch(QWidget* parent, const PromptRequest& r)
{
    if (r.kind != PromptRequest::Kind::OpenUrl)
        ++g_promptCount;
    if (g_responder)
        return g_responder->respond(r);

    PromptReply reply;
    switch (r.kind) {
    case PromptRequest::Kind::Message:
    case PromptRequest::Kind::Question:
    case PromptRequest::Kind::Error:
        reply.answer = showBox(parent, r);
        break;
    case PromptRequest::Kind::Input: {
        bool ok = false;
        reply.value = QInputDialog::getText(parent, r.caption, r.text, QLineEdit::Normal, r.value, &ok);
        reply.answer = ok ? Answer::Ok : Answer::Cancel;
        break;
    }
    case PromptRequest::Kind::Folder:
        reply.value = QFileDialog::getExistingDirectory(parent, r.caption, r.value);
        reply.answer = reply.value.isEmpty() ? Answer::Cancel : Answer::Ok;
        break;
    case PromptRequest::Kind::OpenUrl:
        reply.answer = sys::openUrl(QUrl(r.text)) ? Answer::Ok : Answer::Cancel;
        break;
    }
    return reply;
}

PromptRequest request(PromptRequest::Kind kind, const QString& text, const QString& caption,
                      Buttons buttons = Buttons::Ok, Icon icon = Icon::None)
{
    PromptRequest r;
    r.kind = kind;
    r.text = text;
    r.caption = captionOrTitle(caption);
    r.buttons = buttons;
    r.icon = icon;
    return r;
}

} // namespace

Responder::~Responder() = default;

void setResponder(Responder* responder)
{
    g_responder = responder;
}

Responder* responder()
{
    return g_responder;
}

quint64 promptCount()
{
    return g_promptCount;
}

void inform(QWidget* parent, const QString& text)
{
    dispatch(parent, request(PromptRequest::Kind::Message, text, kNotice, Buttons::Ok, Icon::Information));
}

void warn(QWidget* parent, const QString& text, const QString& details)
{
    PromptRequest r = request(PromptRequest::Kind::Message, text, kNotice, Buttons::Ok, Icon::Warning);
    r.details = details;
    dispatch(parent, r);
}

Answer ask(QWidget* parent, const QString& text, const QString& caption, Buttons buttons, Answer defaultAnswer)
{
    PromptRequest r = request(PromptRequest::Kind::Question, text, caption, buttons, Icon::Question);
    r.defaultAnswer = defaultAnswer;
    return dispatch(parent, r).answer;
}

std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                             const QString& value)
{
    PromptRequest r = request(PromptRequest::Kind::Input, prompt, caption, Buttons::OkCancel);
    r.value = value;
    const PromptReply reply = dispatch(parent, r);
    if (reply.answer != Answer::Ok)
        return std::nullopt;
    return reply.value;
}

std::optional<QString> chooseFolder(QWidget* parent, const QString& caption, const QString& start)
{
    PromptRequest r = request(PromptRequest::Kind::Folder, QString(), caption, Buttons::OkCancel);
    r.value = start;
    const PromptReply reply = dispatch(parent, r);
    if (reply.answer != Answer::Ok || reply.value.isEmpty())
        return std::nullopt;
    return reply.value;
}

bool openUrl(const QUrl& url)
{
    PromptRequest r = request(PromptRequest::Kind::OpenUrl, url.toString(), QString());
    return dispatch(nullptr, r).answer == Answer::Ok;
}

void showError(QWidget* parent, const QString& text, const QString& details)
{
    PromptRequest r = request(PromptRequest::Kind::Error, text, QString(), Buttons::Ok, Icon::Critical);
    r.details = details;
    dispatch(parent, r);
}

void showError(QWidget* parent, const std::exception& failure)
{
    showError(parent, db::reasonOf(failure), db::detailsOf(failure));
}

bool runGuarded(QWidget* parent, const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        showError(parent, e);
    } catch (...) {
        showError(parent, QStringLiteral("未知错误"));
    }
    return false;
}

} // namespace ui
