#include "tests/support/TestDb.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "core/Upublic.h"
#include "members/Uinsider.h"
#include "platform/ui/DbCheckBox.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

namespace {

class InsiderTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        grantAllRights();
        exec("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) values "
             "('class_a', '普通卡', 0, 0, 100, 1), ('class_b', '银卡', 1000, 100, 95, 2), "
             "('class_c', '金卡', 3000, 200, 90, 3), ('class_d', '白金卡', 6000, 300, 85, 4), "
             "('class_e', '钻石卡', 10000, 500, 80, 5)");
        exec("insert into insider (insi_code, insi_name, card_no, insi_birth, open_date, insi_pass, foregift, "
             "insi_tota, rest_point, skin1, skin25, hair_else, card_type) values "
             "('M001', '张三', 'C001', '1990-05-01 00:00:00', '2020-01-02 00:00:00', 'pw1', 300, 1234.5, 88.25, "
             "1, 1, '卷发', '银卡'), "
             "('M002', '李四', 'C002', '1985-12-24 00:00:00', '2021-03-04 00:00:00', 'pw2', 0, 0, 0, 0, 0, null, "
             "'普通卡'), "
             "('M003', '王五', 'C003', null, null, null, 0, 0, 0, null, null, null, null)");
    }

    db::Dataset& q() { return dataMod().InsiderQ; }
    QVariant stored(const QString& code, const QString& column)
    {
        return scalar(QStringLiteral("select %1 from insider where insi_code = :c").arg(column), {{"c", code}});
    }
    QDate storedDate(const QString& code, const QString& column)
    {
        return db::asDateTime(stored(code, column)).date();
    }

    static void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void show(TFrmInsider& f)
    {
        f.show();
        QApplication::setActiveWindow(&f);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    static void clickRow(TFrmInsider& f, int row)
    {
        ui::DbGrid* grid = f.grid();
        const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    static ui::DbLineEdit* edit(TFrmInsider& f, const char* column)
    {
        return qobject_cast<ui::DbLineEdit*>(f.control(QString::fromLatin1(column)));
    }
    static void typeInto(QWidget* box, const QString& text)
    {
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        testui::typeText(box, text);
    }
    // Moves the picker a year on, as a user pressing the up arrow on its year.
    static QDate pickNextYear(ui::DbDatePicker* picker)
    {
        picker->setFocus(Qt::OtherFocusReason);
        const QDate before = picker->date();
        QTest::keyClick(picker, Qt::Key_Up);
        EXPECT_EQ(picker->date(), before.addYears(1));
        return picker->date();
    }
};

} // namespace

TEST_F(InsiderTest, ControlsCarryTheirNamesAndCaptions)
{
    TFrmInsider f;
    EXPECT_EQ(f.objectName(), "FrmInsider");
    EXPECT_EQ(f.windowTitle(), "会员资料");
    EXPECT_EQ(f.codeBox(), f.findChild<ui::DbLineEdit*>("DBEdit1"));
    EXPECT_EQ(f.codeBox()->field(), "insi_code");
    EXPECT_FALSE(f.controls().cmd_prin->isVisible());
    EXPECT_EQ(f.controls().cmd_add->text(), "新增&A");
    for (const char* column : {"insi_name", "card_no", "insi_sex", "id_card", "insi_addr", "post_code", "insi_tele",
                               "mobile", "card_type", "insi_state", "insi_note", "skin1", "skin8", "skin_else1",
                               "skin10", "skin24", "hair1", "hair15"})
        EXPECT_NE(f.control(QString::fromLatin1(column)), nullptr) << column;
    for (const char* column : {"skin25", "skin_else2", "hair16", "hair17", "hair_else", "foregift", "insi_tota",
                               "rest_point", "insi_pass"})
        EXPECT_EQ(f.control(QString::fromLatin1(column)), nullptr) << column;
    auto* levels = qobject_cast<QComboBox*>(f.control("card_type"));
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(levels->count(), 5);
    EXPECT_GE(levels->findText("金卡"), 0);
}

TEST_F(InsiderTest, NewMemberWithUntouchedPickersGetsTodayForBothDates)
{
    TFrmInsider f;
    show(f);
    const QDate before = QDate::currentDate();
    click(f.controls().cmd_add);
    ASSERT_EQ(f.mode(), FormMode::Add);
    typeInto(f.codeBox(), "M009");
    typeInto(edit(f, "insi_name"), "赵六");
    typeInto(edit(f, "card_no"), "C009");
    typeInto(edit(f, "mobile"), "13800000000");
    typeInto(f.control("insi_sex"), "女");
    click(f.controls().cmd_save);
    const QDate after = QDate::currentDate();

    EXPECT_EQ(f.mode(), FormMode::Null);
    ASSERT_EQ(count("insider", "insi_code='M009'"), 1);
    EXPECT_EQ(stored("M009", "insi_name").toString(), "赵六");
    EXPECT_EQ(stored("M009", "card_no").toString(), "C009");
    EXPECT_EQ(stored("M009", "mobile").toString(), "13800000000");
    EXPECT_EQ(stored("M009", "insi_sex").toString(), "女");
    for (const char* column : {"insi_birth", "open_date"}) {
        const QDate d = storedDate("M009", column);
        EXPECT_TRUE(d == before || d == after) << column;
        EXPECT_EQ(db::asDateTime(stored("M009", column)).time(), QTime(0, 0)) << column;
    }
    EXPECT_EQ(q().asString("insi_code"), "M009") << "back on the saved member";
}

