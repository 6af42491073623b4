#include "stock/Ucompfind.h"

#include "tests/stock/StockFixture_test.h"

#include "platform/ui/DbLineEdit.h"

#include <QGroupBox>

namespace {

class CompFindTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        exec("insert into company (comp_code, comp_name, comp_addr, rela_name, rela_phon, head_name, head_phon) "
             "values ('C02', '丽人美发用品', '广州', '陈小姐', '020-1', '王经理', '139'),"
             "('C01', '华美化妆品', '上海', '李先生', '021-2', '李总', '138'),"
             "('C03', 'O''Neil Beauty', 'Boston', 'Ann', '617', 'Tom', '618')");
    }

    db::Dataset& q() { return dataMod().CompanyQ; }

    static QString detail(TFrmCompFind& f, const char* column)
    {
        for (auto* b : f.detailGroup()->findChildren<ui::DbLineEdit*>())
            if (b->field() == QLatin1String(column))
                return b->text();
        ADD_FAILURE() << "no box for " << column;
        return {};
    }
};

TEST_F(CompFindTest, ListsEveryCompanyByCodeWithTheCurrentOnesContacts)
{
    // Another form left CompanyQ on one company: the chooser lists them all again.
    q().close();
    q().setSql(QStringLiteral("select * from company where comp_code='C03'"));
    q().open();

    TFrmCompFind f;
    show(f);
    EXPECT_EQ(f.objectName(), "FrmCompFind");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("公司查询"));
    EXPECT_EQ(button(f, "BitBtn1")->text(), QStringLiteral("选择[&O]"));
    EXPECT_EQ(button(f, "BitBtn2")->text(), QStringLiteral("取消[&C]"));
    EXPECT_EQ(titles(f.grid()), (QStringList{"客户编码", "客户公司", "负责人名"}));
    EXPECT_EQ(column(q(), "comp_code"), (QStringList{"C01", "C02", "C03"}));

    clickRow(f.grid(), 1);
    EXPECT_EQ(detail(f, "comp_code"), "C02");
    EXPECT_EQ(detail(f, "comp_name"), QStringLiteral("丽人美发用品"));
    EXPECT_EQ(detail(f, "comp_addr"), QStringLiteral("广州"));
    EXPECT_EQ(detail(f, "rela_name"), QStringLiteral("陈小姐"));
    EXPECT_EQ(detail(f, "rela_phon"), "020-1");
    EXPECT_EQ(detail(f, "head_name"), QStringLiteral("王经理"));
    EXPECT_EQ(detail(f, "head_phon"), "139");
    for (auto* b : f.detailGroup()->findChildren<ui::DbLineEdit*>())
        EXPECT_TRUE(b->isReadOnly()) << b->field().toStdString();
}

TEST_F(CompFindTest, TheOpenerReceivesTheCompanyChosenWithTheButton)
{
    bool acted = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& f) {
        clickRow(f.grid(), 2);
        QTest::mouseClick(f.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    }, acted);
    const std::optional<ChosenCompany> chosen = ChooseCompany(nullptr);
    EXPECT_TRUE(acted);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->code, "C03");
    EXPECT_EQ(chosen->name, "O'Neil Beauty");
    EXPECT_TRUE(q().isActive()) << "the choice outlives the chooser";
    EXPECT_EQ(q().asString("comp_code"), "C03");
}

TEST_F(CompFindTest, ADoubleClickChooses)
{
    bool acted = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& f) { doubleClickRow(f.grid(), 1); }, acted);
    const std::optional<ChosenCompany> chosen = ChooseCompany(nullptr);
    EXPECT_TRUE(acted);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->code, "C02");
    EXPECT_EQ(chosen->name, QStringLiteral("丽人美发用品"));
}

TEST_F(CompFindTest, CancelChoosesNothing)
{
    bool acted = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& f) {
        clickRow(f.grid(), 1);
        QTest::mouseClick(f.findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    }, acted);
    EXPECT_FALSE(ChooseCompany(nullptr).has_value());
    EXPECT_TRUE(acted);
}

TEST_F(CompFindTest, OverAnEmptyListOkClosesTheChooserButChoosesNoCompany)
{
    exec("delete from company");
    bool acted = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& f) {
        QTest::mouseClick(f.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(f.result(), QDialog::Accepted);
    }, acted);
    EXPECT_FALSE(ChooseCompany(nullptr).has_value());
    EXPECT_TRUE(acted);
}

} // namespace
