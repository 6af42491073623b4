#include "tests/support/TestDb.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "core/Upublic.h"
#include "core/Uuser.h"
#include "platform/sys/IniFile.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EnterAsTab.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const QStringList kListQueries{"FeeDefiQ",  "MoneDefQ",  "KindDefiQ", "TypeDefiQ", "ColorDefiQ",
                               "SizeDefiQ", "ProdDefiQ", "SpecDefiQ", "UnitDefiQ"};

class UserFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        grantAllRights();
        exec("update userinfo set comp_name = '旧店名', bill_bottom = '谢谢惠顾', sale_value = 5");
        exec("insert into baseitem (fee_code, fee_type) values ('01', '现金'), ('02', '刷卡')");
        exec("insert into baseitem (mone_code, mone_type, mone_rate) values ('RMB', '人民币', 1)");
        exec("insert into baseitem (gods_spec_id, gods_spec) values ('S1', '大卷')");
    }

    QString iniPath() const { return folder() + QStringLiteral("system.ini"); }
    sys::IniFile ini() const { return sys::IniFile(iniPath()); }
    QString stored(const QString& section, const QString& key) const
    {
        return ini().readString(section, key, QStringLiteral("<none>"));
    }
    QVariant shop(const QString& column) { return scalar(QStringLiteral("select %1 from userinfo").arg(column)); }
    QString feeType(const QString& code)
    {
        return scalar("select fee_type from baseitem where fee_code = :c", {{"c", code}}).toString();
    }

    static void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void show(TFrmUser& f)
    {
        f.show();
        QApplication::setActiveWindow(&f);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    static void clearAndType(QLineEdit* box, const QString& text)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        testui::typeText(box, text);
    }
    // Picks the paper type with the arrow keys, as from the keyboard.
    static void choosePaper(TFrmUser& f, const QString& type)
    {
        QComboBox* box = f.paperBox();
        const int target = box->findText(type);
        ASSERT_GE(target, 0);
        for (int guard = 0; box->currentIndex() != target && guard < 5; ++guard)
            QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(box->currentText(), type);
    }
    // Opens the cell's editor with F2, types the text and confirms with Enter.
    static void typeIntoCell(ui::DbGrid* grid, int row, int column, const QString& text)
    {
        grid->setCurrentIndex(grid->model()->index(row, column));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "the cell did not open for typing";
        editor->selectAll();
        testui::typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The grid commits by a queued call and deletes the editor later; both
        // must be done before the next cell opens its own editor.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static int rowOf(ui::DbGrid* grid, const QString& code)
    {
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 0).data().toString() == code)
                return r;
        return -1;
    }
    bool anythingPending()
    {
        if (dataMod().UserQ.isEditing())
            return true;
        for (const QString& name : kListQueries)
            if (dataMod().query(name)->hasPendingChanges() || dataMod().query(name)->isEditing())
                return true;
        return false;
    }

    testui::PromptResponder prompts;
};

