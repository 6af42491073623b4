#include "stock/StockForms.h"

#include "tests/stock/StockFixture_test.h"

#include "core/FunctionPositions.h"
#include "stock/Ucompany.h"
#include "stock/Ugoods.h"

namespace {

class StockFormsTest : public StockFormTest {};

TEST_F(StockFormsTest, GoodsAndCompaniesOpenFromTheirPositions)
{
    RegisterStockForms();
    struct Case {
        int position;
        const char* objectName;
    };
    for (const Case& c : {Case{17, "FrmGoods"}, Case{18, "FrmCompany"}}) {
        SCOPED_TRACE(c.position);
        ASSERT_TRUE(HasForm(c.position));
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                opened = w->objectName();
                QTest::mouseClick(w->findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
            }
        });
        OpenFunction(c.position, nullptr);
        EXPECT_EQ(opened, QString::fromLatin1(c.objectName));
    }
}

} // namespace
