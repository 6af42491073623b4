#include "analysis/AnalysisForms.h"
#include "core/CopiedColumns.h"
#include "core/CoreForms.h"
#include "core/FormFrame.h"
#include "core/FunctionPositions.h"
#include "core/Umain.h"
#include "members/MembersForms.h"
#include "members/Uservefind.h"
#include "platform/ui/CharacterLimit.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "stock/StockForms.h"
#include "stock/Ucompfind.h"
#include "stock/Ugodsfind.h"
#include "stock/Uinfind.h"
#include "stock/Uoutfind.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/TestDb.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Every window of the program as a receptionist meets it on the smallest
// screen the program supports, with the program's look and a salon's records:
// it fits the screen, its lists show at least five rows and every column
// without a horizontal scroll, no value, caption or picture is cut, and every
// button can be reached with the keyboard. ctest runs it on a 1024×768 screen
// and on a 1280×800 one (see tests/CMakeLists.txt).

namespace {

// Room a desktop takes from the screen around a window: a title bar and a task bar.
constexpr int kDesktopHeight = 70;
constexpr int kFewestRows = 5;

using Picker = std::function<QDialog*(QWidget* owner)>;

template <class Form>
Picker picker()
{
    return [](QWidget* owner) -> QDialog* { return new Form(owner); };
}

struct Position {
    int position;
    const char* run;             // objectName of the button that fills the lists; nullptr: they fill on opening
    std::vector<Picker> pickers; // the finders and pickers the form opens
};

const std::vector<Position>& positions()
{
    static const std::vector<Position> table = {
        {1, nullptr, {}},
        {2, nullptr, {}},
        {3, nullptr, {}},
        {4, nullptr, {picker<TFrmGoodsFind>()}},
        {5, nullptr, {picker<TFrmServeFind>()}},
        {6, nullptr, {picker<TFrmServeFind>()}},
        {7, nullptr, {}},
        {8, nullptr, {}},
        {9, nullptr, {}},
        {10, nullptr, {}},
        {11, nullptr, {}},
        {12, nullptr, {}},
        {13, nullptr, {}},
        {14, nullptr, {}},
        {15, nullptr, {picker<TFrmServeFind>()}},
        {16, nullptr, {picker<TFrmServeFind>()}},
        {17, nullptr, {}},
        {18, nullptr, {}},
        {19, nullptr, {}},
        {20, "cmd_find", {}},
        {21, nullptr, {picker<TFrmInFind>(), picker<TFrmGoodsFind>(), picker<TFrmCompFind>()}},
        {22, nullptr, {picker<TFrmOutFind>(), picker<TFrmGoodsFind>(), picker<TFrmCompFind>()}},
        {23, nullptr, {picker<TFrmInFind>(), picker<TFrmGoodsFind>(), picker<TFrmCompFind>()}},
        {24, nullptr, {picker<TFrmOutFind>(), picker<TFrmGoodsFind>(), picker<TFrmCompFind>()}},
        {25, "cmd_find", {}},
        {26, "cmd_find", {}},
        {27, "cmd_find", {}},
        {28, "cmd_find", {}},
        {29, "cmd_add", {}},
        {30, "cmd_find", {}},
        {31, "cmd_find", {}},
        {32, nullptr, {}},
        {33, nullptr, {}},
        {34, "cmd_find", {}},
        {35, "cmd_add", {}},
        {36, nullptr, {}},
        {37, nullptr, {}},
        {38, nullptr, {}},
    };
    return table;
}

QString describe(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString withoutMnemonic(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

// What keeps a receptionist from reading or reaching something in window,
// one line each.
struct Faults {
    QStringList window, rows, sideways, columns, captions, values, keyboard;

    Faults& operator+=(const Faults& more)
    {
        window += more.window;
        rows += more.rows;
        sideways += more.sideways;
        columns += more.columns;
        captions += more.captions;
        values += more.values;
        keyboard += more.keyboard;
        return *this;
    }
    int count() const { return int(all().size()); }
    QStringList all() const { return window + rows + sideways + columns + captions + values + keyboard; }
};

void checkWindow(const QWidget* w, Faults& out)
{
    // A maximized window has the title bar inside the screen's working area already.
    const QRect room = w->screen()->availableGeometry().adjusted(0, 0, 0, w->isMaximized() ? 0 : -kDesktopHeight);
    if (w->width() > room.width() || w->height() > room.height())
        out.window << QStringLiteral("%1 is %2×%3, the screen leaves %4×%5")
                          .arg(describe(w))
                          .arg(w->width())
                          .arg(w->height())
                          .arg(room.width())
                          .arg(room.height());
}

void checkList(const QTableView* grid, Faults& out)
{
    const int rowHeight = grid->verticalHeader()->defaultSectionSize();
    const int shown = grid->viewport()->height() / rowHeight;
    if (shown < kFewestRows)
        out.rows << QStringLiteral("%1 shows %2 rows").arg(describe(grid)).arg(shown);
    const QHeaderView* titles = grid->horizontalHeader();
    const int titleMargins = 2 * titles->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
    // A cell's text keeps the focus frame's margin on both sides, and the grid line takes a pixel.
    const int cellMargins =
        2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + (grid->showGrid() ? 1 : 0);
    const QAbstractItemModel* model = grid->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (grid->isColumnHidden(c))
            continue;
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        if (titles->fontMetrics().horizontalAdvance(title) + titleMargins > titles->sectionSize(c))
            out.captions << QStringLiteral("%1: column title \"%2\" is cut").arg(describe(grid), title);
        for (int r = 0; r < model->rowCount(); ++r) {
            const QString value = model->index(r, c).data().toString();
            if (grid->fontMetrics().horizontalAdvance(value) + cellMargins > grid->columnWidth(c)) {
                out.columns << QStringLiteral("%1: column \"%2\" cuts \"%3\"").arg(describe(grid), title, value);
                break;
            }
        }
    }
    const int columns = grid->horizontalHeader()->length();
    if (columns > grid->viewport()->width())
        out.sideways << QStringLiteral("%1 has %2 px of columns in %3 px")
                           .arg(describe(grid))
                           .arg(columns)
                           .arg(grid->viewport()->width());
}

void checkCaption(const QWidget* w, Faults& out)
{
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!label)
        return;
    if (!label->pixmap().isNull()) {
        // What of the label its parent shows.
        const QRect shown = label->contentsRect() & label->parentWidget()->rect().translated(-label->pos());
        const QSize picture = label->pixmap().deviceIndependentSize().toSize();
        if (picture.width() > shown.width() || picture.height() > shown.height())
            out.captions << QStringLiteral("picture %1 of %2×%3 is cut to %4×%5")
                                .arg(describe(label))
                                .arg(picture.width())
                                .arg(picture.height())
                                .arg(shown.width())
                                .arg(shown.height());
        return;
    }
    if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText)
        return;
    const QString text = withoutMnemonic(label->text());
    if (label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width())
        out.captions << QStringLiteral("label \"%1\" is cut").arg(text);
}

