#include "platform/report/PagePainter.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace report {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;

Qt::Alignment qtAlign(Align a)
{
    switch (a) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

QRectF scaled(const QRectF& mm, double scale)
{
    return {mm.x() * scale, mm.y() * scale, mm.width() * scale, mm.height() * scale};
}

// Point sizes are meant on paper; the device's own resolution decides how
// many pixels a point is, so the size is converted through the page scale.
QFont fontFor(const TextItem& t, double scale, const QPaintDevice& device)
{
    QFont f(QString::fromLatin1(kFontFamily));
    const double pixels = t.pointSize / kPointsPerInch * kMmPerInch * scale;
    f.setPointSizeF(pixels * kPointsPerInch / device.logicalDpiY());
    f.setBold(t.bold);
    // Unhinted, the glyphs take the room the lines were measured for.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPen penFor(double widthMm, double scale)
{
    QPen pen(Qt::black);
    pen.setWidthF(widthMm * scale);
    return pen;
}

void paintLines(QPainter& painter, const TextItem& t, double scale)
{
    const QStringList lines = linesOf(t);
    const double lineHeight = lines.size() > 1 ? lineHeightMm(t.pointSize, t.bold) : t.rect.height();
    const QRectF box = t.rect.adjusted(kTextInsetMm, 0, -kTextInsetMm, 0);
    double top = box.center().y() - lines.size() * lineHeight / 2;
    for (const QString& line : lines) {
        painter.drawText(scaled(QRectF(box.left(), top, box.width(), lineHeight), scale),
                         int(qtAlign(t.align) | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip), line);
        top += lineHeight;
    }
}

} // namespace

double pixelsPerMm(const QPaintDevice& device)
{
    return device.logicalDpiX() / kMmPerInch;
}

void paintPage(QPainter& painter, const PageModel& model, int page, double scale)
{
    if (page < 0 || page >= model.pageCount())
        return;
    const Page& p = model.pages[size_t(page)];
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const FrameItem& f : p.frames) {
        painter.setPen(penFor(f.width, scale));
        painter.drawRect(scaled(f.rect, scale));
    }
    for (const LineItem& l : p.lines) {
        painter.setPen(penFor(l.width, scale));
        painter.drawLine(QLineF(l.line.p1() * scale, l.line.p2() * scale));
    }
    painter.setPen(Qt::black);
    for (const TextItem& t : p.texts) {
        if (t.text.isEmpty())
            continue;
        painter.setFont(fontFor(t, scale, *painter.device()));
        paintLines(painter, t, scale);
    }
    painter.restore();
}

void paintPages(QPainter& painter, QPagedPaintDevice& device, const PageModel& model)
{
    const double scale = pixelsPerMm(device);
    for (int i = 0; i < model.pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, model, i, scale);
    }
}

QPageLayout pageLayoutOf(const PageModel& model)
{
    const QPageSize size(model.paperSize, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool print(const PageModel& model, QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(model));
    if (!model.documentName.isEmpty())
        printer.setDocName(model.documentName);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    paintPages(painter, printer, model);
    return painter.end();
}

bool exportPdf(const PageModel& model, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageLayout(pageLayoutOf(model));
    writer.setTitle(model.documentName);
    writer.setCreator(model.documentName);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paintPages(painter, writer, model);
    return painter.end();
}

} // namespace report