TEST_F(UserFormTest, ControlsCarryTheirNamesAndTheListsTheirTitles)
{
    TFrmUser f;
    EXPECT_EQ(f.objectName(), "FrmUser");
    EXPECT_EQ(f.windowTitle(), "基本设置");
    EXPECT_EQ(f.paperBox(), f.findChild<QComboBox*>("ComboBox1"));
    EXPECT_EQ(f.widthBox(), f.findChild<QLineEdit*>("MaskEdit1"));
    EXPECT_EQ(f.lengthBox(), f.findChild<QLineEdit*>("MaskEdit2"));
    EXPECT_EQ(f.linesBox(), f.findChild<QLineEdit*>("Edit1"));
    EXPECT_EQ(f.findChild<QPushButton*>("cmd_add"), nullptr);
    EXPECT_EQ(f.findChild<QPushButton*>("cmd_dele"), nullptr);
    for (const char* name : {"cmd_edit", "cmd_save", "cmd_canc", "cmd_exit"})
        EXPECT_NE(f.findChild<QPushButton*>(name), nullptr) << name;

    const QStringList tabs{"服务类别", "染发类别", "染发颜色", "烫发方式", "造型类别", "沟通卷度", "排列方式"};
    ASSERT_EQ(f.listTabs()->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(f.listTabs()->tabText(i), tabs[i]);
    auto titles = [&](const QString& query) {
        QStringList t;
        QAbstractItemModel* m = f.listGrid(query)->model();
        for (int c = 0; c < m->columnCount(); ++c)
            t << m->headerData(c, Qt::Horizontal).toString();
        return t;
    };
    EXPECT_EQ(titles("FeeDefiQ"), QStringList({"代码", "结算方式"}));
    EXPECT_EQ(titles("MoneDefQ"), QStringList({"代码", "币种", "汇率"}));
    EXPECT_EQ(titles("SizeDefiQ"), QStringList({"编号", "染发方式"}));
    EXPECT_EQ(titles("KindDefiQ"), QStringList({"编号", "服务项目类别"}));
}

TEST_F(UserFormTest, ShowsTheShopRowAndTheListsInCodeOrder)
{
    exec("insert into baseitem (fee_code, fee_type) values ('00', '挂账'), ('01', '现金')");
    TFrmUser f;
    EXPECT_EQ(f.shopBox("comp_name")->text(), "旧店名");
    EXPECT_EQ(f.shopBox("sale_value")->text(), "5");
    QAbstractItemModel* fees = f.listGrid("FeeDefiQ")->model();
    ASSERT_EQ(fees->rowCount(), 3) << "each entry once, however many rows hold it";
    EXPECT_EQ(fees->index(0, 1).data().toString(), "挂账");
    EXPECT_EQ(fees->index(2, 1).data().toString(), "刷卡");
    EXPECT_EQ(f.listGrid("MoneDefQ")->model()->index(0, 2).data().toString(), "1");
}

TEST_F(UserFormTest, PrintSettingsComeFromTheFileIntoTheFormOnly)
{
    ASSERT_TRUE(ini().writeString("pagesize", "page_type", "自定义"));
    ASSERT_TRUE(ini().writeInt("pagesize", "page_width", 100));
    ASSERT_TRUE(ini().writeInt("pagesize", "page_length", 150));
    ASSERT_TRUE(ini().writeString("billdata", "line_count", "12"));
    TFrmUser f;
    EXPECT_EQ(f.paperBox()->currentText(), "自定义");
    EXPECT_EQ(f.widthBox()->text(), "100");
    EXPECT_EQ(f.lengthBox()->text(), "150");
    EXPECT_EQ(f.linesBox()->text(), "12");
    EXPECT_TRUE(f.widthBox()->isEnabledTo(f.printGroup()));
    EXPECT_EQ(PageType, "");
    EXPECT_EQ(PageWidth, 0);
    EXPECT_EQ(LinesPerPage, 0);
}

TEST_F(UserFormTest, WithoutAFileThePrintSettingsAreA4)
{
    TFrmUser f;
    EXPECT_EQ(f.paperBox()->currentText(), "A4");
    EXPECT_EQ(f.widthBox()->text(), "210");
    EXPECT_EQ(f.lengthBox()->text(), "297");
    EXPECT_EQ(f.linesBox()->text(), "0");
    EXPECT_FALSE(f.widthBox()->isEnabledTo(f.printGroup()));
    EXPECT_FALSE(f.lengthBox()->isEnabledTo(f.printGroup()));
}

TEST_F(UserFormTest, EditRightIsTakenFromPositionTwo)
{
    PowEdit = "01" + QString(36, '0');
    {
        TFrmUser f;
        EXPECT_TRUE(f.controls().cmd_edit->isEnabled());
        EXPECT_FALSE(f.controls().cmd_save->isEnabled());
        EXPECT_FALSE(f.controls().cmd_canc->isEnabled());
        EXPECT_TRUE(f.controls().cmd_exit->isEnabled());
        EXPECT_FALSE(f.companyGroup()->isEnabled());
        EXPECT_FALSE(f.printGroup()->isEnabled());
    }
    PowEdit = "10" + QString(36, '1');
    TFrmUser f;
    EXPECT_FALSE(f.controls().cmd_edit->isEnabled());
    click(f.controls().cmd_edit);
    EXPECT_EQ(f.mode(), FormMode::Null);
}

TEST_F(UserFormTest, AllNineListsTakeTypingOnlyWhileEditing)
{
    TFrmUser f;
    for (const QString& q : kListQueries)
        EXPECT_TRUE(f.listGrid(q)->isReadOnly()) << q.toStdString();
    click(f.controls().cmd_edit);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    for (const QString& q : kListQueries)
        EXPECT_FALSE(f.listGrid(q)->isReadOnly()) << q.toStdString();
    EXPECT_TRUE(f.companyGroup()->isEnabled());
    EXPECT_TRUE(f.printGroup()->isEnabled());
    EXPECT_FALSE(f.controls().cmd_exit->isEnabled());
    click(f.controls().cmd_canc);
    for (const QString& q : kListQueries)
        EXPECT_TRUE(f.listGrid(q)->isReadOnly()) << q.toStdString();
}

TEST_F(UserFormTest, DefaultPaperIs218By140AndSavedEverywhere)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    choosePaper(f, "自定义");
    EXPECT_TRUE(f.widthBox()->isEnabled());
    choosePaper(f, "默认");
    EXPECT_EQ(f.widthBox()->text(), "218");
    EXPECT_EQ(f.lengthBox()->text(), "140");
    EXPECT_FALSE(f.widthBox()->isEnabled());
    EXPECT_FALSE(f.lengthBox()->isEnabled());
    clearAndType(f.linesBox(), "20");
    click(f.controls().cmd_save);

    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("pagesize", "page_type"), "默认");
    EXPECT_EQ(ini().readInt("pagesize", "page_width", 0), 218);
    EXPECT_EQ(ini().readInt("pagesize", "page_length", 0), 140);
    EXPECT_EQ(stored("billdata", "line_count"), "20");
    EXPECT_EQ(stored("billdata", "company_name"), "旧店名");
    EXPECT_EQ(stored("billdata", "bill_bottom"), "谢谢惠顾");
    EXPECT_EQ(PageType, "默认");
    EXPECT_EQ(PageWidth, 218);
    EXPECT_EQ(PageLength, 140);
    EXPECT_EQ(LinesPerPage, 20);
    EXPECT_EQ(BillCompanyName, "旧店名");
    EXPECT_EQ(BillFooter, "谢谢惠顾");
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(UserFormTest, A4SetsItsSizeAndCustomKeepsTheValues)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    choosePaper(f, "默认");
    choosePaper(f, "A4");
    EXPECT_EQ(f.widthBox()->text(), "210");
    EXPECT_EQ(f.lengthBox()->text(), "297");
    choosePaper(f, "自定义");
    EXPECT_EQ(f.widthBox()->text(), "210");
    EXPECT_TRUE(f.widthBox()->isEnabled());
    EXPECT_TRUE(f.lengthBox()->isEnabled());
}