void checkTabs(const QTabBar* tabs, Faults& out)
{
    if (tabs->sizeHint().width() > tabs->width())
        out.captions << QStringLiteral("tabs of %1 need %2 px in %3 px")
                            .arg(describe(tabs->parentWidget()))
                            .arg(tabs->sizeHint().width())
                            .arg(tabs->width());
}

void checkValue(const QWidget* w, Faults& out)
{
    const auto* box = qobject_cast<const QLineEdit*>(w);
    if (!box || box->text().isEmpty() || box->echoMode() != QLineEdit::Normal)
        return;
    // The frame and the line edit's own margin of 2 px on each side.
    const int frame = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
    const QMargins text = box->textMargins();
    const int room = box->contentsRect().width() - 2 * frame - text.left() - text.right() - 4;
    if (box->fontMetrics().horizontalAdvance(box->text()) > room)
        out.values << QStringLiteral("box %1 cuts \"%2\"").arg(describe(box), box->text());
}

void checkKeyboard(const QWidget* w, Faults& out)
{
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    // A grid's corner button is the grid's own, reached through the grid.
    if (button && !qobject_cast<const QAbstractItemView*>(button->parentWidget())
        && !(button->focusPolicy() & Qt::TabFocus))
        out.keyboard << QStringLiteral("button %1 \"%2\" cannot be reached with Tab")
                            .arg(describe(button), button->text());
}

Faults faultsOf(QWidget* window)
{
    Faults out;
    checkWindow(window, out);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        if (const auto* grid = qobject_cast<const QTableView*>(w))
            checkList(grid, out);
        if (const auto* tabs = qobject_cast<const QTabBar*>(w))
            checkTabs(tabs, out);
        checkCaption(w, out);
        checkKeyboard(w, out);
        checkValue(w, out);
    }
    return out;
}

// Shows window as the program shows it and waits until its layout is done.
void showSettled(QWidget* window)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QApplication::processEvents();
}

// Closes every box as a user who only wants to go on would: Cancel, or No
// where there is no Cancel (an import asked about, a bill already paid).
class ClosingEveryBox : public ui::Responder {
public:
    ClosingEveryBox() : previous_(ui::responder()) { ui::setResponder(this); }
    ~ClosingEveryBox() override { ui::setResponder(previous_); }
    ui::PromptReply respond(const ui::PromptRequest& r) override
    {
        return {r.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Cancel};
    }

private:
    ui::Responder* previous_;
};

