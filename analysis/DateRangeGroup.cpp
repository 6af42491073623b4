#include "analysis/DateRangeGroup.h"

#include "platform/ui/DbDatePicker.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

DateRangeGroup::DateRangeGroup(QWidget* parent, const QString& fromCaption, const QString& toCaption)
    : group(new QGroupBox(QStringLiteral("日期范围"), parent)),
      row(new QHBoxLayout(group)),
      from(new ui::DbDatePicker(group)),
      to(new ui::DbDatePicker(group))
{
    from->setObjectName(QStringLiteral("DP1"));
    to->setObjectName(QStringLiteral("DP2"));
    row->addWidget(new QLabel(fromCaption, group));
    row->addWidget(from);
    row->addWidget(new QLabel(toCaption, group));
    row->addWidget(to);
}
