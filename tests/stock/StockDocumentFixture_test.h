#pragma once

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbLineEdit.h"
#include "stock/DocumentLinesGrid.h"
#include "stock/StockDocument.h"

#include <QComboBox>
#include <QGroupBox>
#include <QToolButton>
#include <memory>

// What the four document forms' tests share: goods, companies, employees and
// the settlement and currency lists; hands that enter lines in the grid; and
// the stock records read back.
class StockDocumentTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        // A fresh run: no edit has left its snapshot behind.
        for (StockDocumentKind kind : {StockDocumentKind::Purchase, StockDocumentKind::CustomerReturn,
                                       StockDocumentKind::Sale, StockDocumentKind::SupplierReturn})
            StockDocumentForm::oldLines(kind) = OldLineSnapshot{};
        exec("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit, valu_in, valu_out) values "
             "('G01', '洗发水', '500ml', '滋润型', '洗护', '瓶', 5, 8),"
             "('G02', '护发素', '250ml', '修护型', '洗护', '瓶', 7, 12),"
             "('G03', '染膏', '60g', '棕色', '染发', '支', 20, 35)");
        exec("insert into company (comp_code, comp_name, rela_phon) values "
             "('C01', '华美供应', '020-1234'), ('C02', '丽人商行', '021-5678')");
        exec("insert into employee (empl_code, empl_name) values ('E1', '王芳'), ('E2', '李明')");
        exec("insert into baseitem (fee_code, fee_type) values ('01', '现金'), ('02', '转账')");
        exec("insert into baseitem (mone_code, mone_type, mone_rate) values ('01', '人民币', 1), ('02', '美元', 6.8)");
    }

    template <class Form>
    static std::unique_ptr<Form> openForm()
    {
        auto f = std::make_unique<Form>();
        show(*f);
        return f;
    }

    static QModelIndex cell(StockDocumentForm& f, const char* field, int row = -1)
    {
        DocumentLinesGrid* g = f.grid();
        const int r = row >= 0 ? row : f.lines().recNo();
        return g->model()->index(r, g->datasetModel()->columnOf(QString::fromLatin1(field)));
    }
    static void clickCell(StockDocumentForm& f, const QModelIndex& at)
    {
        DocumentLinesGrid* g = f.grid();
        g->scrollTo(at);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(at).center());
    }
    // Opens the cell editor of field on the current line with a double-click.
    static QWidget* openCell(StockDocumentForm& f, const char* field)
    {
        DocumentLinesGrid* g = f.grid();
        const QModelIndex at = cell(f, field);
        clickCell(f, at);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(at).center());
        QWidget* editor = g->cellEditor();
        EXPECT_NE(editor, nullptr) << field;
        return editor;
    }
    // Types text into the cell of field on the current line, then Enter.
    static void enterCell(StockDocumentForm& f, const char* field, const QString& text)
    {
        QWidget* editor = openCell(f, field);
        ASSERT_NE(editor, nullptr);
        QLineEdit* box = qobject_cast<QLineEdit*>(editor);
        if (!box)
            if (auto* combo = qobject_cast<QComboBox*>(editor))
                box = combo->lineEdit();
        ASSERT_NE(box, nullptr);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        testui::typeText(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // One line as a user enters it: the code (Enter takes the goods' price),
    // a price where one is given, the quantity, a remark where one is given.
    static void typeLine(StockDocumentForm& f, const QString& code, const QString& quantity,
                         const QString& price = {}, const QString& remark = {})
    {
        enterCell(f, "gods_code", code);
        if (!price.isEmpty())
            enterCell(f, "unit_pric", price);
        enterCell(f, "sub_amou", quantity);
        if (!remark.isEmpty())
            enterCell(f, "remark", remark);
    }
    // Down on the final line: a new line.
    static void newLine(StockDocumentForm& f)
    {
        f.grid()->setFocus();
        QTest::keyClick(f.grid(), Qt::Key_Down);
    }
    static void lineAt(StockDocumentForm& f, int row)
    {
        clickCell(f, cell(f, "sub_amou", row));
    }

    struct Stock {
        bool found = false;
        double amount = 0;
        QVariant cost;
    };
    Stock stock(const char* code)
    {
        Stock s;
        const db::Params p{{"c", QString::fromLatin1(code)}};
        s.found = count("storemain", "gods_code=:c", p) == 1;
        s.amount = scalar("select gods_amou from storemain where gods_code=:c", p).toDouble();
        s.cost = scalar("select cost_pric from storemain where gods_code=:c", p);
        return s;
    }
    void setStock(const char* code, QVariant amount, QVariant cost)
    {
        exec("insert into storemain (gods_code, gods_amou, cost_pric) values (:c, :a, :p)",
             {{"c", QString::fromLatin1(code)}, {"a", amount}, {"p", cost}});
    }

    // A stored document of today with its lines: {code, quantity, price, remark}.
    struct Line {
        const char* code;
        double quantity;
        double price;
        const char* remark = nullptr;
    };
    void storeDocument(const char* side, const char* billNo, const char* billType, const std::vector<Line>& lines,
                       const QDate& date = QDate::currentDate())
    {
        const QString main = side == QLatin1String("in") ? "inmain" : "outmain";
        const QString goods = side == QLatin1String("in") ? "ingoods" : "outgoods";
        exec(QStringLiteral("insert into %1 (bill_no, bill_date, bill_type, comp_code) values (:b, :d, :t, 'C01')").arg(main),
             {{"b", QString::fromLatin1(billNo)}, {"d", db::toStorageText(date)}, {"t", QString::fromLatin1(billType)}});
        for (const Line& l : lines)
            exec(QStringLiteral("insert into %1 (bill_no, gods_code, sub_amou, unit_pric, remark) values (:b, :c, :a, :p, :r)")
                     .arg(goods),
                 {{"b", QString::fromLatin1(billNo)},
                  {"c", QString::fromLatin1(l.code)},
                  {"a", l.quantity},
                  {"p", l.price},
                  {"r", l.remark ? QVariant(QString::fromUtf8(l.remark)) : QVariant()}});
    }

    static QStringList lineCodes(const StockDocumentForm& f) { return column(f.lines(), "gods_code"); }

    // Runs act on the first modal dialog of class Dialog that comes up while
    // the test waits (a chooser opened by a queued handler, for one).
    template <class Dialog>
    static bool actOnModal(const std::function<void(Dialog&)>& act, int timeoutMs = 5000)
    {
        bool acted = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!d || acted)
                return;
            acted = true;
            poll.stop();
            act(*d);
            if (d->isVisible())
                d->done(-1);
        });
        poll.start();
        (void)QTest::qWaitFor([&] { return acted; }, timeoutMs);
        poll.stop();
        return acted;
    }
};
