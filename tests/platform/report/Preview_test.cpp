#include "platform/report/Preview.h"

#include "platform/report/Report.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace report;

namespace {

PageModel modelOfPages(int pages)
{
    PageModel m;
    m.pages.resize(size_t(pages));
    for (int i = 0; i < pages; ++i)
        m.pages[size_t(i)].texts.push_back({{10, 10, 50, 8}, QStringLiteral("第 %1 页").arg(i + 1)});
    return m;
}

// Previews model in the real window, hands the window to inspect once a
// timer finds it open, then closes it; false when it never opened.
bool inspectPreviewWindow(const PageModel& model, const std::function<void(QPrintPreviewDialog&)>& inspect)
{
    bool found = false;
    int triesLeft = 100;
    std::function<void()> look = [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (--triesLeft > 0)
                QTimer::singleShot(20, look);
            return;
        }
        found = true;
        inspect(*dialog);
        dialog->reject();
    };
    QTimer::singleShot(0, look);
    preview(model, nullptr);
    return found;
}

} // namespace

TEST(PreviewTest, CaptureRecordsPreviewsInsteadOfShowingThem)
{
    PreviewCapture capture;
    preview(modelOfPages(2), nullptr);
    preview(modelOfPages(3), nullptr);
    ASSERT_EQ(capture.count(), 2);
    EXPECT_EQ(capture.models()[0].pageCount(), 2);
    EXPECT_EQ(capture.last().pageCount(), 3);
}

TEST(PreviewTest, PreviewingAReportRendersIt)
{
    Report r;
    r.pageHeader().addLabel(QStringLiteral("Heading"), {0, 0, 100, 8}, QString());
    r.setText(QStringLiteral("Heading"), QStringLiteral("薪资统计"));
    PreviewCapture capture;
    preview(r, nullptr);
    ASSERT_EQ(capture.count(), 1);
    ASSERT_EQ(capture.last().pageCount(), 1);
    EXPECT_EQ(capture.last().pages[0].countText(QStringLiteral("薪资统计")), 1);
}

TEST(PreviewTest, CapturesNestAndRestoreTheOuterOne)
{
    PreviewCapture outer;
    {
        PreviewCapture inner;
        preview(modelOfPages(1), nullptr);
        EXPECT_EQ(inner.count(), 1);
    }
    EXPECT_EQ(outer.count(), 0);
    preview(modelOfPages(1), nullptr);
    EXPECT_EQ(outer.count(), 1);
}

TEST(PreviewTest, HandlerReceivesTheParent)
{
    QWidget parent;
    QWidget* seen = nullptr;
    PreviewHandler before = setPreviewHandler([&](const PageModel&, QWidget* p) { seen = p; });
    preview(modelOfPages(1), &parent);
    setPreviewHandler(before);
    EXPECT_EQ(seen, &parent);
}

// The real window: opened modally, inspected and closed by a timer that must
// have found it.
TEST(PreviewTest, WindowShowsEveryPageOfTheModel)
{
    PageModel m = modelOfPages(3);
    m.documentName = QStringLiteral("库存报表");
    int shownPages = -1;
    QString title;
    const bool found = inspectPreviewWindow(m, [&](QPrintPreviewDialog& dialog) {
        title = dialog.windowTitle();
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
            shownPages = view->pageCount();
    });
    ASSERT_TRUE(found);
    EXPECT_EQ(shownPages, 3);
    EXPECT_EQ(title, QStringLiteral("库存报表"));
}

TEST(PreviewTest, WindowOpensMaximisedWithThePageAsWideAsTheWindowAndRestoresToMostOfTheScreen)
{
    bool maximised = false;
    QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
    QSize restored;
    QSize screen;
    const bool found = inspectPreviewWindow(modelOfPages(2), [&](QPrintPreviewDialog& dialog) {
        maximised = dialog.isMaximized();
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
            zoom = view->zoomMode();
        screen = dialog.screen()->availableGeometry().size();
        dialog.showNormal();
        QApplication::processEvents();
        restored = dialog.size();
    });
    ASSERT_TRUE(found);
    EXPECT_TRUE(maximised);
    EXPECT_EQ(zoom, QPrintPreviewWidget::FitToWidth);
    // Restored, it is nearly as tall as the screen, a page reading top to
    // bottom beside the toolbar, and leaves room around it.
    EXPECT_GE(restored.height(), screen.height() * 85 / 100);
    EXPECT_LT(restored.height(), screen.height());
    EXPECT_GE(restored.width(), screen.width() / 2);
    EXPECT_LT(restored.width(), screen.width());
}
