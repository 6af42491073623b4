#include "tools/bench/Session.h"

#include "core/DbConfig.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/ui/EnterAsTab.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace bench {

PromptLog::PromptLog() : previous_(ui::responder())
{
    ui::setResponder(this);
}

PromptLog::~PromptLog()
{
    ui::setResponder(previous_);
}

ui::PromptReply PromptLog::respond(const ui::PromptRequest& request)
{
    texts_ << request.text;
    switch (request.buttons) {
    case ui::Buttons::YesNo:
    case ui::Buttons::YesNoCancel:
        return {ui::Answer::Yes, request.value};
    default:
        return {ui::Answer::Ok, request.value};
    }
}

QStringList PromptLog::take()
{
    QStringList out;
    out.swap(texts_);
    return out;
}

ProgramSession::ProgramSession(const QString& databasePath)
    : path_(databasePath), enterAsTab_(std::make_unique<ui::EnterAsTab>())
{
    restart();
}

ProgramSession::~ProgramSession()
{
    dataModule_.reset(); // clears FrmDataMod as it goes
    ResetProgramState();
}

void ProgramSession::restart()
{
    dataModule_.reset();
    dataModule_ = std::make_unique<TFrmDataMod>();
    dataModule_->AdoConn.open(path_, databaseKey());
    FrmDataMod = dataModule_.get();
    logIn();
}

// What the login and the main window's first show leave behind: the user,
// the rights and the shop settings the forms read.
void ProgramSession::logIn()
{
    ResetProgramState();
    const QString all(38, QLatin1Char('1'));
    PowUse = PowAdd = PowEdit = PowDele = PowChek = PowFind = PowPrin = all;
    CurrentUser = QStringLiteral("admin");
    db::Connection& conn = dataModule_->AdoConn;
    const auto setting = [&conn](const char* column) {
        return conn.scalar(QStringLiteral("select %1 from userinfo limit 1").arg(QLatin1String(column)));
    };
    SaleCommissionRate = int(db::asInt(setting("sale_value")));
    GoodsCodeCaption = db::asString(setting("gods_code"));
    GoodsNameCaption = db::asString(setting("gods_name"));
    GoodsSpecCaption = db::asString(setting("gods_spec"));
    GoodsTypeCaption = db::asString(setting("gods_type"));
    GoodsKindCaption = db::asString(setting("gods_kind"));
}

void ProgramSession::requireNoPrompt(const QString& during)
{
    const QStringList said = prompts_.take();
    require(said.isEmpty(), QStringLiteral("%1 showed \"%2\"").arg(during, said.join(QStringLiteral("\", \""))));
}

void require(bool condition, const QString& what)
{
    if (!condition)
        throw ActionFailed(what);
}

void showForm(QWidget& form)
{
    form.show();
    form.activateWindow();
    require(QTest::qWaitForWindowActive(&form), QStringLiteral("%1 did not become active").arg(form.windowTitle()));
}

void click(QWidget* button)
{
    require(button && button->isEnabled(), QStringLiteral("a button to click is missing or disabled"));
    QTest::mouseClick(button, Qt::LeftButton);
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void pressKey(QWidget* widget, int key)
{
    QTest::keyClick(widget, Qt::Key(key));
}

void clearBox(QWidget* widget)
{
    widget->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->lineEdit()->selectAll();
    QTest::keyClick(widget, Qt::Key_Delete);
}

} // namespace bench
