#include "members/Userveitem.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

QStringList itemsOf(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

class ServeItemFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into serveitem (serve_code, serve_name, serve_type, unit_pric, gage_time, stylist_rate,"
             " middle_rate, assis_rate, serve_note, serve_state) values "
             "('S01', '洗剪吹', '美发', 30, '30', 10, 5, 3, null, '启用'),"
             "('S02', 'Jo''s cut', '美发', 80, '45', 20, 10, 5, null, '启用'),"
             "('S03', '面部护理', '美容', 120, '60', 15, 0, 5, null, '启用'),"
             "('S04', '头皮护理', '养生', 150, '50', 15, 0, 5, null, '停用')");
        loadMessageCatalog();
        grantAllRights();
    }

    // What the main window loads at start.
    void loadMessageCatalog()
    {
        db::Dataset& t = dataMod().TempQ;
        t.close();
        t.setSql(QStringLiteral("select charno,gb  from charset where  gb is not null"));
        t.open();
        MsgCatalog = {};
        for (int r = 0; r < t.recordCount(); ++r) {
            MsgCatalog[0] << db::asString(t.value(r, 0));
            MsgCatalog[1] << db::asString(t.value(r, 1));
        }
        MsgCatalogCount = t.recordCount();
    }

    db::Dataset& q() { return dataMod().ServeItemQ; }

    static void show(QWidget& form)
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // On its round mark: a radio button answers clicks on its mark and caption only.
    static void click(QRadioButton* radio)
    {
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    static void click(TFrmServeitem& f, const char* name)
    {
        auto* b = f.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        click(b);
    }
    static void retype(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            testui::typeText(box, text);
    }
    // Chooses item i of the combo's list with the keyboard, from the item before it.
    static void chooseItem(ui::DbComboBox* combo, int i)
    {
        ASSERT_GE(i, 0);
        combo->setFocus();
        combo->setCurrentIndex(i - 1);
        QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentIndex(), i);
    }
    QStringList listedCodes()
    {
        QStringList codes;
        for (int r = 0; r < q().recordCount(); ++r)
            codes << db::asString(q().value(r, q().fieldIndex("serve_code")));
        codes.sort();
        return codes;
    }
    // Starts a new item with code, name and the three percents.
    static void typeNewItem(TFrmServeitem& f, const QString& code, const QString& name, const QStringList& rates)
    {
        click(f, "cmd_add");
        testui::typeText(f.codeBox(), code);
        testui::typeText(f.nameBox(), name);
        for (int i = 0; i < 3; ++i)
            testui::typeText(f.rateBox(i), rates.value(i));
    }
};

TEST_F(ServeItemFormTest, OpensOnEveryItemWithTheCataloguesChoices)
{
    TFrmServeitem f;
    EXPECT_EQ(f.objectName(), "FrmServeitem");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("服务项目设置"));
    EXPECT_EQ(q().recordCount(), 4);
    EXPECT_EQ(itemsOf(f.stateCombo()), (QStringList{"启用", "停用"}));
    // The two offered categories first, then the stored ones not yet offered.
    EXPECT_EQ(itemsOf(f.typeCombo()), (QStringList{"美发", "美容", "养生"}));
    QStringList names = itemsOf(f.findNameCombo());
    names.sort();
    EXPECT_EQ(names, (QStringList{"Jo's cut", "头皮护理", "洗剪吹", "面部护理"}));
    EXPECT_EQ(itemsOf(f.findTypeCombo()).size(), 3);
    EXPECT_TRUE(f.findCodeBox()->text().isEmpty());
    EXPECT_TRUE(f.findNameCombo()->text().isEmpty());
    EXPECT_TRUE(f.findChild<QPushButton*>("cmd_prin")->isHidden());
}

TEST_F(ServeItemFormTest, ACatalogueWithoutTheTextsOffersTheirPlaceholder)
{
    ResetProgramState();
    const QString all(38, QLatin1Char('1'));
    PowAdd = PowEdit = PowDele = PowFind = all;
    TFrmServeitem f;
    EXPECT_EQ(itemsOf(f.stateCombo()), (QStringList{"0000", "0000"}));
}