TEST_F(UserFormTest, CustomPaperSizesWithinTheLimitsAreSavedOthersRefused)
{
    struct Case {
        const char* name;
        const char* width;
        const char* length;
        const char* refusal; // "" when accepted
    };
    const Case cases[] = {
        {"smallest", "50", "80", ""},
        {"largest", "400", "500", ""},
        {"too narrow", "49", "80", "纸张宽度不合适"},
        {"too wide", "401", "80", "纸张宽度不合适"},
        {"too short", "50", "79", "纸张长度不合适"},
        {"too long", "50", "501", "纸张长度不合适"},
        {"no width", "", "80", "自定义纸张类型必需输入纸张宽度"},
        {"no length", "50", " ", "自定义纸张类型必需输入纸张长度"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(iniPath());
        TFrmUser f;
        click(f.controls().cmd_edit);
        choosePaper(f, "自定义");
        clearAndType(f.widthBox(), c.width);
        clearAndType(f.lengthBox(), c.length);
        const QString refusal = QString::fromUtf8(c.refusal);
        if (!refusal.isEmpty())
            prompts.expect(testui::PromptResponder::Kind::Message, refusal);
        click(f.controls().cmd_save);
        prompts.verify();
        if (refusal.isEmpty()) {
            EXPECT_EQ(f.mode(), FormMode::Null);
            EXPECT_EQ(ini().readInt("pagesize", "page_width", 0), QString(c.width).toInt());
            EXPECT_EQ(ini().readInt("pagesize", "page_length", 0), QString(c.length).toInt());
            EXPECT_EQ(PageWidth, QString(c.width).toInt());
            EXPECT_EQ(PageType, "自定义");
        } else {
            EXPECT_EQ(f.mode(), FormMode::Edit);
            EXPECT_FALSE(QFile::exists(iniPath()));
        }
        ResetProgramState();
        grantAllRights();
    }
}

TEST_F(UserFormTest, ANumberThatIsNotWholeRefusesTheSaveBeforeAnythingIsWritten)
{
    struct Case {
        const char* name;
        const char* lines;
        const char* commission;
        const char* message;
    };
    const Case cases[] = {
        {"empty lines box", "", "5", "出货报表格式：“”不是有效的整数"},
        {"lines as words", "二十", "5", "出货报表格式：“二十”不是有效的整数"},
        {"empty commission", "20", "", "提成比例：“”不是有效的整数"},
        {"commission beyond a whole number", "20", "99999999999", "提成比例：“99999999999”不是有效的整数"},
        {"commission beyond what commission lines keep", "20", "32768", "提成比例：“32768”超出了可存的范围"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFrmUser f;
        click(f.controls().cmd_edit);
        clearAndType(f.shopBox("comp_name"), "新店名");
        typeIntoCell(f.listGrid("FeeDefiQ"), 0, 1, "现金支付");
        clearAndType(f.linesBox(), QString::fromUtf8(c.lines));
        clearAndType(f.shopBox("sale_value"), QString::fromUtf8(c.commission));
        prompts.expect(testui::PromptResponder::Kind::Error, QString::fromUtf8(c.message));
        click(f.controls().cmd_save);
        prompts.verify();

        EXPECT_EQ(f.mode(), FormMode::Edit);
        EXPECT_EQ(f.shopBox("comp_name")->text(), "新店名");
        EXPECT_EQ(shop("comp_name").toString(), "旧店名");
        EXPECT_EQ(feeType("01"), "现金");
        EXPECT_FALSE(QFile::exists(iniPath()));
        EXPECT_EQ(SaleCommissionRate, 0);
        EXPECT_EQ(PageType, "");
    }
}

TEST_F(UserFormTest, TheShopDataAndAListRowAreSavedTogether)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.shopBox("comp_name"), "丽人美发");
    clearAndType(f.shopBox("bill_bottom"), " 欢迎再来 ");
    typeIntoCell(f.listGrid("FeeDefiQ"), 0, 1, "现金支付");
    typeIntoCell(f.listGrid("MoneDefQ"), 0, 2, "1.5");
    click(f.controls().cmd_save);

    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(shop("comp_name").toString(), "丽人美发");
    EXPECT_EQ(feeType("01"), "现金支付");
    EXPECT_EQ(feeType("02"), "刷卡");
    EXPECT_DOUBLE_EQ(scalar("select mone_rate from baseitem where mone_code = 'RMB'").toDouble(), 1.5);
    EXPECT_EQ(count("userinfo"), 1);
    EXPECT_EQ(BillCompanyName, "丽人美发");
    EXPECT_EQ(BillFooter, "欢迎再来");
    EXPECT_EQ(stored("billdata", "bill_bottom"), "欢迎再来");
    EXPECT_FALSE(anythingPending());
}