TEST_F(InsiderTest, APickedDateSurvivesTypingInAnotherBox)
{
    TFrmInsider f;
    show(f);
    click(f.controls().cmd_add);
    typeInto(f.codeBox(), "M010");
    const QDate birth = pickNextYear(f.birthPicker());
    typeInto(edit(f, "insi_name"), "钱七");
    typeInto(edit(f, "insi_addr"), "北京路1号");
    QTest::mouseClick(qobject_cast<ui::DbCheckBox*>(f.control("skin3")), Qt::LeftButton);
    click(f.controls().cmd_save);
    EXPECT_EQ(storedDate("M010", "insi_birth"), birth);
    EXPECT_EQ(stored("M010", "skin3").toInt(), 1);

    ASSERT_TRUE(q().locate("insi_code", "M001"));
    click(f.controls().cmd_edit);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    const QDate opened = pickNextYear(f.openPicker());
    typeInto(edit(f, "insi_tele"), "020-1234");
    click(f.controls().cmd_save);
    EXPECT_EQ(storedDate("M001", "open_date"), opened);
    EXPECT_EQ(opened, QDate(2021, 1, 2));
    EXPECT_EQ(storedDate("M001", "insi_birth"), QDate(1990, 5, 1));
    EXPECT_EQ(stored("M001", "insi_tele").toString(), "020-1234");
}

TEST_F(InsiderTest, MovingThroughTheGridShowsEachMembersDates)
{
    TFrmInsider f;
    show(f);
    EXPECT_EQ(f.birthPicker()->date(), QDate(1990, 5, 1));
    EXPECT_EQ(f.openPicker()->date(), QDate(2020, 1, 2));
    clickRow(f, 1);
    EXPECT_EQ(q().asString("insi_code"), "M002");
    EXPECT_EQ(f.birthPicker()->date(), QDate(1985, 12, 24));
    EXPECT_EQ(f.openPicker()->date(), QDate(2021, 3, 4));
    const QDate before = QDate::currentDate();
    clickRow(f, 2);
    const QDate after = QDate::currentDate();
    EXPECT_TRUE(f.birthPicker()->date() == before || f.birthPicker()->date() == after)
        << "an empty date shows today, not the previous member's";
    clickRow(f, 0);
    EXPECT_EQ(f.birthPicker()->date(), QDate(1990, 5, 1));
}

TEST_F(InsiderTest, EditingLeavesMoneyPasswordAndUnshownColumnsAlone)
{
    TFrmInsider f;
    show(f);
    click(f.controls().cmd_edit);
    typeInto(edit(f, "insi_name"), "张三丰");
    QTest::mouseClick(qobject_cast<ui::DbCheckBox*>(f.control("skin1")), Qt::LeftButton);
    click(f.controls().cmd_save);

    EXPECT_EQ(stored("M001", "insi_name").toString(), "张三丰");
    EXPECT_EQ(stored("M001", "skin1").toInt(), 0);
    EXPECT_DOUBLE_EQ(stored("M001", "foregift").toDouble(), 300);
    EXPECT_DOUBLE_EQ(stored("M001", "insi_tota").toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(stored("M001", "rest_point").toDouble(), 88.25);
    EXPECT_EQ(stored("M001", "insi_pass").toString(), "pw1");
    EXPECT_EQ(stored("M001", "skin25").toInt(), 1);
    EXPECT_EQ(stored("M001", "hair_else").toString(), "卷发");
    EXPECT_EQ(stored("M001", "card_type").toString(), "银卡");
    EXPECT_EQ(storedDate("M001", "insi_birth"), QDate(1990, 5, 1));
    EXPECT_EQ(storedDate("M001", "open_date"), QDate(2020, 1, 2));
}

TEST_F(InsiderTest, CodeAndNameMustNotBeEmpty)
{
    TFrmInsider f;
    show(f);
    testui::PromptResponder prompts;
    click(f.controls().cmd_add);
    typeInto(edit(f, "insi_name"), "无编号");
    prompts.expect("编号,姓名不能为空");
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Add);

    typeInto(f.codeBox(), "M011");
    typeInto(edit(f, "insi_name"), "");
    prompts.expect("编号,姓名不能为空");
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("insider"), 3);

    click(f.controls().cmd_canc);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(q().recordCount(), 3);
}