TEST_F(ServeItemFormTest, SavingWritesTheNewItem)
{
    TFrmServeitem f;
    show(f);
    typeNewItem(f, "S10", QStringLiteral("染发"), {"30", "20", "10"});
    testui::typeText(f.findChild<ui::DbLineEdit*>("DBEdit3"), "168.5");
    testui::typeText(f.findChild<ui::DbLineEdit*>("DBEdit4"), "90");
    testui::typeText(f.findChild<ui::DbLineEdit*>("DBEdit8"), QStringLiteral("含护理"));
    chooseItem(f.typeCombo(), 0);
    chooseItem(f.stateCombo(), 1);
    click(f, "cmd_save");

    EXPECT_EQ(f.mode(), FormMode::Null);
    ASSERT_EQ(count("serveitem", "serve_code='S10'"), 1);
    const auto col = [&](const char* c) {
        return scalar(QStringLiteral("select %1 from serveitem where serve_code='S10'").arg(QLatin1String(c)));
    };
    EXPECT_EQ(col("serve_name").toString(), QStringLiteral("染发"));
    EXPECT_EQ(col("serve_type").toString(), QStringLiteral("美发"));
    EXPECT_EQ(col("serve_state").toString(), QStringLiteral("停用"));
    EXPECT_DOUBLE_EQ(col("unit_pric").toDouble(), 168.5);
    EXPECT_EQ(col("gage_time").toString(), "90");
    EXPECT_EQ(col("stylist_rate").toInt(), 30);
    EXPECT_EQ(col("middle_rate").toInt(), 20);
    EXPECT_EQ(col("assis_rate").toInt(), 10);
    EXPECT_EQ(col("serve_note").toString(), QStringLiteral("含护理"));
    EXPECT_EQ(q().asString("serve_code"), "S10");
}

TEST_F(ServeItemFormTest, PercentsFromZeroToHundredAreAcceptedOthersRefused)
{
    struct Case {
        int box;
        const char* percent;
        bool accepted;
    };
    const Case cases[] = {
        {0, "0", true},   {0, "100", true},  {0, "-1", false}, {0, "101", false},
        {1, "0", true},   {1, "100", true},  {1, "-1", false}, {1, "101", false},
        {2, "100", true}, {2, "-1", false},  {2, "101", false},
    };
    TFrmServeitem f;
    int code = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.box) + ":" + c.percent);
        const QString itemCode = QStringLiteral("P%1").arg(++code);
        QStringList rates{"50", "50", "50"};
        rates[c.box] = QString::fromLatin1(c.percent);
        testui::PromptResponder prompts;
        if (!c.accepted)
            prompts.expect(QStringLiteral("提成比例必须在0到100之间！"));
        typeNewItem(f, itemCode, QStringLiteral("项目"), rates);
        click(f, "cmd_save");
        if (c.accepted) {
            EXPECT_EQ(f.mode(), FormMode::Null);
            EXPECT_EQ(count("serveitem", "serve_code=:c", {{"c", itemCode}}), 1);
            const char* const columns[] = {"stylist_rate", "middle_rate", "assis_rate"};
            EXPECT_EQ(scalar(QStringLiteral("select %1 from serveitem where serve_code=:c").arg(QLatin1String(columns[c.box])),
                             {{"c", itemCode}})
                          .toInt(),
                      QString::fromLatin1(c.percent).toInt());
        } else {
            EXPECT_EQ(f.mode(), FormMode::Add);
            EXPECT_EQ(count("serveitem", "serve_code=:c", {{"c", itemCode}}), 0);
            click(f, "cmd_canc");
        }
    }
}

TEST_F(ServeItemFormTest, ThePercentsAreCheckedBeforeTheCodeAndName)
{
    TFrmServeitem f;
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("提成比例必须在0到100之间！"));
    typeNewItem(f, "", "", {"101", "0", "0"});
    click(f, "cmd_save");
    EXPECT_EQ(prompts.count(), 1);
}