TEST_F(UserFormTest, TheCommissionRateReachesTheProgram)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.shopBox("sale_value"), "15");
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(SaleCommissionRate, 15);
    EXPECT_EQ(shop("sale_value").toInt(), 15);
}

TEST_F(UserFormTest, AFirstSaveOnAnEmptyShopTableCreatesTheRow)
{
    exec("delete from userinfo");
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.shopBox("comp_name"), "新店");
    clearAndType(f.shopBox("sale_value"), "8");
    click(f.controls().cmd_save);
    EXPECT_EQ(count("userinfo"), 1);
    EXPECT_EQ(shop("comp_name").toString(), "新店");
    EXPECT_EQ(SaleCommissionRate, 8);
}

TEST_F(UserFormTest, AFailingListLeavesTheShopRowUnchangedToo)
{
    exec("create trigger no_fee_change before update on baseitem when new.fee_type is not old.fee_type "
         "begin select raise(abort, '结算方式被锁定'); end");
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.shopBox("comp_name"), "丽人美发");
    clearAndType(f.shopBox("sale_value"), "12");
    typeIntoCell(f.listGrid("SpecDefiQ"), 0, 1, "小卷");
    typeIntoCell(f.listGrid("FeeDefiQ"), 0, 1, "现金支付");
    prompts.expect(testui::PromptResponder::Kind::Error, "结算方式被锁定");
    click(f.controls().cmd_save);
    prompts.verify();

    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(shop("comp_name").toString(), "旧店名");
    EXPECT_EQ(shop("sale_value").toInt(), 5);
    EXPECT_EQ(scalar("select gods_spec from baseitem where gods_spec_id = 'S1'").toString(), "大卷")
        << "a list saved before the failing one is undone as well";
    EXPECT_EQ(feeType("01"), "现金");
    EXPECT_EQ(SaleCommissionRate, 0);
    EXPECT_FALSE(QFile::exists(iniPath()));
    EXPECT_EQ(f.shopBox("comp_name")->text(), "丽人美发");

    // Once the cause is gone, the same typing saves.
    exec("drop trigger no_fee_change");
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(shop("comp_name").toString(), "丽人美发");
    EXPECT_EQ(scalar("select gods_spec from baseitem where gods_spec_id = 'S1'").toString(), "小卷");
    EXPECT_EQ(feeType("01"), "现金支付");
    EXPECT_EQ(SaleCommissionRate, 12);
}

