#include "platform/report/Preview.h"

#include "platform/report/PagePainter.h"
#include "platform/report/Renderer.h"

#include <QAction>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace report {

namespace {

PreviewHandler& handlerSlot()
{
    static PreviewHandler handler;
    return handler;
}

void showPreviewWindow(const PageModel& model, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(model));
    if (!model.documentName.isEmpty())
        printer.setDocName(model.documentName);

    QPrintPreviewDialog dialog(&printer, parent);
    if (!model.documentName.isEmpty())
        dialog.setWindowTitle(model.documentName);
    // Restored from maximised, nearly the screen's height, so a page still
    // reads top to bottom, and room around it.
    const QRect screen = dialog.screen()->availableGeometry();
    QRect normal(QPoint(), QSize(screen.width() * 3 / 4, screen.height() * 9 / 10));
    normal.moveCenter(screen.center());
    dialog.setGeometry(normal);
    // The whole screen, with the page as wide as the window: its text reads
    // at once, without zooming.
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    if (auto* fitWidth = dialog.findChild<QAction*>(QStringLiteral("fitWidthAction")))
        fitWidth->trigger();
    // Paints on whatever paper the user set up in the window; the model keeps
    // its own layout, placed at the paper corner.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&model](QPrinter* target) {
        QPainter painter(target);
        paintPages(painter, *target, model);
    });
    dialog.exec();
}

} // namespace

void preview(const PageModel& model, QWidget* parent)
{
    if (const PreviewHandler& handler = handlerSlot())
        handler(model, parent);
    else
        showPreviewWindow(model, parent);
}

void preview(const Report& report, QWidget* parent)
{
    preview(render(report), parent);
}

PreviewHandler setPreviewHandler(PreviewHandler handler)
{
    PreviewHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

PreviewCapture::PreviewCapture()
{
    previous_ = setPreviewHandler([this](const PageModel& model, QWidget*) { models_.push_back(model); });
}

PreviewCapture::~PreviewCapture()
{
    setPreviewHandler(std::move(previous_));
}

} // namespace report