// The text box a user types into in w: w itself, or an editable combo box's.
QLineEdit* textBoxOf(QWidget* w)
{
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box;
    auto* combo = qobject_cast<QComboBox*>(w);
    return combo && combo->isEditable() ? combo->lineEdit() : nullptr;
}

bool takesTyping(QWidget* w)
{
    if (QLineEdit* box = textBoxOf(w))
        return !box->isReadOnly();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
        return !spin->isReadOnly();
    if (auto* grid = qobject_cast<ui::DbGrid*>(w))
        return !grid->isReadOnly();
    return false;
}

// The buttons of form that start a record's entry, as a user finds them.
std::vector<QPushButton*> entryButtons(RecordForm& form)
{
    std::vector<QPushButton*> out;
    for (QPushButton* b : {form.controls().cmd_add, form.controls().cmd_edit})
        if (b && b->isVisible() && b->isEnabled())
            out.push_back(b);
    return out;
}

// Enter in each date box that takes typing goes on to the next box at once,
// and a Down arrow meant for that box leaves the date as it was.
void expectEnterLeavesEveryDateBox(QWidget& form)
{
    for (ui::DbDatePicker* date : form.findChildren<ui::DbDatePicker*>()) {
        if (!date->isVisible() || !date->isEnabled() || date->isReadOnly())
            continue;
        const QDate shown = date->date();
        date->setFocus(Qt::TabFocusReason);
        QTest::keyClick(date, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_NE(QApplication::focusWidget(), date) << describe(date).toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(date->date(), shown) << describe(date).toStdString();
    }
}

void leaveEntry(RecordForm& form)
{
    if (form.mode() != FormMode::Null && form.controls().cmd_canc)
        form.controls().cmd_canc->click();
}

class FormLayout : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        static const bool registered = [] {
            RegisterCoreForms();
            RegisterMembersForms();
            RegisterStockForms();
            RegisterAnalysisForms();
            return true;
        }();
        (void)registered;
        grantAllRights();
        addSampleData();
        // The main window as the program starts it: the shop settings it
        // loads name the goods columns.
        mainWindow = std::make_unique<TfrmMain>();
        mainWindow->runLogin = [this] { grantAllRights(); };
        mainWindow->showMaximized();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
        QApplication::processEvents();
    }

    void TearDown() override
    {
        mainWindow.reset();
        TestDb::TearDown();
    }

    // Opens position as the main window does, lets look at it, and closes it again.
    void visit(const Position& p, const std::function<void(QWidget* form)>& look)
    {
        bool looked = false;
        QTimer::singleShot(0, [&] {
            QPointer<QWidget> form = QApplication::activeModalWidget();
            if (!form)
                return;
            looked = true;
            QApplication::processEvents();
            look(form);
            if (form)
                form->close();
        });
        OpenFunction(p.position, mainWindow.get());
        EXPECT_TRUE(looked) << "the form never opened";
    }

    // Looks at position and at each of its pickers over it.
    Faults inspect(const Position& p)
    {
        Faults found;
        visit(p, [&](QWidget* form) {
            if (p.run) {
                auto* run = form->findChild<QPushButton*>(QString::fromLatin1(p.run));
                EXPECT_NE(run, nullptr) << p.run;
                if (run)
                    run->click();
            }
            found = faultsOf(form);
            for (const Picker& make : p.pickers) {
                std::unique_ptr<QDialog> picker(make(form));
                showSettled(picker.get());
                found += faultsOf(picker.get());
            }
        });
        return found;
    }

    // Opens each function as the main window does, hands its form to look
    // where it is a record form, and closes it again (after leaving any entry
    // look began).
    void forEachRecordForm(const std::function<void(const Position&, RecordForm&)>& look)
    {
        for (const Position& p : positions()) {
            SCOPED_TRACE(FunctionAt(p.position).function.toStdString());
            visit(p, [&](QWidget* window) {
                QPointer<QWidget> guard = window;
                if (auto* form = qobject_cast<RecordForm*>(window)) {
                    look(p, *form);
                    if (guard)
                        leaveEntry(*form);
                }
            });
        }
    }

    std::unique_ptr<TfrmMain> mainWindow;
};

TEST_F(FormLayout, EveryWindowFitsAndShowsItsDataOnASmallScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    ASSERT_GE(screen.width(), 1024) << "run on a screen of 1024×768 or more (see tests/CMakeLists.txt)";
    testui::PromptResponder prompts;
    Faults all = faultsOf(mainWindow.get());
    EXPECT_EQ(all.count(), 0) << all.all().join(u'\n').toStdString();
    for (const Position& p : positions()) {
        SCOPED_TRACE(FunctionAt(p.position).function.toStdString());
        const Faults found = inspect(p);
        EXPECT_EQ(found.count(), 0) << found.all().join(u'\n').toStdString();
        all += found;
    }
    std::printf("%d×%d: %lld windows too large, %lld lists too short, %lld lists scrolling sideways, "
                "%lld columns cutting values, %lld captions cut, %lld boxes cutting values, "
                "%lld buttons out of reach\n",
                screen.width(), screen.height(), qlonglong(all.window.size()), qlonglong(all.rows.size()),
                qlonglong(all.sideways.size()), qlonglong(all.columns.size()), qlonglong(all.captions.size()),
                qlonglong(all.values.size()), qlonglong(all.keyboard.size()));
}

