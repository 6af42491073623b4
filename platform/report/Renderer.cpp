#include "platform/report/Renderer.h"

#include "platform/db/Dataset.h"

#include <stdexcept>

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
    static constexpr double kTolerance = 1e-6;

    Page& page() { return model_.pages.back(); }

    void startPage()
    {
        model_.pages.emplace_back();
        y_ = r_.margins().top();
        bodyPlaced_ = false;
        placeStacked(r_.pageHeader(), BandKind::PageHeader);
        if (model_.pages.size() == 1)
            placeStacked(r_.title(), BandKind::Title);
        placeStacked(r_.columnHeader(), BandKind::ColumnHeader);
    }

    void finishPage() { place(r_.pageFooter(), BandKind::PageFooter, footerTop_); }

    void placeStacked(const Band& band, BandKind kind)
    {
        if (band.isEmpty())
            return;
        place(band, kind, y_);
        y_ += band.height();
    }

    // A page takes at least one body band even when it does not fit, so a band
    // taller than the page cannot loop forever.
    void placeFlowing(const Band& band, BandKind kind)
    {
        if (y_ + band.height() > footerTop_ + kTolerance && bodyPlaced_) {
            finishPage();
            startPage();
        }
        placeStacked(band, kind);
        bodyPlaced_ = true;
    }

    void place(const Band& band, BandKind kind, double top)
    {
        const QPointF origin(r_.margins().left(), top);
        for (const Element& e : band.elements()) {
            switch (e.kind) {
            case Element::Kind::Line:
                page().lines.push_back({e.line.translated(origin), e.penWidth, kind});
                break;
            case Element::Kind::Frame:
                page().frames.push_back({e.rect.translated(origin), e.penWidth, kind});
                break;
            default:
                placeText(e, kind, origin);
                break;
            }
        }
    }

    void placeText(const Element& e, BandKind kind, const QPointF& origin)
    {
        const QRectF rect = e.rect.translated(origin);
        if (e.kind == Element::Kind::PageNumber)
            pageNumbers_.push_back({model_.pages.size() - 1, page().texts.size(), e.text});
        page().texts.push_back({rect, textOf(e), e.style.pointSize, e.style.bold, e.style.align, kind});
        if (e.style.framed)
            page().frames.push_back({rect, e.penWidth, kind});
    }

    QString textOf(const Element& e) const
    {
        switch (e.kind) {
        case Element::Kind::Label: return e.text;
        case Element::Kind::Field: return fieldText(e);
        case Element::Kind::Computed: return e.compute ? e.compute() : QString();
        case Element::Kind::PageNumber: return QString(e.text).replace(QLatin1String("%1"), pageNumberText());
        case Element::Kind::Date:
            return QString(e.text).replace(QLatin1String("%1"), r_.printDate().toString(QStringLiteral("yyyy-MM-dd")));
        default: return {};
        }
    }

    QString pageNumberText() const { return QString::number(model_.pages.size()); }

    QString fieldText(const Element& e) const
    {
        db::Dataset* ds = e.source ? e.source : r_.dataset();
        if (!ds || !ds->isActive())
            return {};
        if (!ds->hasField(e.field))
            throw std::invalid_argument("report field " + e.field.toStdString() + " is not in dataset "
                                        + ds->name().toStdString());
        if (ds->recNo() < 0)
            return {};
        const QVariant v = ds->value(e.field);
        if (!v.isValid() || v.isNull())
            return {};
        return ds->displayText(e.field);
    }

    // The page count is known only at the end, so "%2" is filled in last.
    void fillPageNumbers()
    {
        const QString count = QString::number(model_.pageCount());
        for (const PendingPageNumber& p : pageNumbers_) {
            QString text = p.format;
            text.replace(QLatin1String("%1"), QString::number(p.page + 1)).replace(QLatin1String("%2"), count);
            model_.pages[p.page].texts[p.textIndex].text = text;
        }
    }

    const Report& r_;
    PageModel model_;
    double y_ = 0;
    double footerTop_ = 0;
    bool bodyPlaced_ = false;
    std::vector<PendingPageNumber> pageNumbers_;
};

} // namespace

PageModel render(const Report& report)
{
    return Renderer(report).run();
}

} // namespace report