TEST_F(UserFormTest, CancelDropsEverythingTypedAndShowsTheSavedPrintSettings)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.shopBox("comp_name"), "丽人美发");
    typeIntoCell(f.listGrid("FeeDefiQ"), 1, 1, "微信");
    typeIntoCell(f.listGrid("UnitDefiQ"), 0, 0, "U1");
    choosePaper(f, "默认");
    click(f.controls().cmd_canc);

    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_FALSE(anythingPending());
    EXPECT_EQ(f.shopBox("comp_name")->text(), "旧店名");
    EXPECT_EQ(f.paperBox()->currentText(), "A4");
    EXPECT_EQ(f.widthBox()->text(), "210");
    EXPECT_EQ(f.listGrid("FeeDefiQ")->model()->index(1, 1).data().toString(), "刷卡");
    EXPECT_EQ(shop("comp_name").toString(), "旧店名");
    EXPECT_EQ(feeType("02"), "刷卡");
    EXPECT_EQ(count("baseitem", "gods_unit_id is not null"), 0);
}

TEST_F(UserFormTest, ClosingWhileEditingLeavesNothingPending)
{
    {
        TFrmUser f;
        f.show();
        click(f.controls().cmd_edit);
        typeIntoCell(f.listGrid("FeeDefiQ"), 0, 1, "现金支付");
        clearAndType(f.shopBox("comp_name"), "丽人美发");
        EXPECT_TRUE(f.close()) << "the form closes at any time";
        EXPECT_FALSE(f.isVisible());
        EXPECT_FALSE(anythingPending());
    }
    {
        TFrmUser f;
        click(f.controls().cmd_edit);
        typeIntoCell(f.listGrid("KindDefiQ"), 0, 0, "K9");
    }
    EXPECT_FALSE(anythingPending());
    EXPECT_EQ(shop("comp_name").toString(), "旧店名");
    EXPECT_EQ(feeType("01"), "现金");
    EXPECT_EQ(count("baseitem", "gods_kind_id is not null"), 0);
}