// What keeps a bound box of window from holding only what its value can be
// stored in: a text box or combo taking more characters than its column
// holds, or more than the narrowest column of another table keeping copies
// of its values (a value stored before may show whole); a box taking
// typing without a label to name it by when its value is refused.
template <class Box>
QStringList boxFaultsOf(QWidget* window, db::Connection& conn, QLineEdit* (*editOf)(Box*))
{
    QStringList faults;
    for (Box* box : window->template findChildren<Box*>()) {
        const db::Dataset* ds = box->dataSource() ? box->dataSource()->dataset() : nullptr;
        const int field = ds ? ds->fieldIndex(box->field()) : -1;
        if (field < 0)
            continue;
        const db::FieldDef& def = ds->fields()[size_t(field)];
        const QString column = ds->baseTable() + u'.' + ds->baseColumn(field);
        if (def.type == db::FieldType::Text) {
            int holds = def.size;
            if (const int copies = CopiedColumnWidth(conn, ds->baseTable(), ds->baseColumn(field)))
                holds = holds > 0 ? std::min(holds, copies) : copies;
            const int takes = ui::characterLimit(editOf(box));
            if (holds > 0 && takes != std::max<qsizetype>(holds, db::characterCount(editOf(box)->text())))
                faults << QStringLiteral("%1 (%2) takes %3 characters, its value is stored in %4")
                              .arg(describe(box), column)
                              .arg(takes)
                              .arg(holds);
        }
        const auto* edit = qobject_cast<const ui::DbLineEdit*>(box);
        if (!def.readOnly() && !(edit && edit->isLocked()) && ui::labelOf(box).isEmpty())
            faults << QStringLiteral("%1 (%2) has no label").arg(describe(box), column);
    }
    return faults;
}

QLineEdit* lineEditOf(ui::DbLineEdit* box)
{
    return box;
}

QLineEdit* lineEditOf(ui::DbComboBox* box)
{
    return box->lineEdit();
}

TEST_F(FormLayout, EveryBoundBoxHoldsOnlyWhatItsValueCanBeStoredIn)
{
    testui::PromptResponder prompts;
    for (const Position& p : positions()) {
        SCOPED_TRACE(FunctionAt(p.position).function.toStdString());
        QStringList faults;
        visit(p, [&](QWidget* form) {
            faults << boxFaultsOf<ui::DbLineEdit>(form, conn(), &lineEditOf)
                   << boxFaultsOf<ui::DbComboBox>(form, conn(), &lineEditOf);
        });
        EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    }
}

TEST_F(FormLayout, EveryFormKeepsItsSizeWhenEntryStartsOrItsListsFill)
{
    ClosingEveryBox boxes;
    forEachRecordForm([](const Position& p, RecordForm& form) {
        const QSize opened = form.size();
        std::vector<QPushButton*> steps = entryButtons(form);
        if (p.run)
            steps.push_back(form.findChild<QPushButton*>(QString::fromLatin1(p.run)));
        for (QPushButton* step : steps) {
            step->click();
            QApplication::processEvents();
            EXPECT_EQ(form.size(), opened) << step->objectName().toStdString();
            leaveEntry(form);
        }
    });
}

TEST_F(FormLayout, EntryStartsInABoxReadyForTypingAndEnterLeavesADateBoxAtOnce)
{
    ClosingEveryBox boxes;
    forEachRecordForm([](const Position&, RecordForm& form) {
        expectEnterLeavesEveryDateBox(form); // the date ranges of the lists
        for (QPushButton* start : entryButtons(form)) {
            SCOPED_TRACE(start->objectName().toStdString());
            start->click();
            QApplication::processEvents();
            if (form.mode() == FormMode::Null)
                continue; // refused, with its reason
            QWidget* focus = QApplication::focusWidget();
            ASSERT_TRUE(focus && form.isAncestorOf(focus) && takesTyping(focus)) << "the focus is on "
                << (focus ? describe(focus).toStdString() : "nothing");
            if (QLineEdit* text = textBoxOf(focus)) {
                EXPECT_EQ(text->selectedText(), text->text()) << "a value shown is typed over, not after";
            }
            expectEnterLeavesEveryDateBox(form);
            leaveEntry(form);
        }
    });
}

} // namespace
