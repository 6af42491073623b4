#pragma once

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"
#include "platform/report/PageModel.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "stock/OutStatForm.h"

#include <QRadioButton>
#include <algorithm>
#include <vector>

// Sales and supplier-return documents written straight into outmain and
// outgoods, the goods and companies they name, and the goods captions a shop
// gave its columns. Range of interest: 2026-03-01 to 2026-03-10.
//
//   B1 03-01 C1 out : G01 2 x 38.8, G02 1 x 25, G01 2 x 38.8 (the same line twice)
//   B2 03-05 C2 out : G03 3 x 60, G02 6 x 5
//   B3 03-10 S1 retu: G01 10 x 8
//   B4 02-28 C1 out : G02 5 x 25        (before the range)
//   B5 03-11 C2 out : G02 1 x 25        (after the range)
//
// In the range: 6 lines, quantity 24, amount 470.2; sales alone 14 and
// 390.2; the return alone 10 and 80.
class SalesTest : public StockFormTest {
protected:
    struct Line {
        const char* goods;
        double quantity;
        double price;
    };

    static QDate day(int month, int d) { return QDate(2026, month, d); }
    static QDate rangeFrom() { return day(3, 1); }
    static QDate rangeTo() { return day(3, 10); }

    void SetUp() override
    {
        StockFormTest::SetUp();
        GoodsCodeCaption = QStringLiteral("货号");
        GoodsNameCaption = QStringLiteral("品名");
        GoodsSpecCaption = QStringLiteral("容量");
        GoodsTypeCaption = QStringLiteral("款式");
        GoodsKindCaption = QStringLiteral("类别");
        exec("insert into company (comp_code, comp_name, head_name) values "
             "('C1', '丽人美发', '张三'), ('C2', '星光沙龙', '李四'), ('S1', '华美化妆品厂', '王五')");
        exec("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit) values "
             "('G01', '洗发水', '500ml', '滋润型', '洗护', '瓶'),"
             "('G02', '护发素', '250ml', '修护型', '洗护', '瓶'),"
             "('G03', '染膏', '60g', '棕色', '染发', '支')");
    }

    void addDocument(const QString& billNo, const QDate& date, const QString& company, const QString& type,
                     const std::vector<Line>& lines)
    {
        exec("insert into outmain (bill_no, bill_date, comp_code, bill_type) values (:b, :d, :c, :t)",
             {{"b", billNo}, {"d", date}, {"c", company}, {"t", type}});
        for (const Line& l : lines)
            exec("insert into outgoods (bill_no, gods_code, sub_amou, unit_pric) values (:b, :g, :q, :p)",
                 {{"b", billNo}, {"g", QString::fromUtf8(l.goods)}, {"q", l.quantity}, {"p", l.price}});
    }

    void addStandardDocuments()
    {
        addDocument("B1", day(3, 1), "C1", "out", {{"G01", 2, 38.8}, {"G02", 1, 25}, {"G01", 2, 38.8}});
        addDocument("B2", day(3, 5), "C2", "out", {{"G03", 3, 60}, {"G02", 6, 5}});
        addDocument("B3", day(3, 10), "S1", "retu", {{"G01", 10, 8}});
        addDocument("B4", day(2, 28), "C1", "out", {{"G02", 5, 25}});
        addDocument("B5", day(3, 11), "C2", "out", {{"G02", 1, 25}});
    }

    // The range chosen in the two pickers.
    static void setRange(ui::DbDatePicker* from, ui::DbDatePicker* to, const QDate& a, const QDate& b)
    {
        from->setDate(a);
        to->setDate(b);
    }
    static void chooseByMouse(outstat::ChoiceGroup* group, const QString& text)
    {
        for (QRadioButton* b : group->findChildren<QRadioButton*>())
            if (b->text() == text) {
                QTest::mouseClick(b, Qt::LeftButton);
                ASSERT_TRUE(b->isChecked()) << text.toStdString();
                return;
            }
        FAIL() << "no choice " << text.toStdString();
    }
    static QStringList choiceTexts(outstat::ChoiceGroup* group)
    {
        QStringList out;
        for (QRadioButton* b : group->findChildren<QRadioButton*>())
            out << b->text();
        return out;
    }

    // Detail texts of a page, one list per printed row of `columns` texts.
    static std::vector<QStringList> detailRows(const report::Page& page, int columns)
    {
        const QStringList texts = page.textsOf(report::BandKind::Detail);
        std::vector<QStringList> rows;
        for (int i = 0; i + columns <= texts.size(); i += columns)
            rows.push_back(texts.mid(i, columns));
        return rows;
    }
    // The text printed just right of a caption in the same band, if any.
    static QString textAfter(const report::Page& page, const QString& caption)
    {
        const report::TextItem* c = page.findText(caption);
        if (!c)
            return QStringLiteral("<no caption>");
        const report::TextItem* best = nullptr;
        for (const report::TextItem& t : page.texts)
            if (t.band == c->band && qAbs(t.rect.top() - c->rect.top()) < 0.1 && t.rect.left() >= c->rect.right() - 0.1
                && (!best || t.rect.left() < best->rect.left()))
                best = &t;
        return best ? best->text : QStringLiteral("<nothing after>");
    }
    // The texts printed right of caption on its line, left to right, apart by blanks.
    static QString lineAfter(const report::Page& page, const QString& caption)
    {
        const report::TextItem* c = page.findText(caption);
        if (!c)
            return QStringLiteral("<no caption>");
        std::vector<const report::TextItem*> after;
        for (const report::TextItem& t : page.texts)
            if (t.band == c->band && qAbs(t.rect.top() - c->rect.top()) < 0.1 && t.rect.left() >= c->rect.right() - 0.1
                && !t.text.isEmpty())
                after.push_back(&t);
        std::sort(after.begin(), after.end(), [](auto* a, auto* b) { return a->rect.left() < b->rect.left(); });
        QStringList texts;
        for (const report::TextItem* t : after)
            texts << t->text;
        return texts.join(u' ');
    }
};
