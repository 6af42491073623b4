#include "platform/ui/DbGrid.h"
#include "tests/platform/ui/UiFixture_test.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

class DbGridTest : public uitest::UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        grid = new ui::DbGrid(window.get());
        grid->resize(600, 300);
        grid->setColumns({{QStringLiteral("code"), QStringLiteral("会员编码"), 80, true},
                          {QStringLiteral("name"), QStringLiteral("姓名"), 120, false},
                          {QStringLiteral("age"), QStringLiteral("年龄"), 60, false}});
        grid->setDataset(members.get());
        grid->setRowSelect(true);
    }

    QPoint cellCenter(int row, int column) const
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }

    // The grid taking typing cell by cell, shown with the focus.
    void editInGrid()
    {
        grid->setReadOnly(false);
        grid->setRowSelect(false);
        showWindow();
        focus(grid);
    }

    void clickCell(int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(row, column));
    }

    ui::DbGrid* grid = nullptr;
};

TEST_F(DbGridTest, ShowsTheColumnsWithTitlesAndWidths)
{
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->columnCount(), 3);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    EXPECT_EQ(grid->columnWidth(1), 120);
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("李四"));
    EXPECT_EQ(grid->model()->index(2, 2).data().toString(), QString());
}

TEST_F(DbGridTest, ClickingARowMovesTheDataset)
{
    showWindow();
    clickCell(2, 1);
    EXPECT_EQ(members->recNo(), 2);
    EXPECT_EQ(members->asString(QStringLiteral("code")), QStringLiteral("A03"));
}

TEST_F(DbGridTest, DatasetMovesSelectTheGridRow)
{
    members->last();
    EXPECT_EQ(grid->currentIndex().row(), 2);
    members->locate(QStringLiteral("code"), QStringLiteral("A02"));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(1, {}));
}

TEST_F(DbGridTest, KeyboardMovesInTheGridMoveTheDataset)
{
    showWindow();
    focus(grid);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(members->recNo(), 1);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(members->recNo(), 2);
}

TEST_F(DbGridTest, CellClicksAreAnnouncedApartFromRowChanges)
{
    QSignalSpy clicked(grid, &ui::DbGrid::cellClicked);
    QSignalSpy doubleClicked(grid, &ui::DbGrid::cellDoubleClicked);
    showWindow();

    clickCell(0, 2);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.last().at(0).toInt(), 0);
    EXPECT_EQ(clicked.last().at(1).toString(), QStringLiteral("age"));

    members->last();
    EXPECT_EQ(clicked.count(), 1) << "a move of the dataset is no click";

    // A double click reaches a widget as press, release, double click, release.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(1, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(1, 0));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cellCenter(1, 0));
    EXPECT_EQ(clicked.count(), 2);
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.last().at(0).toInt(), 1);
    EXPECT_EQ(doubleClicked.last().at(1).toString(), QStringLiteral("code"));
}

TEST_F(DbGridTest, EditableColumnWritesThroughTheDataset)
{
    editInGrid();
    members->setRecNo(1);
    grid->setCurrentIndex(grid->model()->index(1, 2));

    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("45"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the grid commits a cell on Enter by a queued call

    EXPECT_EQ(members->state(), db::DatasetState::Edit);
    EXPECT_EQ(members->asInt(QStringLiteral("age")), 45);
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A02"), QStringLiteral("age")).toLongLong(), 45);
}

TEST_F(DbGridTest, ACellTakesWhatItsFieldHoldsAndARefusalNamesItsColumn)
{
    grid->setReadOnly(false);
    grid->setRowSelect(false);
    showWindow();
    focus(grid);
    auto typeInto = [this](int column, const QString& text) {
        grid->setCurrentIndex(grid->model()->index(1, column));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        uitest::typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    };

    typeInto(1, QStringLiteral("一二三四五六七八九十多余"));
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("一二三四五六七八九十"));

    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("年龄：“4x”不是有效的整数"));
    typeInto(2, QStringLiteral("4x"));
    prompts.verify();
    EXPECT_EQ(members->asInt(QStringLiteral("age")), 41);
}

TEST_F(DbGridTest, AKeyTypedOnACellStartsANewValueWhileF2AndADoubleClickEditInPlace)
{
    editInGrid();
    members->setRecNo(1);
    grid->setCurrentIndex(grid->model()->index(1, 2));
    testui::typeAtFocus(QStringLiteral("45"));
    testui::pressAtFocus(Qt::Key_Return);
    EXPECT_EQ(members->asInt(QStringLiteral("age")), 45) << "41 replaced";
    members->post();

    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 2));
    testui::pressAtFocus(Qt::Key_F2);
    testui::typeAtFocus(QStringLiteral("5"));
    testui::pressAtFocus(Qt::Key_Return);
    EXPECT_EQ(members->asInt(QStringLiteral("age")), 305);
    members->post();

    clickCell(2, 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(2, 1));
    testui::typeAtFocus(QStringLiteral("七"));
    testui::pressAtFocus(Qt::Key_Return);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("王五七"));
    members->post();

    // A click on the cell already current opens it once a double click can no longer come.
    clickCell(1, 1);
    clickCell(1, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->indexWidget(grid->model()->index(1, 1)) != nullptr; }));
    testui::typeAtFocus(QStringLiteral("子"));
    testui::pressAtFocus(Qt::Key_Return);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("李四子"));
}

