#pragma once

#include "tests/stock/StockDocumentFixture_test.h"

#include "platform/report/PageModel.h"
#include "platform/report/Preview.h"
#include "stock/rout.h"

// What the printed document tests share: a fresh run's layouts, the shop's
// goods captions, a company contact, document headers filled in, and readers
// of the captured pages.
class PrintedDocumentTest : public StockDocumentTest {
protected:
    static constexpr int kCellsPerLine = 9;

    void SetUp() override
    {
        StockDocumentTest::SetUp();
        QRout() = TQRout();
        GoodsCodeCaption = QStringLiteral("货号");
        GoodsNameCaption = QStringLiteral("品名");
        GoodsSpecCaption = QStringLiteral("规格型号");
        GoodsTypeCaption = QStringLiteral("款式");
        exec("update company set rela_name='陈经理' where comp_code='C01'");
    }

    // The print settings as the basic settings leave them after a save.
    static void savePrintSettings(const QString& pageType, int width, int length, int linesPerPage)
    {
        BillCompanyName = QStringLiteral("丽发美容");
        BillFooter = QStringLiteral("谢谢惠顾");
        PageType = pageType;
        PageWidth = width;
        PageLength = length;
        LinesPerPage = linesPerPage;
    }

    // Fills in the rest of a stored document's header.
    void describe(const char* table, const char* billNo)
    {
        exec(QStringLiteral("update %1 set vouc_no='V-01', mone_type='人民币', fee_type='现金', oper_code='E1', "
                            "hand_code='E2', chek_code='E1', rela_code='E2', send_code='E1', rece_code='E2', "
                            "remark='当日送达', fact_tota=100 where bill_no=:b")
                 .arg(QString::fromLatin1(table)),
             {{"b", QString::fromLatin1(billNo)}});
    }

    // The text placed right after the first text equal to caption.
    static QString textAfter(const QStringList& texts, const QString& caption)
    {
        const qsizetype at = texts.indexOf(caption);
        return at >= 0 && at + 1 < texts.size() ? texts[at + 1] : QStringLiteral("<none>");
    }
    static QString headerAfter(const report::Page& p, const QString& caption)
    {
        return textAfter(p.textsOf(report::BandKind::PageHeader), caption);
    }
    static QString summaryAfter(const report::Page& p, const QString& caption)
    {
        return textAfter(p.textsOf(report::BandKind::Summary), caption);
    }
    // The printed lines of a page, each its nine cells.
    static std::vector<QStringList> lines(const report::Page& p)
    {
        const QStringList cells = p.textsOf(report::BandKind::Detail);
        std::vector<QStringList> rows;
        for (qsizetype i = 0; i + kCellsPerLine <= cells.size(); i += kCellsPerLine)
            rows.push_back(cells.mid(i, kCellsPerLine));
        EXPECT_EQ(cells.size() % kCellsPerLine, 0);
        return rows;
    }
    static bool isBlank(const QStringList& line)
    {
        for (const QString& cell : line)
            if (!cell.isEmpty())
                return false;
        return true;
    }
    static QStringList columnTitles(const report::Page& p)
    {
        const QStringList texts = p.textsOf(report::BandKind::PageHeader);
        const qsizetype at = texts.indexOf(GoodsCodeCaption);
        return at >= 0 ? texts.mid(at, kCellsPerLine) : QStringList();
    }
};
