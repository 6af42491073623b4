#pragma once

#include <QLineF>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

// A rendered report: pages of positioned items, ready to paint on any device.
// Every length is in millimetres from the top-left corner of the paper; font
// sizes are in points. Nothing here refers back to the data the report was
// filled from, so a model can be previewed, printed and exported alike.
namespace report {

enum class Align { Left, Center, Right };

// The band an item came from, kept so a page can be read back by structure.
enum class BandKind { Title, PageHeader, ColumnHeader, Detail, Summary, PageFooter };

struct TextItem {
    QRectF rect;  // the text is vertically centred in it and aligned horizontally
    QString text;  // all of it; the lines it prints on are linesOf (TextFit.h)
    double pointSize = 10;
    bool bold = false;
    Align align = Align::Left;
    BandKind band = BandKind::Detail;
};

struct LineItem {
    QLineF line;
    double width = 0.2;  // pen width
    BandKind band = BandKind::Detail;
};

struct FrameItem {
    QRectF rect;
    double width = 0.2;  // pen width
    BandKind band = BandKind::Detail;
};

struct Page {
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;
    std::vector<FrameItem> frames;

    // Texts in the order they were placed (top to bottom, left to right per band).
    QStringList textList() const;
    // The first text item equal to `text`, or nullptr.
    const TextItem* findText(const QString& text) const;
    int countText(const QString& text) const;
    // Texts placed by one kind of band, in placing order.
    QStringList textsOf(BandKind band) const;
};

struct PageModel {
    QSizeF paperSize{210, 297};  // width x length
    QMarginsF margins{10, 10, 10, 10};
    QString documentName;        // shown by the preview, written into a PDF
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
};

// A plain-text listing of the model, one item per line with its position in
// millimetres (one decimal): for golden files and for reading a failed test.
QString toText(const PageModel& model);

} // namespace report
