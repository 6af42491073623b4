#include "platform/report/Report.h"

#include <stdexcept>

namespace report {

Element* Report::element(const QString& name)
{
    for (Band* band : {&title_, &pageHeader_, &columnHeader_, &detail_, &summary_, &pageFooter_})
        if (Element* e = band->find(name))
            return e;
    return nullptr;
}

const Element* Report::element(const QString& name) const
{
    return const_cast<Report*>(this)->element(name);
}

Element& Report::label(const QString& name) const
{
    // A misspelt name would otherwise print the design text silently.
    Element* e = const_cast<Report*>(this)->element(name);
    if (!e || e->kind != Element::Kind::Label)
        throw std::invalid_argument("report has no label named " + name.toStdString());
    return *e;
}

void Report::setText(const QString& name, const QString& text)
{
    label(name).text = text;
}

QString Report::text(const QString& name) const
{
    return label(name).text;
}

} // namespace report
