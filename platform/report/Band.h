#pragma once

#include "platform/report/PageModel.h"

#include <QLineF>
#include <QRectF>
#include <QString>
#include <deque>
#include <functional>

namespace db {
class Dataset;
}

namespace report {

struct TextStyle {
    double pointSize = 10;
    bool bold = false;
    Align align = Align::Left;
    bool framed = false;  // a rectangle drawn on the text's rect, as in ruled tables
};

// One thing a band prints. Coordinates are millimetres relative to the band's
// top-left corner, which sits on the page's left margin.
struct Element {
    enum class Kind {
        Label,       // static `text`, which the caller may change by name before rendering
        Field,       // display text of `field` in `source` (nullptr: the report's dataset)
        Computed,    // whatever `compute` returns when the band is placed
        PageNumber,  // `text` as a format: %1 the page number, %2 the page count
        Date,        // `text` as a format: %1 the report's print date (db::dateText)
        Line,
        Frame,
    };

    Kind kind = Kind::Label;
    QString name;  // optional; Report::setText finds labels by it
    QRectF rect;   // texts and frames
    QLineF line;   // lines
    TextStyle style;
    double penWidth = 0.2;  // lines and frames, mm
    QString text;
    QString field;
    db::Dataset* source = nullptr;  // not owned; must outlive rendering
    std::function<QString()> compute;

    bool isText() const { return kind != Kind::Line && kind != Kind::Frame; }
    double bottom() const;
};

// A horizontal strip of a report. References returned by the add functions
// stay valid for the band's life (elements are never moved).
class Band {
public:
    // The band's height: the height set, or more when an element reaches lower.
    double height() const;
    void setHeight(double mm) { height_ = mm; }
    // A band without height and elements is left out of the report.
    bool isEmpty() const { return height_ <= 0 && elements_.empty(); }

    Element& addLabel(const QString& name, const QRectF& rect, const QString& text, const TextStyle& style = {});
    // source nullptr binds to the row the report is iterating; another dataset
    // prints its current row. NULL prints blank; formats come from the dataset.
    Element& addField(const QRectF& rect, const QString& field, const TextStyle& style = {},
                      db::Dataset* source = nullptr);
    Element& addComputed(const QRectF& rect, std::function<QString()> compute, const TextStyle& style = {});
    Element& addPageNumber(const QRectF& rect, const QString& format = QStringLiteral("第 %1 页"),
                           const TextStyle& style = {});
    Element& addDate(const QRectF& rect, const QString& format = QStringLiteral("%1"), const TextStyle& style = {});
    Element& addLine(const QLineF& line, double penWidth = 0.2);
    Element& addFrame(const QRectF& rect, double penWidth = 0.2);

    const std::deque<Element>& elements() const { return elements_; }
    // The element with this name, or nullptr.
    Element* find(const QString& name);
    const Element* find(const QString& name) const;

private:
    Element& add(Element e);

    double height_ = 0;
    std::deque<Element> elements_;
};

} // namespace report
