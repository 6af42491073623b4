#include "platform/report/PageModel.h"

#include <algorithm>

namespace report {

QStringList Page::textList() const
{
    QStringList out;
    for (const TextItem& t : texts)
        out << t.text;
    return out;
}

const TextItem* Page::findText(const QString& text) const
{
    auto it = std::find_if(texts.begin(), texts.end(), [&](const TextItem& t) { return t.text == text; });
    return it == texts.end() ? nullptr : &*it;
}

int Page::countText(const QString& text) const
{
    return int(std::count_if(texts.begin(), texts.end(), [&](const TextItem& t) { return t.text == text; }));
}

QStringList Page::textsOf(BandKind band) const
{
    QStringList out;
    for (const TextItem& t : texts)
        if (t.band == band)
            out << t.text;
    return out;
}

namespace {

QString mm(double v)
{
    return QString::number(v, 'f', 1);
}

QString rectText(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(mm(r.x()), mm(r.y()), mm(r.width()), mm(r.height()));
}

QString alignText(Align a)
{
    switch (a) {
    case Align::Left: return QStringLiteral("left");
    case Align::Center: return QStringLiteral("center");
    case Align::Right: return QStringLiteral("right");
    }
    return {};
}

} // namespace

QString toText(const PageModel& model)
{
    QString out = QStringLiteral("paper %1x%2 margins %3,%4,%5,%6\n")
                      .arg(mm(model.paperSize.width()), mm(model.paperSize.height()), mm(model.margins.left()),
                           mm(model.margins.top()), mm(model.margins.right()), mm(model.margins.bottom()));
    for (int p = 0; p < model.pageCount(); ++p) {
        const Page& page = model.pages[size_t(p)];
        out += QStringLiteral("page %1\n").arg(p + 1);
        for (const TextItem& t : page.texts)
            out += QStringLiteral("  text %1 %2pt%3 %4 \"%5\"\n")
                       .arg(rectText(t.rect), QString::number(t.pointSize), t.bold ? QStringLiteral(" bold") : QString(),
                            alignText(t.align), t.text);
        for (const LineItem& l : page.lines)
            out += QStringLiteral("  line %1,%2 - %3,%4\n")
                       .arg(mm(l.line.x1()), mm(l.line.y1()), mm(l.line.x2()), mm(l.line.y2()));
        for (const FrameItem& f : page.frames)
            out += QStringLiteral("  frame %1\n").arg(rectText(f.rect));
    }
    return out;
}

} // namespace report