TEST_F(UserFormTest, GridKeysAddAndDeleteListEntries)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    ui::DbGrid* fees = f.listGrid("FeeDefiQ");
    fees->setCurrentIndex(fees->model()->index(1, 0));
    QTest::keyClick(fees, Qt::Key_Down);
    ASSERT_EQ(fees->model()->rowCount(), 3);
    QTest::keyClick(fees, Qt::Key_Down);
    EXPECT_EQ(fees->model()->rowCount(), 3) << "one blank new row at a time";
    typeIntoCell(fees, 2, 0, "03");
    typeIntoCell(fees, 2, 1, "微信");

    fees->setCurrentIndex(fees->model()->index(rowOf(fees, "01"), 1));
    prompts.expect("确认删除?", {ui::Answer::Ok});
    QTest::keyClick(fees, Qt::Key_Delete, Qt::ControlModifier);
    prompts.verify();
    click(f.controls().cmd_save);

    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(feeType("03"), "微信");
    EXPECT_EQ(count("baseitem", "fee_code = '01'"), 0);
    EXPECT_EQ(count("baseitem", "fee_code = '02'"), 1);
}

TEST_F(UserFormTest, EntriesTypedWithEnterEachTakeANewRow)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmUser f;
    show(f);
    click(f.controls().cmd_edit);
    ui::DbGrid* kinds = f.listGrid("KindDefiQ");
    f.listTabs()->setCurrentWidget(kinds);
    kinds->setFocus();
    kinds->setCurrentIndex(kinds->model()->index(0, 0));
    for (const char* text : {"01", "剪发", "02", "烫染", "03", "护理"}) {
        testui::typeAtFocus(text);
        testui::pressAtFocus(Qt::Key_Return);
    }
    click(f.controls().cmd_save);

    EXPECT_EQ(prompts.count(), 0);
    QStringList saved;
    db::Statement st(conn(), QStringLiteral("select gods_kind_id, gods_kind from baseitem "
                                            "where gods_kind_id is not null order by gods_kind_id"));
    while (st.step())
        saved << st.value(0).toString() + " " + st.value(1).toString();
    EXPECT_EQ(saved, (QStringList{"01 剪发", "02 烫染", "03 护理"}));
}

TEST_F(UserFormTest, InsertAddsARowAboveTheCurrentOneAndCancelKeepsAnAnsweredDelete)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    ui::DbGrid* fees = f.listGrid("FeeDefiQ");
    fees->setCurrentIndex(fees->model()->index(1, 0));
    QTest::keyClick(fees, Qt::Key_Insert);
    ASSERT_EQ(fees->model()->rowCount(), 3);
    EXPECT_EQ(dataMod().FeeDefiQ.recNo(), 1);
    typeIntoCell(fees, 1, 0, "09");
    typeIntoCell(fees, 1, 1, "支票");

    fees->setCurrentIndex(fees->model()->index(rowOf(fees, "02"), 0));
    prompts.expect("确认删除?", {ui::Answer::Cancel});
    QTest::keyClick(fees, Qt::Key_Delete, Qt::ControlModifier);
    prompts.verify();
    click(f.controls().cmd_save);

    EXPECT_EQ(feeType("09"), "支票");
    EXPECT_EQ(feeType("02"), "刷卡");
}

