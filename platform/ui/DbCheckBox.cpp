#include "platform/ui/DbCheckBox.h"

#include "platform/ui/Prompt.h"

namespace ui {

DbCheckBox::DbCheckBox(QWidget* parent)
    : QCheckBox(parent),
      link_(this, {[this] { reload(); }, [this](bool w) { readOnly_ = link_.source() && !w; }, [] {}})
{
    // Ticked by the user or by the form alike: while editing, the field follows.
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (!loading_)
            runGuarded(this, [&] { link_.write(checked); });
    });
}

DbCheckBox::DbCheckBox(const QString& text, DataSource* source, const QString& field, QWidget* parent)
    : DbCheckBox(parent)
{
    setText(text);
    bind(source, field);
}

void DbCheckBox::bind(DataSource* source, const QString& field)
{
    link_.bind(source, field);
}

void DbCheckBox::nextCheckState()
{
    if (!readOnly_)
        QCheckBox::nextCheckState();
}

void DbCheckBox::reload()
{
    if (!link_.source())
        return;
    loading_ = true;
    setChecked(db::asBool(link_.value()));
    loading_ = false;
}

} // namespace ui
