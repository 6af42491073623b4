#include "platform/report/Band.h"

#include <algorithm>

namespace report {

double Element::bottom() const
{
    if (kind == Kind::Line)
        return std::max(line.y1(), line.y2());
    return rect.bottom();
}

double Band::height() const
{
    double h = height_;
    for (const Element& e : elements_)
        h = std::max(h, e.bottom());
    return h;
}

Element& Band::add(Element e)
{
    elements_.push_back(std::move(e));
    return elements_.back();
}

Element& Band::addLabel(const QString& name, const QRectF& rect, const QString& text, const TextStyle& style)
{
    Element e;
    e.kind = Element::Kind::Label;
    e.name = name;
    e.rect = rect;
    e.text = text;
    e.style = style;
    return add(std::move(e));
}

Element& Band::addField(const QRectF& rect, const QString& field, const TextStyle& style, db::Dataset* source)
{
    Element e;
    e.kind = Element::Kind::Field;
    e.rect = rect;
    e.field = field;
    e.style = style;
    e.source = source;
    return add(std::move(e));
}

Element& Band::addComputed(const QRectF& rect, std::function<QString()> compute, const TextStyle& style)
{
    Element e;
    e.kind = Element::Kind::Computed;
    e.rect = rect;
    e.compute = std::move(compute);
    e.style = style;
    return add(std::move(e));
}

Element& Band::addPageNumber(const QRectF& rect, const QString& format, const TextStyle& style)
{
    Element e;
    e.kind = Element::Kind::PageNumber;
    e.rect = rect;
    e.text = format;
    e.style = style;
    return add(std::move(e));
}

Element& Band::addDate(const QRectF& rect, const QString& format, const TextStyle& style)
{
    Element e;
    e.kind = Element::Kind::Date;
    e.rect = rect;
    e.text = format;
    e.style = style;
    return add(std::move(e));
}

Element& Band::addLine(const QLineF& line, double penWidth)
{
    Element e;
    e.kind = Element::Kind::Line;
    e.line = line;
    e.penWidth = penWidth;
    return add(std::move(e));
}

Element& Band::addFrame(const QRectF& rect, double penWidth)
{
    Element e;
    e.kind = Element::Kind::Frame;
    e.rect = rect;
    e.penWidth = penWidth;
    return add(std::move(e));
}

Element* Band::find(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    auto it = std::find_if(elements_.begin(), elements_.end(), [&](const Element& e) { return e.name == name; });
    return it == elements_.end() ? nullptr : &*it;
}

const Element* Band::find(const QString& name) const
{
    return const_cast<Band*>(this)->find(name);
}

} // namespace report
