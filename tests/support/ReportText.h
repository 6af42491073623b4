#pragma once

#include "platform/report/PageModel.h"
#include "platform/report/TextFit.h"

#include <gtest/gtest.h>

// Whether a printed text comes out whole: all of it on the lines it is broken
// into, each line within its rectangle's width at the item's size, and
// several lines within its height.
inline ::testing::AssertionResult printsWhole(const report::TextItem& t)
{
    constexpr double kTolerance = 1e-6;
    const QStringList lines = report::linesOf(t);
    if (lines.join(QString()) != t.text)
        return ::testing::AssertionFailure() << "\"" << t.text.toStdString() << "\" prints as \""
                                             << lines.join('|').toStdString() << "\"";
    const double room = t.rect.width() - 2 * report::kTextInsetMm;
    for (const QString& line : lines)
        if (report::textWidthMm(line, t.pointSize, t.bold) > room + kTolerance)
            return ::testing::AssertionFailure() << "\"" << line.toStdString() << "\" at " << t.pointSize
                                                 << " pt is wider than " << room << " mm";
    const double height = lines.size() * report::lineHeightMm(t.pointSize, t.bold);
    if (lines.size() > 1 && height > t.rect.height() + kTolerance)
        return ::testing::AssertionFailure() << lines.size() << " lines of \"" << t.text.toStdString() << "\" at "
                                             << t.pointSize << " pt need " << height << " mm, not "
                                             << t.rect.height();
    return ::testing::AssertionSuccess();
}

// Whether a text stands exactly across a column, whose heading is given, and
// is aligned as the column's values are.
inline ::testing::AssertionResult standsUnder(const report::TextItem* text, const report::TextItem* heading,
                                              report::Align align)
{
    constexpr double kTolerance = 0.01;
    if (!text || !heading)
        return ::testing::AssertionFailure() << "text or heading not printed";
    if (std::abs(text->rect.left() - heading->rect.left()) > kTolerance
        || std::abs(text->rect.right() - heading->rect.right()) > kTolerance)
        return ::testing::AssertionFailure()
               << "\"" << text->text.toStdString() << "\" spans " << text->rect.left() << ".." << text->rect.right()
               << " mm, its column \"" << heading->text.toStdString() << "\" " << heading->rect.left() << ".."
               << heading->rect.right();
    if (text->align != align)
        return ::testing::AssertionFailure() << "\"" << text->text.toStdString() << "\" is not aligned as its column";
    return ::testing::AssertionSuccess();
}

// The first text of one band equal to text, or nullptr.
inline const report::TextItem* findIn(const report::Page& page, report::BandKind band, const QString& text)
{
    for (const report::TextItem& t : page.texts)
        if (t.band == band && t.text == text)
            return &t;
    return nullptr;
}

// Whether the total printed in the page's summary stands under the column
// whose heading is printed in headingBand, right-aligned as amounts are.
inline ::testing::AssertionResult totalStandsUnder(const report::Page& page, const QString& total,
                                                   report::BandKind headingBand, const QString& heading)
{
    return standsUnder(findIn(page, report::BandKind::Summary, total), findIn(page, headingBand, heading),
                       report::Align::Right);
}
