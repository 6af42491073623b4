#include "platform/ui/DbLabel.h"

namespace ui {

DbLabel::DbLabel(QWidget* parent)
    : QLabel(parent),
      link_(this, {[this] { setText(link_.displayText()); }, [](bool) {}, [] {}})
{
}

DbLabel::DbLabel(DataSource* source, const QString& field, QWidget* parent)
    : DbLabel(parent)
{
    bind(source, field);
}

void DbLabel::bind(DataSource* source, const QString& field)
{
    link_.bind(source, field);
}

} // namespace ui
