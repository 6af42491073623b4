#include "platform/report/Renderer.h"

#include "platform/db/Dataset.h"
#include "platform/db/Value.h"
#include "platform/report/TextFit.h"

#include <cmath>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace report {

namespace {

// Disables a dataset's controls for the walk and brings the caller's row back.
class CursorGuard {
public:
    explicit CursorGuard(db::Dataset* ds) : ds_(ds)
    {
        if (!ds_)
            return;
        ds_->disableControls();
        hadRow_ = ds_->recNo() >= 0;
        if (hadRow_)
            mark_ = ds_->bookmark();
    }
    ~CursorGuard()
    {
        if (!ds_)
            return;
        // A destructor must not throw; the worst outcome is a cursor left on
        // another row, which the caller can see.
        try {
            if (hadRow_ && ds_->bookmarkValid(mark_))
                ds_->gotoBookmark(mark_);
        } catch (...) {
        }
        ds_->enableControls();
    }
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;

private:
    db::Dataset* ds_;
    bool hadRow_ = false;
    db::Dataset::Bookmark mark_ = 0;
};

struct PendingPageNumber {
    size_t page;
    size_t textIndex;
    QString format;
};

constexpr double kTolerance = 1e-6;

// A band as it prints this once: its texts taken and fitted, and everything
// below a text that needed more room moved down. Coordinates are relative
// to the band's top-left corner.
struct LaidBand {
    std::vector<TextItem> texts;
    std::vector<size_t> pageNumberTexts;  // indexes into texts; their format is in text
    std::vector<LineItem> lines;
    std::vector<FrameItem> frames;
    double height = 0;
};

// Where the band grows: at `at` (a bottom of a text that needed more room)
// by `by`. Whatever reaches down to a growth line moves down with it, so
// cells sharing a row grow together and rows below follow.
class Growth {
public:
    void add(double at, double by)
    {
        for (auto& [y, dy] : steps_)
            if (std::abs(y - at) < kTolerance) {
                dy = std::max(dy, by);
                return;
            }
        steps_.push_back({at, by});
    }
    bool isEmpty() const { return steps_.empty(); }
    double operator()(double y) const
    {
        double moved = y;
        for (const auto& [at, by] : steps_)
            if (at <= y + kTolerance)
                moved += by;
        return moved;
    }
    QRectF operator()(const QRectF& r) const
    {
        return QRectF(QPointF(r.left(), (*this)(r.top())), QPointF(r.right(), (*this)(r.bottom())));
    }
    QLineF operator()(const QLineF& l) const { return QLineF(l.x1(), (*this)(l.y1()), l.x2(), (*this)(l.y2())); }

private:
    std::vector<std::pair<double, double>> steps_;
};

class Renderer {
public:
    explicit Renderer(const Report& report) : r_(report)
    {
        model_.paperSize = r_.paperSize();
        model_.margins = r_.margins();
        model_.documentName = r_.documentName();
        footerTop_ = r_.paperSize().height() - r_.margins().bottom() - r_.pageFooter().height();
    }

    PageModel run()
    {
        db::Dataset* ds = r_.dataset();
        bool iterate = ds && ds->isActive();
        CursorGuard guard(iterate ? ds : nullptr);
        if (iterate)
            ds->first();
        startPage();
        if (iterate && !r_.detail().isEmpty())
            for (; !ds->eof(); ds->next())
                placeFlowing(r_.detail(), BandKind::Detail);
        if (!r_.summary().isEmpty())
            placeFlowing(r_.summary(), BandKind::Summary);
        finishPage();
        fillPageNumbers();
        return std::move(model_);
    }

private:
    Page& page() { return model_.pages.back(); }

    void startPage()
    {
        model_.pages.emplace_back();
        if (model_.pages.size() > 1) {
            // Pages of a list take about as much as the one before.
            const Page& before = model_.pages[model_.pages.size() - 2];
            page().texts.reserve(before.texts.size());
            page().lines.reserve(before.lines.size());
            page().frames.reserve(before.frames.size());
        }
        y_ = r_.margins().top();
        bodyPlaced_ = false;
        placeStacked(r_.pageHeader(), BandKind::PageHeader);
        if (model_.pages.size() == 1)
            placeStacked(r_.title(), BandKind::Title);
        placeStacked(r_.columnHeader(), BandKind::ColumnHeader);
    }

    // The footer keeps its place on the bottom margin: it does not grow.
    void finishPage()
    {
        if (!r_.pageFooter().isEmpty())
            place(lay(r_.pageFooter(), BandKind::PageFooter, false), footerTop_);
    }

    void placeStacked(const Band& band, BandKind kind)
    {
        if (band.isEmpty())
            return;
        placeStacked(lay(band, kind, true));
    }

    void placeStacked(LaidBand laid)
    {
        const double height = laid.height;
        place(std::move(laid), y_);
        y_ += height;
    }