TEST_F(ServeItemFormTest, CodeAndNameAreRequiredTrimmed)
{
    struct Case {
        const char* code;
        const char* name;
    };
    const Case cases[] = {{"", "烫发"}, {"   ", "烫发"}, {"S20", ""}, {"S20", "  "}};
    TFrmServeitem f;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("[") + c.code + "][" + c.name + "]");
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("项目编号或名称不能为空！"));
        typeNewItem(f, QString::fromUtf8(c.code), QString::fromUtf8(c.name), {"1", "2", "3"});
        click(f, "cmd_save");
        EXPECT_EQ(f.mode(), FormMode::Add);
        EXPECT_EQ(count("serveitem"), 4);
        click(f, "cmd_canc");
    }
}

TEST_F(ServeItemFormTest, APercentThatIsNoNumberStopsTheSaveWithTheErrorBox)
{
    TFrmServeitem f;
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("中工提成：“-”不是有效的数值"));
    typeNewItem(f, "S30", QStringLiteral("烫发"), {"10", "-", "5"});
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("serveitem"), 4);
}

TEST_F(ServeItemFormTest, EmptyPercentsAreNoCommissionAndStoredEmpty)
{
    TFrmServeitem f;
    typeNewItem(f, "S30", QStringLiteral("烫发"), {"", "", ""});
    testui::PromptResponder prompts;
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("serveitem", "serve_code='S30' and stylist_rate is null and middle_rate is null"
                                 " and assis_rate is null"),
              1);
}

TEST_F(ServeItemFormTest, ACodeTakesNoMoreThanAnAppointmentKeepsOfIt)
{
    TFrmServeitem f;
    typeNewItem(f, "S0123456789X", QStringLiteral("头皮护理"), {"10", "0", "0"});
    EXPECT_EQ(f.codeBox()->text(), "S012345678");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("serveitem", "serve_code='S012345678'"), 1);
}

TEST_F(ServeItemFormTest, ASignAloneLeftInAPercentBoxGetsTheFormsMessageOnly)
{
    TFrmServeitem f;
    show(f);
    typeNewItem(f, "S30", QStringLiteral("烫发"), {"10", "", "5"});
    f.rateBox(1)->setFocus();
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("“-”不是有效的数值"));
    testui::typeText(f.rateBox(1), "-");
    QTest::keyClick(f.rateBox(1), Qt::Key_Tab);
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("serveitem"), 4);
}

TEST_F(ServeItemFormTest, EditChangesTheItemInTheCodeBox)
{
    TFrmServeitem f;
    show(f);
    ASSERT_TRUE(q().locate("serve_code", "S03"));
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(QApplication::focusWidget(), f.codeBox());
    retype(f.rateBox(1), "8");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(scalar("select middle_rate from serveitem where serve_code='S03'").toInt(), 8);
    EXPECT_EQ(q().asString("serve_code"), "S03");
}

TEST_F(ServeItemFormTest, EditChangesTheItemShownNotAnotherWithTheSameCode)
{
    exec("insert into serveitem (serve_code, serve_name, unit_pric, stylist_rate, middle_rate, assis_rate)"
         " values ('S03', '面部护理二', 200, 0, 0, 0)");
    TFrmServeitem f;
    show(f);
    ASSERT_TRUE(q().locate("serve_name", QStringLiteral("面部护理二")));
    const QRect row = f.grid()->visualRect(f.grid()->model()->index(q().recNo(), 0));
    QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, row.center());
    click(f, "cmd_edit");
    ASSERT_EQ(f.mode(), FormMode::Edit);
    retype(f.findChild<ui::DbLineEdit*>("DBEdit3"), "260"); // the price
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    auto price = [this](const QString& name) {
        return scalar("select unit_pric from serveitem where serve_name=:n", {{"n", name}}).toDouble();
    };
    EXPECT_DOUBLE_EQ(price(QStringLiteral("面部护理二")), 260);
    EXPECT_DOUBLE_EQ(price(QStringLiteral("面部护理")), 120);
    EXPECT_EQ(q().asString("serve_name"), QStringLiteral("面部护理二"));
}

