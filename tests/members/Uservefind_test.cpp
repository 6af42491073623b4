#include "members/Uservefind.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

class ServeFindTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        // Stored out of code order: the list shows them by code.
        exec("insert into serveitem (serve_code, serve_name, serve_type, gage_time) values "
             "('S03', '剪发', '美发', '20'),"
             "('S01', '洗发', '美发', '15'),"
             "('S02', '剪发', '美发', '25'),"
             "('S04', '护理', '美容', '40')");
    }

    db::Dataset& q() { return dataMod().ServeFindQ; }

    static void show(QWidget& w)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static QPushButton* button(QWidget& w, const char* name)
    {
        auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    // Clicks the item of that text in the combo's open list, as a user chooses with the mouse.
    static void chooseWithMouse(ui::DbComboBox* combo, const QString& text)
    {
        combo->showPopup();
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(i, 0)).center());
    }
    static QPoint cellCenter(ui::DbGrid* grid, int row)
    {
        return grid->visualRect(grid->model()->index(row, 0)).center();
    }
    static void doubleClickRow(ui::DbGrid* grid, int row)
    {
        const QPoint at = cellCenter(grid, row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    // Runs act on the chooser once its modal loop is running; the flag it sets
    // shows it ran. Should act leave the dialog open, the guard ends it.
    template <class Form>
    static void whenShownModal(Form& chooser, std::function<void(Form&)> act, bool& acted)
    {
        QTimer::singleShot(0, &chooser, [&chooser, act, &acted] {
            if (QApplication::activeModalWidget() != &chooser)
                return;
            acted = true;
            act(chooser);
        });
        QTimer::singleShot(10000, &chooser, [&chooser] {
            if (chooser.isVisible())
                chooser.done(-1);
        });
    }
};

TEST_F(ServeFindTest, ListsEveryItemByCodeWithTheNamesToChooseFrom)
{
    TFrmServeFind picker;
    EXPECT_EQ(picker.objectName(), "FrmServeFind");
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("服务项目查询"));
    EXPECT_EQ(button(picker, "cmd_prin")->text(), QStringLiteral("选取[&O]"));
    EXPECT_EQ(button(picker, "cmd_exit")->text(), QStringLiteral("退出[&X]"));
    ASSERT_EQ(q().recordCount(), 4);
    QStringList codes;
    for (int r = 0; r < q().recordCount(); ++r)
        codes << db::asString(q().value(r, q().fieldIndex("serve_code")));
    EXPECT_EQ(codes, (QStringList{"S01", "S02", "S03", "S04"}));
    // The names are listed once the list is used.
    picker.nameCombo()->fillNow();
    EXPECT_EQ(picker.nameCombo()->count(), 3);
    EXPECT_TRUE(picker.nameCombo()->text().isEmpty());
    const auto* model = picker.grid()->datasetModel();
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("用时"));
}

TEST_F(ServeFindTest, TypingACodeMovesToThatItem)
{
    TFrmServeFind picker;
    show(picker);
    QTest::keyClicks(picker.codeBox(), "S03");
    EXPECT_EQ(q().asString("serve_code"), "S03");
    EXPECT_EQ(picker.grid()->currentIndex().row(), 2);
    QTest::keyClicks(picker.codeBox(), "9"); // no such code: the grid stays
    EXPECT_EQ(q().asString("serve_code"), "S03");
}

TEST_F(ServeFindTest, ACodeTypedInAnyLetterCaseMovesToThatItem)
{
    TFrmServeFind picker;
    show(picker);
    QTest::keyClicks(picker.codeBox(), "s03");
    EXPECT_EQ(q().asString("serve_code"), "S03");
}

TEST_F(ServeFindTest, ChoosingANameMovesToTheFirstListedItemOfThatName)
{
    TFrmServeFind picker;
    show(picker);
    q().last();
    chooseWithMouse(picker.nameCombo(), QStringLiteral("剪发"));
    EXPECT_EQ(q().asString("serve_code"), "S02");
    EXPECT_EQ(picker.codeBox()->text(), "S02");
    EXPECT_EQ(picker.grid()->currentIndex().row(), 1);

    picker.nameCombo()->lineEdit()->clear();
    testui::typeText(picker.nameCombo(), QStringLiteral("护理"));
    EXPECT_EQ(q().asString("serve_code"), "S04");
    EXPECT_EQ(picker.codeBox()->text(), "S04");

    testui::typeText(picker.nameCombo(), QStringLiteral("液"));
    EXPECT_TRUE(picker.codeBox()->text().isEmpty());
}