TEST_F(InsiderTest, EmptyStoredDatesStayEmptyUnlessAPickerIsChanged)
{
    TFrmInsider f;
    show(f);
    clickRow(f, 2); // M003, shown after M001's dates
    click(f.controls().cmd_edit);
    typeInto(edit(f, "insi_note"), "老顾客");
    click(f.controls().cmd_save);
    EXPECT_EQ(stored("M003", "insi_note").toString(), "老顾客");
    EXPECT_TRUE(stored("M003", "insi_birth").isNull());
    EXPECT_TRUE(stored("M003", "open_date").isNull());

    click(f.controls().cmd_edit);
    const QDate birth = pickNextYear(f.birthPicker());
    click(f.controls().cmd_save);
    EXPECT_EQ(storedDate("M003", "insi_birth"), birth);
    EXPECT_TRUE(stored("M003", "open_date").isNull());
}

TEST_F(InsiderTest, CancelDropsTheDatePickedAndShowsTheStoredOne)
{
    TFrmInsider f;
    show(f);
    click(f.controls().cmd_edit);
    pickNextYear(f.birthPicker());
    click(f.controls().cmd_canc);
    EXPECT_EQ(f.birthPicker()->date(), QDate(1990, 5, 1));
    EXPECT_EQ(storedDate("M001", "insi_birth"), QDate(1990, 5, 1));
}

TEST_F(InsiderTest, ButtonsFollowTheRightsAtPositionEight)
{
    PowAdd = QStringLiteral("11111110");
    PowEdit = QStringLiteral("1111111");
    PowDele = QStringLiteral("00000001");
    TFrmInsider f;
    EXPECT_FALSE(f.controls().cmd_add->isEnabled());
    EXPECT_FALSE(f.controls().cmd_edit->isEnabled());
    EXPECT_TRUE(f.controls().cmd_dele->isEnabled());
    EXPECT_TRUE(f.controls().cmd_exit->isEnabled());
    EXPECT_FALSE(f.controls().cmd_save->isEnabled());

    PowAdd = PowEdit = QStringLiteral("00000001");
    PowDele = QStringLiteral("11111110");
    TFrmInsider g;
    show(g);
    EXPECT_TRUE(g.controls().cmd_add->isEnabled());
    EXPECT_TRUE(g.controls().cmd_edit->isEnabled());
    EXPECT_FALSE(g.controls().cmd_dele->isEnabled());
    click(g.controls().cmd_add);
    for (QGroupBox* group : g.findChildren<QGroupBox*>())
        EXPECT_TRUE(group->isEnabled()) << group->title().toStdString();
    EXPECT_FALSE(g.grid()->isEnabled());
    EXPECT_FALSE(g.controls().cmd_exit->isEnabled());
    EXPECT_FALSE(g.close()) << "no closing while adding";
}

TEST_F(InsiderTest, DeleteAsksFirst)
{
    TFrmInsider f;
    show(f);
    testui::PromptResponder prompts;
    clickRow(f, 1);
    prompts.expect("确认删除?", {ui::Answer::Cancel});
    click(f.controls().cmd_dele);
    EXPECT_EQ(prompts.last().caption, "提示");
    EXPECT_EQ(count("insider"), 3);

    prompts.expect("确认删除?", {ui::Answer::Ok});
    click(f.controls().cmd_dele);
    EXPECT_EQ(count("insider"), 2);
    EXPECT_EQ(count("insider", "insi_code='M002'"), 0);
    EXPECT_EQ(f.mode(), FormMode::Null);
}

TEST_F(InsiderTest, ClosingRemovesTheFormsHandlersAndClosesTheQuery)
{
    {
        TFrmInsider f;
        EXPECT_TRUE(q().isActive());
    }
    EXPECT_FALSE(q().isActive());
    q().open();
    q().edit();
    q().setValue("insi_name", QStringLiteral("张三"));
    q().post();
    EXPECT_EQ(storedDate("M001", "insi_birth"), QDate(1990, 5, 1));
    EXPECT_EQ(storedDate("M001", "open_date"), QDate(2020, 1, 2));
}

TEST_F(InsiderTest, AComboTakesWhatItsColumnHoldsAndRefusesALongerLevelByItsLabel)
{
    // A level named before its name was held to what a member's record keeps.
    const QString longLevel = QStringLiteral("至尊贵宾钻石卡").repeated(3);
    exec("update cardtype set type_note=:n where card_type='class_e'", {{"n", longLevel}});
    TFrmInsider f;
    show(f);
    click(f.controls().cmd_add);
    typeInto(f.codeBox(), "M009");
    typeInto(edit(f, "insi_name"), "赵六");
    typeInto(f.control("insi_sex"), QStringLiteral("女女女女女女"));
    EXPECT_EQ(qobject_cast<QComboBox*>(f.control("insi_sex"))->currentText(), QStringLiteral("女女女女"));

    auto* levels = qobject_cast<QComboBox*>(f.control("card_type"));
    levels->setFocus(Qt::OtherFocusReason);
    levels->setCurrentIndex(levels->findText(longLevel) - 1);
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("会员卡类型：“%1”超过了 20 个字").arg(longLevel));
    QTest::keyClick(levels, Qt::Key_Down);
    prompts.verify();
    EXPECT_EQ(levels->currentText(), QString()) << "the level is not taken cut";

    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("M009", "insi_sex").toString(), QStringLiteral("女女女女"));
    EXPECT_TRUE(stored("M009", "card_type").isNull());
}