TEST_F(UserFormTest, GridKeysDoNothingWhileBrowsing)
{
    TFrmUser f;
    ui::DbGrid* fees = f.listGrid("FeeDefiQ");
    fees->setCurrentIndex(fees->model()->index(1, 0));
    QTest::keyClick(fees, Qt::Key_Down);
    QTest::keyClick(fees, Qt::Key_Insert);
    QTest::keyClick(fees, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(fees->model()->rowCount(), 2);
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_FALSE(anythingPending());
}

TEST_F(UserFormTest, AnEmptyListGetsANewRowWhenEditingStarts)
{
    TFrmUser f;
    ASSERT_EQ(f.listGrid("ColorDefiQ")->model()->rowCount(), 0);
    click(f.controls().cmd_edit);
    ui::DbGrid* colours = f.listGrid("ColorDefiQ");
    ASSERT_EQ(colours->model()->rowCount(), 1);
    typeIntoCell(colours, 0, 0, "C1");
    typeIntoCell(colours, 0, 1, "酒红");
    click(f.controls().cmd_save);
    EXPECT_EQ(scalar("select gods_color from baseitem where gods_color_id = 'C1'").toString(), "酒红");
    EXPECT_EQ(count("baseitem", "gods_unit_id is null and gods_kind_id is null and fee_code is null "
                                "and mone_code is null and gods_spec_id is null and gods_color_id is null"),
              0)
        << "the blank rows of lists left alone are not written";
}

TEST_F(UserFormTest, AnEntryWithoutItsCodeIsRefusedInEveryList)
{
    struct Case {
        const char* query;
        const char* message;
    };
    const Case cases[] = {
        {"FeeDefiQ", "结算方式：“新值”没有代码"}, {"MoneDefQ", "币种：“新值”没有代码"},
        {"KindDefiQ", "服务类别：“新值”没有编号"}, {"TypeDefiQ", "染发类别：“新值”没有编号"},
        {"ColorDefiQ", "染发颜色：“新值”没有编号"}, {"SizeDefiQ", "烫发方式：“新值”没有编号"},
        {"ProdDefiQ", "造型类别：“新值”没有编号"}, {"SpecDefiQ", "沟通卷度：“新值”没有编号"},
        {"UnitDefiQ", "排列方式：“新值”没有编号"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const int rows = count("baseitem");
        TFrmUser f;
        click(f.controls().cmd_edit);
        ui::DbGrid* grid = f.listGrid(QString::fromLatin1(c.query));
        grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, 0));
        if (!grid->model()->index(grid->model()->rowCount() - 1, 0).data().toString().isEmpty())
            QTest::keyClick(grid, Qt::Key_Down);
        const int row = grid->model()->rowCount() - 1;
        typeIntoCell(grid, row, 1, QStringLiteral("新值"));
        prompts.expect(QString::fromUtf8(c.message));
        click(f.controls().cmd_save);
        prompts.verify();
        EXPECT_EQ(f.mode(), FormMode::Edit);
        EXPECT_EQ(count("baseitem"), rows) << "nothing is written";

        typeIntoCell(grid, row, 0, QStringLiteral("N1"));
        click(f.controls().cmd_save);
        EXPECT_EQ(f.mode(), FormMode::Null);
        EXPECT_EQ(grid->model()->index(rowOf(grid, "N1"), 1).data().toString(), QStringLiteral("新值"))
            << "and it is listed";
    }
}

TEST_F(UserFormTest, AnEntryTakesNoMoreThanTheDocumentsAndRecipesKeepOfIt)
{
    TFrmUser f;
    click(f.controls().cmd_edit);
    typeIntoCell(f.listGrid("FeeDefiQ"), 0, 1, QStringLiteral("会员卡储值余额抵扣支付"));
    typeIntoCell(f.listGrid("SpecDefiQ"), 0, 1, QStringLiteral("大卷").repeated(16));
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(feeType("01"), QStringLiteral("会员卡储值余额抵扣支")) << "the ten a document keeps";
    EXPECT_EQ(scalar("select gods_spec from baseitem where gods_spec_id='S1'").toString(),
              QStringLiteral("大卷").repeated(15))
        << "the thirty a perm recipe keeps";
}

TEST_F(UserFormTest, DeletingAnEntryKeepsOtherListsSharingItsRow)
{
    exec("delete from baseitem");
    exec("insert into baseitem (fee_code, fee_type, mone_code, mone_type, mone_rate, gods_kind_id, gods_kind) "
         "values ('01', '现金', 'RMB', '人民币', 1, 'K1', '剪发')");
    TFrmUser f;
    click(f.controls().cmd_edit);
    ui::DbGrid* fees = f.listGrid("FeeDefiQ");
    fees->setCurrentIndex(fees->model()->index(0, 0));
    prompts.expect("确认删除?", {ui::Answer::Ok});
    QTest::keyClick(fees, Qt::Key_Delete, Qt::ControlModifier);
    click(f.controls().cmd_save);

    EXPECT_EQ(count("baseitem", "fee_code is not null"), 0);
    EXPECT_EQ(count("baseitem", "mone_code = 'RMB' and mone_type = '人民币' and mone_rate = 1"), 1);
    EXPECT_EQ(count("baseitem", "gods_kind_id = 'K1' and gods_kind = '剪发'"), 1);
}

