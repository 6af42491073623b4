#pragma once

#include "platform/report/Band.h"

#include <QDate>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

namespace db {
class Dataset;
}

namespace report {

// A banded report layout. Rendering (render() in Renderer.h) prints, page by page:
//   page header        every page, at the top margin
//   title              first page only, below the page header
//   column header      every page, below the title or page header
//   detail             once per row of dataset(), first to last
//   summary            once, after the last detail
//   page footer        every page, its bottom on the bottom margin
// A detail or summary that would reach into the footer starts a new page.
//
// Typical use:
//   Report r;                              // A4 portrait, 10 mm margins
//   r.pageHeader().addLabel("Title", {0, 0, r.contentWidth(), 8}, "", {14, true, Align::Center});
//   r.detail().addField({0, 0, 30, 6}, "code");
//   r.setDataset(&query);
//   r.setText("Title", companyName + "进货单");
//   preview(render(r), this);
class Report {
public:
    Report() = default;

    // --- paper (millimetres, portrait: width across, length down)
    void setPaperA4() { paper_ = {210, 297}; }
    void setCustomPaper(double widthMm, double lengthMm) { paper_ = {widthMm, lengthMm}; }
    QSizeF paperSize() const { return paper_; }
    void setMargins(const QMarginsF& mm) { margins_ = mm; }
    QMarginsF margins() const { return margins_; }
    // Width between the left and right margins: the room bands have.
    double contentWidth() const { return paper_.width() - margins_.left() - margins_.right(); }

    // --- data
    // The dataset whose rows the detail band prints; not owned. Without one
    // (or while it is closed) the report prints no detail rows.
    void setDataset(db::Dataset* ds) { dataset_ = ds; }
    db::Dataset* dataset() const { return dataset_; }

    // --- bands
    Band& title() { return title_; }
    Band& pageHeader() { return pageHeader_; }
    Band& columnHeader() { return columnHeader_; }
    Band& detail() { return detail_; }
    Band& summary() { return summary_; }
    Band& pageFooter() { return pageFooter_; }
    const Band& title() const { return title_; }
    const Band& pageHeader() const { return pageHeader_; }
    const Band& columnHeader() const { return columnHeader_; }
    const Band& detail() const { return detail_; }
    const Band& summary() const { return summary_; }
    const Band& pageFooter() const { return pageFooter_; }

    // --- named labels
    // Sets the text of the label with this name in any band; throws
    // std::invalid_argument when no label has that name.
    void setText(const QString& name, const QString& text);
    QString text(const QString& name) const;
    // The element with this name in any band, or nullptr.
    Element* element(const QString& name);
    const Element* element(const QString& name) const;

    // --- document
    void setDocumentName(const QString& name) { documentName_ = name; }
    QString documentName() const { return documentName_; }
    // The date that date elements print; today when never set.
    void setPrintDate(const QDate& d) { printDate_ = d; }
    QDate printDate() const { return printDate_.isValid() ? printDate_ : QDate::currentDate(); }

private:
    Element& label(const QString& name) const;

    QSizeF paper_{210, 297};
    QMarginsF margins_{10, 10, 10, 10};
    db::Dataset* dataset_ = nullptr;
    Band title_, pageHeader_, columnHeader_, detail_, summary_, pageFooter_;
    QString documentName_;
    QDate printDate_;
};

} // namespace report
