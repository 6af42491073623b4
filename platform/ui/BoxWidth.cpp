#include "platform/ui/BoxWidth.h"

#include <QLineEdit>
#include <QStyle>

namespace ui {

namespace {

// QLineEdit keeps this much room between its text and its frame on each side.
constexpr int kLineEditMargin = 2;

} // namespace

int widthToShow(const QLineEdit* box, const QString& sample)
{
    const int frame = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
    const QMargins text = box->textMargins();
    const QMargins contents = box->contentsMargins();
    return box->fontMetrics().horizontalAdvance(sample) + 2 * kLineEditMargin + 2 * frame + text.left()
           + text.right() + contents.left() + contents.right();
}

void keepWideEnoughFor(QLineEdit* box, const QString& sample)
{
    box->setMinimumWidth(widthToShow(box, sample));
}

} // namespace ui
