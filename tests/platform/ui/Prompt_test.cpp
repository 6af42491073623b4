#include "platform/db/Error.h"
#include "platform/ui/Prompt.h"
#include "tests/support/PromptResponder.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using Kind = ui::PromptRequest::Kind;

// One caption and one icon for each kind of box, whatever form puts it.
TEST(Prompt, EachKindOfBoxHasItsOneCaptionAndIcon)
{
    const QString savedName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("晴澜"));
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message).expect(Kind::Message).expect(Kind::Error).expect(Kind::Question);

    ui::inform(nullptr, QStringLiteral("数据备份完毕"));
    ui::warn(nullptr, QStringLiteral("无效会员卡"));
    ui::showError(nullptr, QStringLiteral("数据库无法打开"));
    ui::ask(nullptr, QStringLiteral("确认删除?"), QStringLiteral("提示"), ui::Buttons::OkCancel);
    QCoreApplication::setApplicationName(savedName);

    ASSERT_EQ(prompts.count(), 4);
    const auto& p = prompts.prompts();
    EXPECT_EQ(p[0].text, QStringLiteral("数据备份完毕"));
    EXPECT_EQ(p[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(p[0].icon, ui::Icon::Information);
    EXPECT_EQ(p[0].buttons, ui::Buttons::Ok);
    EXPECT_EQ(p[1].caption, QStringLiteral("提示"));
    EXPECT_EQ(p[1].icon, ui::Icon::Warning);
    EXPECT_EQ(p[1].buttons, ui::Buttons::Ok);
    EXPECT_EQ(p[2].caption, QStringLiteral("晴澜"));
    EXPECT_EQ(p[2].icon, ui::Icon::Critical);
    EXPECT_EQ(p[3].icon, ui::Icon::Question);
}

TEST(Prompt, AskReturnsTheResponderAnswerAndRecordsButtonsAndIcon)
{
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除"), {ui::Answer::Cancel});
    prompts.expect(QStringLiteral("确认退出"), {ui::Answer::Ok});

    EXPECT_EQ(ui::ask(nullptr, QStringLiteral("确认删除?"), QStringLiteral("提示"), ui::Buttons::OkCancel),
              ui::Answer::Cancel);
    EXPECT_EQ(ui::ask(nullptr, QStringLiteral("确认退出系统?"), QStringLiteral("提示"), ui::Buttons::OkCancel),
              ui::Answer::Ok);

    const ui::PromptRequest q = prompts.last();
    EXPECT_EQ(q.kind, Kind::Question);
    EXPECT_EQ(q.buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(q.icon, ui::Icon::Question);
    EXPECT_EQ(q.caption, QStringLiteral("提示"));
}

TEST(Prompt, InputGivesTheTypedTextOrNothingWhenCancelled)
{
    testui::PromptResponder prompts;
    prompts.expect(Kind::Input, {ui::Answer::Ok, QStringLiteral("\\\\server\\share\\")});
    prompts.expect(Kind::Input, {ui::Answer::Cancel, QStringLiteral("ignored")});

    const auto typed = ui::input(nullptr, QStringLiteral("提示"), QStringLiteral("请输入数据库所在服务器名称或地址："),
                                 QStringLiteral("old"));
    const auto cancelled = ui::input(nullptr, QStringLiteral("提示"), QStringLiteral("again"), QString());

    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(*typed, QStringLiteral("\\\\server\\share\\"));
    EXPECT_FALSE(cancelled.has_value());
    EXPECT_EQ(prompts.prompts()[0].value, QStringLiteral("old"));
    EXPECT_EQ(prompts.prompts()[0].text, QStringLiteral("请输入数据库所在服务器名称或地址："));
}

TEST(Prompt, CountsEveryBoxButNotAnOpenedAddress)
{
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message).expect(Kind::Question).expect(Kind::Input).expect(Kind::Folder);
    prompts.expect(Kind::Error).expect(Kind::OpenUrl);
    const quint64 before = ui::promptCount();

    ui::warn(nullptr, QStringLiteral("无效会员卡"));
    ui::ask(nullptr, QStringLiteral("确认删除?"), QStringLiteral("提示"), ui::Buttons::OkCancel);
    ui::input(nullptr, QStringLiteral("提示"), QStringLiteral("请输入"), QString());
    ui::chooseFolder(nullptr, QStringLiteral("备份"), QString());
    ui::showError(nullptr, QStringLiteral("数据库无法打开"));
    EXPECT_EQ(ui::promptCount(), before + 5);

    ui::openUrl(QUrl(QStringLiteral("https://example.com/")));
    EXPECT_EQ(ui::promptCount(), before + 5);
}

TEST(Prompt, FolderChoiceAndUrlOpeningGoThroughTheResponder)
{
    testui::PromptResponder prompts;
    prompts.expect(Kind::Folder, {ui::Answer::Ok, QStringLiteral("/backup")});
    prompts.expect(Kind::Folder, {ui::Answer::Cancel, QString()});
    prompts.expect(Kind::OpenUrl, {ui::Answer::Ok});

    EXPECT_EQ(ui::chooseFolder(nullptr, QStringLiteral("备份"), QStringLiteral("/start")),
              std::optional<QString>(QStringLiteral("/backup")));
    EXPECT_FALSE(ui::chooseFolder(nullptr, QStringLiteral("备份"), QString()).has_value());
    EXPECT_TRUE(ui::openUrl(QUrl(QStringLiteral("http://example.com/home"))));

    EXPECT_EQ(prompts.prompts()[0].value, QStringLiteral("/start"));
    EXPECT_EQ(prompts.last().text, QStringLiteral("http://example.com/home"));
}

TEST(Prompt, RunGuardedShowsAnEscapingErrorsTextInTheErrorBox)
{
    testui::PromptResponder prompts;
    prompts.expect(Kind::Error);

    bool after = false;
    const bool completed = ui::runGuarded(nullptr, [&] {
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("“abc”不是有效的整数"));
        after = true;
    });

    EXPECT_FALSE(completed);
    EXPECT_FALSE(after);
    EXPECT_EQ(prompts.last().text, QStringLiteral("“abc”不是有效的整数"));
    EXPECT_EQ(prompts.last().icon, ui::Icon::Critical);
}

