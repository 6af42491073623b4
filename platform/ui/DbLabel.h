#pragma once

#include "platform/ui/FieldLink.h"

#include <QLabel>

namespace ui {

// Shows one field of the current record in its display format; never edits.
class DbLabel : public QLabel {
    Q_OBJECT
public:
    explicit DbLabel(QWidget* parent = nullptr);
    DbLabel(DataSource* source, const QString& field, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& field);
    DataSource* dataSource() const { return link_.source(); }
    QString field() const { return link_.field(); }

private:
    FieldLink link_;
};

} // namespace ui