TEST_F(DbGridTest, TabFromTheFinalCellNeverWrapsToTheFirstRow)
{
    editInGrid();
    members->last();
    grid->setCurrentIndex(grid->model()->index(2, 2));
    testui::pressAtFocus(Qt::Key_Tab);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, 2)) << "a grid taking no new rows lets the focus go on";

    // Where rows are typed one after another, a new row, its first editable cell current.
    grid->setRowEntry(true);
    testui::pressAtFocus(Qt::Key_Tab);
    ASSERT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(3, 1));
    testui::pressAtFocus(Qt::Key_Tab);
    testui::pressAtFocus(Qt::Key_Tab);
    EXPECT_EQ(grid->model()->rowCount(), 4) << "one untouched new row at a time";
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(3, 2));
}

TEST_F(DbGridTest, ReadOnlyColumnsAndGridsTakeNoTyping)
{
    showWindow();
    focus(grid);
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_EQ(grid->viewport()->findChild<QLineEdit*>(), nullptr) << "a read-only grid";

    grid->setReadOnly(false);
    grid->setRowSelect(false);
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_EQ(grid->viewport()->findChild<QLineEdit*>(), nullptr) << "a read-only column";
    EXPECT_EQ(members->state(), db::DatasetState::Browse);
}

TEST_F(DbGridTest, FollowsAppendsCancelsAndDeletes)
{
    members->append();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->currentIndex().row(), 3);
    members->cancel();
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->currentIndex().row(), 2);
    members->first();
    members->remove();
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("A02"));
    EXPECT_EQ(grid->currentIndex().row(), 0);
}

TEST_F(DbGridTest, ShowsWrittenValuesOfTheCurrentRow)
{
    members->next();
    members->edit();
    members->setValue(QStringLiteral("name"), QStringLiteral("李四四"));
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("李四四"));
}

TEST_F(DbGridTest, StaysQuietWhileControlsAreDisabledAndCatchesUpAfter)
{
    QSignalSpy resets(grid->model(), &QAbstractItemModel::modelReset);
    members->disableControls();
    members->last();
    members->append();
    members->setValue(QStringLiteral("code"), QStringLiteral("A04"));
    members->post();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->currentIndex().row(), 0);

    members->enableControls();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->currentIndex().row(), 3);
}

TEST_F(DbGridTest, WithoutColumnsShowsEveryField)
{
    ui::DbGrid all(window.get());
    all.setDataset(members.get());
    EXPECT_EQ(all.model()->columnCount(), members->fieldCount());
    EXPECT_EQ(all.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("code"));
}

TEST_F(DbGridTest, RowListIsAReadOnlyWholeRowListOverTheDataset)
{
    ui::DbGrid* list = ui::DbGrid::rowList(window.get(), members.get(),
                                           {{QStringLiteral("name"), QStringLiteral("姓名"), 110, false},
                                            {QStringLiteral("age"), QStringLiteral("年龄"), 50, false}},
                                           QStringLiteral("DBGrid2"));
    EXPECT_EQ(list->parent(), window.get());
    EXPECT_EQ(list->objectName(), QStringLiteral("DBGrid2"));
    EXPECT_EQ(list->dataset(), members.get());
    EXPECT_EQ(list->model()->columnCount(), 2);
    EXPECT_EQ(list->columnWidth(0), 110);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), QStringLiteral("李四"));
    EXPECT_EQ(ui::DbGrid::rowList(window.get(), members.get(), {})->objectName(), QStringLiteral("DBGrid1"));

    list->resize(400, 200);
    grid->hide();
    showWindow();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(2, 1)).center());
    EXPECT_EQ(members->recNo(), 2);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(2, {})) << "the whole row";

    focus(list);
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(list->viewport()->findChild<QLineEdit*>(), nullptr) << "editable columns, read-only list";
    EXPECT_EQ(members->state(), db::DatasetState::Browse);
}

TEST_F(DbGridTest, AShortListFillingOrEmptyingKeepsItsSize)
{
    const QSize withRows = grid->minimumSizeHint();
    members->close();
    members->setSql(QStringLiteral("select * from member where age > 100"));
    members->open();
    ASSERT_EQ(grid->model()->rowCount(), 0);
    EXPECT_EQ(grid->minimumSizeHint(), withRows);
}

TEST_F(DbGridTest, ReopeningWithOtherRowsResetsTheGrid)
{
    members->close();
    members->setSql(QStringLiteral("select * from member where age > :age order by code"));
    members->setParam(QStringLiteral("age"), 35);
    members->open();
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), QStringLiteral("李四"));
    EXPECT_EQ(grid->currentIndex().row(), 0);
}

} // namespace

TEST_F(DbGridTest, MovingOffAnUnchangedEditKeepsACurrentCell)
{
    showWindow();
    focus(grid);
    members->edit(); // nothing typed: the move cancels it and reloads the rows
    QTest::keyClick(grid, Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(members->recNo(), 1);
    ASSERT_TRUE(grid->currentIndex().isValid());
    EXPECT_EQ(grid->currentIndex().row(), 1);

    members->edit();
    clickCell(2, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(members->recNo(), 2);
    EXPECT_EQ(grid->currentIndex().column(), 1) << "the clicked cell, not the first column";
}
