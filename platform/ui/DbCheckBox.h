#pragma once

#include "platform/ui/FieldLink.h"

#include <QCheckBox>

namespace ui {

// A check box bound to a boolean field: ticked stores true, cleared false,
// NULL shows cleared. Ticking it (by a click or by code) writes the field at
// once while the dataset is editing; otherwise clicks change nothing.
class DbCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DbCheckBox(QWidget* parent = nullptr);
    DbCheckBox(const QString& text, DataSource* source, const QString& field, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& field);
    DataSource* dataSource() const { return link_.source(); }
    QString field() const { return link_.field(); }
    bool isReadOnly() const { return readOnly_; }

protected:
    void nextCheckState() override;

private:
    void reload();

    FieldLink link_;
    bool readOnly_ = false;
    bool loading_ = false;
};

} // namespace ui