TEST_F(ServeFindTest, TheOpenerReceivesTheChosenCode)
{
    QString code = QStringLiteral("unchanged");
    bool acted = false;
    {
        TFrmServeFind picker;
        whenShownModal<TFrmServeFind>(picker, [](TFrmServeFind& p) {
            QTest::keyClicks(p.codeBox(), "S04");
            QTest::mouseClick(p.findChild<QPushButton*>("cmd_prin"), Qt::LeftButton);
        }, acted);
        if (picker.exec() == QDialog::Accepted)
            code = FrmDataMod->ServeFindQ.asString("serve_code");
    }
    EXPECT_TRUE(acted);
    EXPECT_EQ(code, "S04");
    EXPECT_TRUE(q().isActive()) << "the choice outlives the picker";
}

TEST_F(ServeFindTest, ADoubleClickChooses)
{
    bool acted = false;
    TFrmServeFind picker;
    whenShownModal<TFrmServeFind>(picker, [](TFrmServeFind& p) { doubleClickRow(p.grid(), 2); }, acted);
    EXPECT_EQ(picker.exec(), QDialog::Accepted);
    EXPECT_TRUE(acted);
    EXPECT_EQ(q().asString("serve_code"), "S03");
}

TEST_F(ServeFindTest, ExitClosesWithoutAChoice)
{
    bool acted = false;
    TFrmServeFind picker;
    whenShownModal<TFrmServeFind>(picker, [](TFrmServeFind& p) {
        QTest::keyClicks(p.codeBox(), "S02");
        QTest::mouseClick(p.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
    }, acted);
    EXPECT_EQ(picker.exec(), QDialog::Rejected);
    EXPECT_TRUE(acted);
}

TEST_F(ServeFindTest, AnEmptyListCannotBeChosenFrom)
{
    exec("delete from serveitem");
    bool acted = false;
    bool stillOpenAfterChoose = false;
    TFrmServeFind picker;
    whenShownModal<TFrmServeFind>(picker, [&stillOpenAfterChoose](TFrmServeFind& p) {
        QTest::mouseClick(p.findChild<QPushButton*>("cmd_prin"), Qt::LeftButton);
        QTest::mouseDClick(p.grid()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        stillOpenAfterChoose = p.isVisible();
        QTest::mouseClick(p.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
    }, acted);
    EXPECT_EQ(picker.exec(), QDialog::Rejected);
    EXPECT_TRUE(acted);
    EXPECT_TRUE(stillOpenAfterChoose);
}

TEST_F(ServeFindTest, ChooseFieldGivesTheChoiceOrNothing)
{
    bool acted = false;
    QTimer::singleShot(0, [&acted] {
        auto* p = qobject_cast<TFrmServeFind*>(QApplication::activeModalWidget());
        if (!p)
            return;
        acted = true;
        QTest::keyClicks(p->codeBox(), "S01");
        QTest::mouseClick(p->findChild<QPushButton*>("cmd_prin"), Qt::LeftButton);
    });
    EXPECT_EQ(chooseField<TFrmServeFind>(nullptr, "serve_code"), std::optional<QString>("S01"));
    EXPECT_TRUE(acted);

    acted = false;
    QTimer::singleShot(0, [&acted] {
        auto* p = qobject_cast<TFrmServeFind*>(QApplication::activeModalWidget());
        if (!p)
            return;
        acted = true;
        QTest::keyClick(p, Qt::Key_Escape);
    });
    EXPECT_EQ(chooseFields<TFrmServeFind>(nullptr, {"serve_code", "serve_name"}), std::nullopt);
    EXPECT_TRUE(acted);
}

// A chooser whose empty list still counts as a choice, as the company chooser's does.
class AnyChoiceChooser : public ChooserForm {
public:
    explicit AnyChoiceChooser(QWidget* owner)
        : ChooserForm(owner, QStringLiteral("FrmAnyChoice"), QStringLiteral("选择"), FrmDataMod->ServeFindQ)
    {
        addChooseButton(QStringLiteral("cmd_ok"), QStringLiteral("选择[&O]"), [this] { choose(); });
        addExitButton(QStringLiteral("cmd_exit"), QStringLiteral("退出[&X]"), [this] { reject(); });
        setEmptyChoiceAllowed(true);
        runFormCreate([] {
            db::Dataset& q = FrmDataMod->ServeFindQ;
            q.close();
            q.setSql(QStringLiteral("select * from serveitem where serve_code='none'"));
            q.open();
        });
    }
};

TEST_F(ServeFindTest, AChooserMayTakeAnEmptyChoice)
{
    bool acted = false;
    QTimer::singleShot(0, [&acted] {
        auto* p = dynamic_cast<AnyChoiceChooser*>(QApplication::activeModalWidget());
        if (!p)
            return;
        acted = true;
        QTest::mouseClick(p->findChild<QPushButton*>("cmd_ok"), Qt::LeftButton);
    });
    EXPECT_EQ(chooseFields<AnyChoiceChooser>(nullptr, {"serve_code", "serve_name"}), (QStringList{"", ""}));
    EXPECT_TRUE(acted);
}

} // namespace