TEST(Prompt, AnEnginesFailureIsToldInTheUsersWordsWithTheEnginesBehind)
{
    testui::PromptResponder prompts;
    prompts.expect(Kind::Error);
    ui::runGuarded(nullptr, [] { throw db::Error(db::Error::Kind::Engine, QStringLiteral("database is locked"), 5); });
    EXPECT_EQ(prompts.last().text, QStringLiteral("数据库正被另一台电脑或另一个程序使用，请稍后再试"));
    EXPECT_EQ(prompts.last().details, QStringLiteral("database is locked"));
}

TEST(Prompt, RunGuardedIsSilentWhenNothingEscapes)
{
    testui::PromptResponder prompts;
    int runs = 0;
    EXPECT_TRUE(ui::runGuarded(nullptr, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(prompts.count(), 0);
}

TEST(Prompt, GuardedSlotDropsSignalArgumentsItDoesNotTakeAndCatchesErrors)
{
    testui::PromptResponder prompts;
    prompts.expect(Kind::Error, QStringLiteral("数据库无法打开"));
    QPushButton button;
    int plainClicks = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, ui::guarded(&button, [&] { ++plainClicks; }));
    QObject::connect(&button, &QPushButton::clicked, &button, ui::guarded(&button, [](bool) {
        throw std::runtime_error("数据库无法打开");
    }));

    button.click();

    EXPECT_EQ(plainClicks, 1);
    EXPECT_EQ(prompts.count(), 1);
}

TEST(PromptResponder, FailsOnAPromptNobodyExpected)
{
    EXPECT_NONFATAL_FAILURE(
        {
            testui::PromptResponder prompts;
            ui::warn(nullptr, QStringLiteral("意外的消息"));
        },
        "unexpected prompt: message \"意外的消息\"");
}

TEST(PromptResponder, AnswersAnUnexpectedQuestionWithCancel)
{
    ui::Answer answer = ui::Answer::Ok;
    EXPECT_NONFATAL_FAILURE(
        {
            testui::PromptResponder prompts;
            answer = ui::ask(nullptr, QStringLiteral("确认删除?"), QStringLiteral("提示"), ui::Buttons::OkCancel);
        },
        "unexpected prompt");
    EXPECT_EQ(answer, ui::Answer::Cancel);
}

TEST(PromptResponder, FailsOnAPromptOtherThanTheOneExpectedNext)
{
    EXPECT_NONFATAL_FAILURE(
        {
            testui::PromptResponder prompts;
            prompts.expect(QStringLiteral("编号,姓名不能为空"));
            ui::warn(nullptr, QStringLiteral("无效会员卡"));
            prompts.verify();
        },
        "the next expected is any prompt containing \"编号,姓名不能为空\"");
}

TEST(PromptResponder, FailsForAnExpectedPromptThatNeverCame)
{
    EXPECT_NONFATAL_FAILURE(
        {
            testui::PromptResponder prompts;
            prompts.expect(Kind::Question, QStringLiteral("确认删除?"));
        },
        "expected prompt never came: question containing \"确认删除?\"");
}

TEST(PromptResponder, FailsForAPromptWhileNoneIsInstalled)
{
    EXPECT_NONFATAL_FAILURE(ui::warn(nullptr, QStringLiteral("无人应答")), "no PromptResponder installed");
}

TEST(PromptResponder, RestoresTheResponderInstalledBeforeIt)
{
    ui::Responder* before = ui::responder();
    {
        testui::PromptResponder outer;
        {
            testui::PromptResponder inner;
            EXPECT_EQ(ui::responder(), &inner);
        }
        EXPECT_EQ(ui::responder(), &outer);
    }
    EXPECT_EQ(ui::responder(), before);
}

// Shows real dialogs for the length of a test.
class RealDialogs {
public:
    RealDialogs() : saved_(ui::responder()) { ui::setResponder(nullptr); }
    ~RealDialogs() { ui::setResponder(saved_); }

private:
    ui::Responder* saved_;
};

// Acts on the modal dialog once the event loop of its exec() runs; acted()
// tells whether there was one. The timer dies with the helper, so a dialog
// that never opened leaves nothing behind for later tests.
template <typename Dialog>
class OnceOpen {
public:
    template <typename Act>
    explicit OnceOpen(Act act)
    {
        QTimer::singleShot(0, &context_, [this, act] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                act(dialog);
                acted_ = true;
            }
        });
    }
    bool acted() const { return acted_; }