    // A page takes at least one body band even when it does not fit, so a band
    // taller than the page cannot loop forever. The band is laid out, and its
    // texts taken, once, before it is known on which page it lands.
    void placeFlowing(const Band& band, BandKind kind)
    {
        LaidBand laid = lay(band, kind, true);
        if (y_ + laid.height > footerTop_ + kTolerance && bodyPlaced_) {
            finishPage();
            startPage();
        }
        placeStacked(std::move(laid));
        bodyPlaced_ = true;
    }

    LaidBand lay(const Band& band, BandKind kind, bool mayGrow) const
    {
        LaidBand laid;
        laid.texts.reserve(band.elements().size());
        laid.frames.reserve(band.elements().size());
        Growth growth;
        for (const Element& e : band.elements()) {
            switch (e.kind) {
            case Element::Kind::Line:
                laid.lines.push_back({e.line, e.penWidth, kind});
                break;
            case Element::Kind::Frame:
                laid.frames.push_back({e.rect, e.penWidth, kind});
                break;
            default: {
                TextItem t{e.rect, textOf(e), e.style.pointSize, e.style.bold, e.style.align, kind};
                if (e.kind == Element::Kind::PageNumber) {
                    laid.pageNumberTexts.push_back(laid.texts.size());
                } else {
                    const FittedText fit = fitText(t.text, t.pointSize, t.bold, t.rect.size());
                    t.pointSize = fit.pointSize;
                    if (mayGrow && fit.height > t.rect.height() + kTolerance)
                        growth.add(t.rect.bottom(), fit.height - t.rect.height());
                }
                laid.texts.push_back(std::move(t));
                if (e.style.framed)
                    laid.frames.push_back({e.rect, e.penWidth, kind});
                break;
            }
            }
        }
        laid.height = band.height();
        if (!growth.isEmpty()) {
            for (TextItem& t : laid.texts)
                t.rect = growth(t.rect);
            for (LineItem& l : laid.lines)
                l.line = growth(l.line);
            for (FrameItem& f : laid.frames)
                f.rect = growth(f.rect);
            laid.height = growth(laid.height);
        }
        return laid;
    }

    void place(LaidBand laid, double top)
    {
        const QPointF origin(r_.margins().left(), top);
        Page& p = page();
        for (size_t i : laid.pageNumberTexts)
            pageNumbers_.push_back({model_.pages.size() - 1, p.texts.size() + i, laid.texts[i].text});
        for (TextItem& t : laid.texts) {
            t.rect.translate(origin);
            p.texts.push_back(std::move(t));
        }
        for (LineItem& l : laid.lines) {
            l.line.translate(origin);
            p.lines.push_back(l);
        }
        for (FrameItem& f : laid.frames) {
            f.rect.translate(origin);
            p.frames.push_back(f);
        }
    }

    QString textOf(const Element& e) const
    {
        switch (e.kind) {
        case Element::Kind::Label: return e.text;
        case Element::Kind::Field: return fieldText(e);
        case Element::Kind::Computed: return e.compute ? e.compute() : QString();
        case Element::Kind::PageNumber: return e.text;
        case Element::Kind::Date:
            return QString(e.text).replace(QLatin1String("%1"), db::dateText(r_.printDate()));
        default: return {};
        }
    }

    QString fieldText(const Element& e) const
    {
        db::Dataset* ds = e.source ? e.source : r_.dataset();
        if (!ds || !ds->isActive())
            return {};
        const int field = fieldIndex(e, *ds);
        const int row = ds->recNo();
        if (row < 0)
            return {};
        // Blank for NULL, as the grids show it; taken without building the value.
        return ds->displayText(row, field);
    }

    // The element's field in its dataset, found by name once per run: a
    // detail text is taken for every row.
    int fieldIndex(const Element& e, const db::Dataset& ds) const
    {
        const auto [found, isNew] = fieldIndexes_.try_emplace(&e, -1);
        if (isNew)
            found->second = ds.fieldIndex(e.field);
        if (found->second < 0)
            throw std::invalid_argument("report field " + e.field.toStdString() + " is not in dataset "
                                        + ds.name().toStdString());
        return found->second;
    }

    // The page count is known only at the end, so page numbers are filled
    // in, and fitted into their place, last.
    void fillPageNumbers()
    {
        const QString count = QString::number(model_.pageCount());
        for (const PendingPageNumber& p : pageNumbers_) {
            QString text = p.format;
            text.replace(QLatin1String("%1"), QString::number(p.page + 1)).replace(QLatin1String("%2"), count);
            TextItem& t = model_.pages[p.page].texts[p.textIndex];
            t.text = text;
            t.pointSize = fitText(t.text, t.pointSize, t.bold, t.rect.size()).pointSize;
        }
    }

    const Report& r_;
    PageModel model_;
    double y_ = 0;
    double footerTop_ = 0;
    bool bodyPlaced_ = false;
    std::vector<PendingPageNumber> pageNumbers_;
    mutable std::unordered_map<const Element*, int> fieldIndexes_;
};

} // namespace

PageModel render(const Report& report)
{
    return Renderer(report).run();
}

} // namespace report