TEST_F(ServeItemFormTest, DeleteAsksWithTheCataloguesTexts)
{
    TFrmServeitem f;
    ASSERT_TRUE(q().locate("serve_code", "S02"));
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
    click(f, "cmd_dele");
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(count("serveitem"), 4);

    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(f, "cmd_dele");
    EXPECT_EQ(count("serveitem"), 3);
    EXPECT_EQ(count("serveitem", "serve_code='S02'"), 0);
}

TEST_F(ServeItemFormTest, EveryCriterionFindsWhatItNamesQuotesIncluded)
{
    exec("insert into serveitem (serve_code, serve_name, serve_type) values ('O''1', '欧式''护理', 'SPA''s')");
    struct Case {
        const char* criterion; // Edit1, ComboBox1, ComboBox2
        const char* text;
        QStringList codes;
    };
    const Case cases[] = {
        {"Edit1", "O'1", {"O'1"}},
        {"ComboBox1", "Jo's cut", {"S02"}},
        {"ComboBox1", "欧式'护理", {"O'1"}},
        {"ComboBox2", "SPA's", {"O'1"}},
        {"ComboBox2", " 美发 ", {"S01", "S02"}},
        {"Edit1", "S03", {"S03"}},
        {"Edit1", "S99", {}},
    };
    TFrmServeitem f;
    show(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.criterion) + " " + c.text);
        testui::PromptResponder prompts; // no error box
        QWidget* box = f.findChild<QWidget*>(QString::fromLatin1(c.criterion));
        QLineEdit* line = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box)
                                                        : qobject_cast<QComboBox*>(box)->lineEdit();
        retype(line, QString::fromUtf8(c.text));
        click(f, "cmd_find");
        EXPECT_TRUE(q().isActive());
        EXPECT_EQ(listedCodes(), c.codes);
    }
}

TEST_F(ServeItemFormTest, FindWithoutACriterionLeavesTheList)
{
    TFrmServeitem f;
    show(f);
    chooseItem(f.findTypeCombo(), f.findTypeCombo()->findText(QStringLiteral("美容")));
    ASSERT_EQ(listedCodes(), QStringList{"S03"});
    retype(f.findTypeCombo()->lineEdit(), "");
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(), QStringList{"S03"});
}

TEST_F(ServeItemFormTest, TypingOneCriterionClearsTheOthers)
{
    TFrmServeitem f;
    show(f);
    QLineEdit* const boxes[] = {f.findCodeBox(), f.findNameCombo()->lineEdit(), f.findTypeCombo()->lineEdit()};
    const QString texts[] = {"S0", QStringLiteral("剪"), QStringLiteral("容")};
    for (int typed = 0; typed < 3; ++typed) {
        for (int other = 0; other < 3; ++other) {
            if (other == typed)
                continue;
            SCOPED_TRACE(QStringLiteral("%1 after %2").arg(typed).arg(other).toStdString());
            retype(boxes[other], texts[other]);
            ASSERT_EQ(boxes[other]->text(), texts[other]);
            retype(boxes[typed], texts[typed]);
            EXPECT_EQ(boxes[typed]->text(), texts[typed]);
            EXPECT_TRUE(boxes[other]->text().isEmpty());
        }
        click(f.allItemsButton());
        ASSERT_TRUE(f.allItemsButton()->isChecked());
        retype(boxes[typed], texts[typed]);
        EXPECT_FALSE(f.allItemsButton()->isChecked()) << typed;
    }

    // Blanks are no criterion: the others stay.
    retype(f.findTypeCombo()->lineEdit(), QStringLiteral("美发"));
    retype(f.findCodeBox(), "  ");
    retype(f.findNameCombo()->lineEdit(), " ");
    EXPECT_EQ(f.findTypeCombo()->text(), QStringLiteral("美发"));
}