TEST_F(UserFormTest, ASettingsFileThatCannotBeWrittenTakesTheDatabaseWritesBack)
{
    ASSERT_TRUE(QDir(folder()).mkdir("system.ini"));
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.shopBox("comp_name"), "丽人美发");
    clearAndType(f.shopBox("sale_value"), "12");
    typeIntoCell(f.listGrid("FeeDefiQ"), 0, 1, "现金支付");
    prompts.expect(testui::PromptResponder::Kind::Error, "system.ini");
    click(f.controls().cmd_save);
    prompts.verify();

    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(shop("comp_name").toString(), "旧店名");
    EXPECT_EQ(shop("sale_value").toInt(), 5);
    EXPECT_EQ(feeType("01"), "现金");
    EXPECT_EQ(SaleCommissionRate, 0);
    EXPECT_EQ(PageType, "");
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no copy left behind";

    ASSERT_TRUE(QDir(folder()).rmdir("system.ini"));
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(shop("comp_name").toString(), "丽人美发");
    EXPECT_EQ(feeType("01"), "现金支付");
    EXPECT_EQ(stored("billdata", "company_name"), "丽人美发");
    EXPECT_EQ(SaleCommissionRate, 12);
}

TEST_F(UserFormTest, SavingKeepsTheRestOfTheSettingsFile)
{
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("; 本机设置\n[nettype]\ndatasource=D:\\salon\\orbenta.db\n[pagesize]\npage_type=A4\n");
    }
    const QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(iniPath(), permissions));
    TFrmUser f;
    click(f.controls().cmd_edit);
    clearAndType(f.linesBox(), "18");
    click(f.controls().cmd_save);

    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("nettype", "datasource"), "D:\\salon\\orbenta.db");
    EXPECT_EQ(stored("billdata", "line_count"), "18");
    EXPECT_EQ(ini().readInt("pagesize", "page_width", 0), 210);
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).startsWith("; 本机设置\n[nettype]"));
    const QFileDevice::Permissions compared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                              | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_EQ(QFile::permissions(iniPath()) & compared, permissions);
    EXPECT_EQ(QDir(folder()).entryList({"system.ini*"}, QDir::Files | QDir::Hidden), QStringList{"system.ini"});
}

// The form's keyboard shortcuts save or cancel while a list cell is still
// open for typing; the cell's text goes with the rest.
class UserFormShortcutTest : public UserFormTest {
protected:
    void SetUp() override
    {
        UserFormTest::SetUp();
        form = std::make_unique<TFrmUser>();
        show(*form);
        click(form->controls().cmd_edit);
        ui::DbGrid* fees = form->listGrid("FeeDefiQ");
        fees->setFocus();
        fees->setCurrentIndex(fees->model()->index(0, 1));
        QTest::keyClick(fees, Qt::Key_F2);
        auto* editor = fees->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "the cell did not open for typing";
        editor->selectAll();
        testui::typeText(editor, "现金支付");
        typing = editor;
    }
    void TearDown() override
    {
        form.reset();
        UserFormTest::TearDown();
    }

    std::unique_ptr<TFrmUser> form;
    QLineEdit* typing = nullptr;
};

TEST_F(UserFormShortcutTest, SaveTakesTheCellBeingTyped)
{
    QTest::keyClick(typing, Qt::Key_S, Qt::AltModifier);
    // A mnemonic presses its button briefly before it clicks.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->mode() == FormMode::Null; }, 5000));
    EXPECT_EQ(prompts.texts(), QStringList());
    EXPECT_EQ(feeType("01"), "现金支付");
    EXPECT_FALSE(anythingPending());
}

TEST_F(UserFormShortcutTest, CancelDropsTheCellBeingTyped)
{
    QTest::keyClick(typing, Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->mode() == FormMode::Null; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(anythingPending());
    EXPECT_EQ(form->listGrid("FeeDefiQ")->model()->index(0, 1).data().toString(), "现金");
    // A later edit and save cannot write what was cancelled.
    click(form->controls().cmd_edit);
    click(form->controls().cmd_save);
    EXPECT_EQ(feeType("01"), "现金");
}

} // namespace