private:
    QObject context_;
    bool acted_ = false;
};

TEST(PromptDialogs, AskShowsAMessageBoxWithTheGivenTextButtonsAndIcon)
{
    RealDialogs real;
    OnceOpen<QMessageBox> opened([](QMessageBox* box) {
        EXPECT_EQ(box->text(), QStringLiteral("确认删除?"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("提示"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
        box->button(QMessageBox::Cancel)->click();
    });

    const ui::Answer answer = ui::ask(nullptr, QStringLiteral("确认删除?"), QStringLiteral("提示"), ui::Buttons::OkCancel);

    EXPECT_TRUE(opened.acted());
    EXPECT_EQ(answer, ui::Answer::Cancel);
}

// The standard buttons speak the program's language.
TEST(PromptDialogs, StandardButtonsReadInChinese)
{
    RealDialogs real;
    QStringList okCancel, yesNo;
    {
        OnceOpen<QMessageBox> opened([&](QMessageBox* box) {
            okCancel << box->button(QMessageBox::Ok)->text() << box->button(QMessageBox::Cancel)->text();
            box->button(QMessageBox::Cancel)->click();
        });
        ui::ask(nullptr, QStringLiteral("确认退出系统?"), QStringLiteral("提示"), ui::Buttons::OkCancel);
        EXPECT_TRUE(opened.acted());
    }
    {
        OnceOpen<QMessageBox> opened([&](QMessageBox* box) {
            yesNo << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
            box->button(QMessageBox::No)->click();
        });
        ui::ask(nullptr, QStringLiteral("确认删除该记录"), QStringLiteral("提示"), ui::Buttons::YesNo);
        EXPECT_TRUE(opened.acted());
    }
    EXPECT_EQ(okCancel, QStringList({QStringLiteral("确定"), QStringLiteral("取消")}));
    ASSERT_EQ(yesNo.size(), 2);
    EXPECT_TRUE(yesNo[0].startsWith(QStringLiteral("是"))) << yesNo[0].toStdString();
    EXPECT_TRUE(yesNo[1].startsWith(QStringLiteral("否"))) << yesNo[1].toStdString();
}

TEST(PromptDialogs, EscapeOnAYesNoQuestionAnswersNo)
{
    RealDialogs real;
    OnceOpen<QMessageBox> opened([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });

    const ui::Answer answer = ui::ask(nullptr, QStringLiteral("是否继续?"), QStringLiteral("提示"),
                                      ui::Buttons::YesNo, ui::Answer::Yes);

    EXPECT_TRUE(opened.acted());
    EXPECT_EQ(answer, ui::Answer::No);
}

TEST(PromptDialogs, InputShowsAnInputBoxEditingTheValue)
{
    RealDialogs real;
    OnceOpen<QInputDialog> opened([](QInputDialog* dialog) {
        EXPECT_EQ(dialog->labelText(), QStringLiteral("请输入数据库所在服务器名称或地址："));
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("提示"));
        auto* edit = dialog->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("old"));
        edit->setText(QStringLiteral("server1"));
        dialog->accept();
    });

    const auto typed = ui::input(nullptr, QStringLiteral("提示"), QStringLiteral("请输入数据库所在服务器名称或地址："),
                                 QStringLiteral("old"));

    EXPECT_TRUE(opened.acted());
    EXPECT_EQ(typed, std::optional<QString>(QStringLiteral("server1")));
}

} // namespace