TEST_F(ServeItemFormTest, AllItemsListsEveryItemAgain)
{
    TFrmServeitem f;
    show(f);
    retype(f.findCodeBox(), "S01");
    click(f, "cmd_find");
    ASSERT_EQ(listedCodes(), QStringList{"S01"});
    click(f.allItemsButton());
    EXPECT_EQ(listedCodes(), (QStringList{"S01", "S02", "S03", "S04"}));
    EXPECT_TRUE(f.findCodeBox()->text().isEmpty());
}

TEST_F(ServeItemFormTest, ACategoryChosenFromTheListFiltersAtOnceAsTypedAndFoundDoes)
{
    TFrmServeitem f;
    show(f);
    chooseItem(f.findTypeCombo(), f.findTypeCombo()->findText(QStringLiteral("美发")));
    const QStringList chosen = listedCodes();
    EXPECT_EQ(chosen, (QStringList{"S01", "S02"}));

    click(f.allItemsButton());
    ASSERT_EQ(q().recordCount(), 4);
    retype(f.findTypeCombo()->lineEdit(), QStringLiteral("美发"));
    EXPECT_EQ(q().recordCount(), 4) << "typing alone does not filter";
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(), chosen);
}

TEST_F(ServeItemFormTest, EnterInTheCodeBoxAndAChosenNameMoveToTheItem)
{
    TFrmServeitem f;
    show(f);
    retype(f.findCodeBox(), "S03");
    QTest::keyClick(f.findCodeBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("serve_code"), "S03");
    EXPECT_EQ(q().recordCount(), 4);

    chooseItem(f.findNameCombo(), f.findNameCombo()->findText(QStringLiteral("Jo's cut")));
    EXPECT_EQ(q().asString("serve_code"), "S02");
    EXPECT_TRUE(f.findCodeBox()->text().isEmpty());
}

TEST_F(ServeItemFormTest, EnterInTheCodeBoxFindsTheItemWhateverTheLetterCase)
{
    TFrmServeitem f;
    show(f);
    retype(f.findCodeBox(), "s03");
    QTest::keyClick(f.findCodeBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("serve_code"), "S03");
}

TEST_F(ServeItemFormTest, AddingOffersNamesAndCategoriesStoredMeanwhile)
{
    TFrmServeitem f;
    exec("insert into serveitem (serve_code, serve_name, serve_type) values ('S09', '新项目', '足疗')");
    click(f, "cmd_add");
    EXPECT_GE(f.findNameCombo()->findText(QStringLiteral("新项目")), 0);
    EXPECT_GE(f.findTypeCombo()->findText(QStringLiteral("足疗")), 0);
    EXPECT_GE(f.typeCombo()->findText(QStringLiteral("足疗")), 0);
    click(f, "cmd_canc");
}

TEST_F(ServeItemFormTest, ControlsFollowTheModeAndTheRightsAtPositionThree)
{
    {
        TFrmServeitem f;
        auto* find = f.findChild<QPushButton*>("cmd_find");
        EXPECT_TRUE(find->isEnabled());
        click(f, "cmd_add");
        EXPECT_FALSE(f.findChild<QGroupBox*>("GroupBox2")->isEnabled());
        EXPECT_FALSE(f.grid()->isEnabled());
        EXPECT_TRUE(f.findChild<QGroupBox*>("GroupBox1")->isEnabled());
        EXPECT_FALSE(f.close());
        click(f, "cmd_canc");
        EXPECT_TRUE(f.findChild<QGroupBox*>("GroupBox2")->isEnabled());
    }
    PowAdd = QStringLiteral("110");
    PowEdit = QStringLiteral("111");
    PowDele = QStringLiteral("11");
    PowFind = QStringLiteral("1101");
    TFrmServeitem f;
    EXPECT_FALSE(f.findChild<QPushButton*>("cmd_add")->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("cmd_edit")->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("cmd_dele")->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("cmd_find")->isEnabled());
    EXPECT_TRUE(f.findChild<QGroupBox*>("GroupBox2")->isEnabled());
}

} // namespace
