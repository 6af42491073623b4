#pragma once

#include "core/FormFrame.h"

#include "platform/ui/DatasetModel.h"

#include <functional>
#include <vector>

class QPushButton;
namespace ui {
class DataSource;
class DbGrid;
}

// A record form over a batch-optimistic query whose record is typed into
// boxes bound through source(): added and edited records wait until the save
// writes them in one transaction, while a confirmed deletion is written at
// once. It has the seven standard buttons, print hidden. Closing the form
// closes the query (FormDestroy), so changes not yet saved are dropped.
class BatchRecordForm : public RecordForm {
    Q_OBJECT
public:
    // After the confirmation (messages 1016 and 1017) the record shown leaves the table.
    void cmd_deleClick() override;

protected:
    BatchRecordForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                    db::Dataset& records);
    ~BatchRecordForm() override;

    ui::DataSource* source() const { return source_; }

    // cmd_deleClick's work: nothing while the key box is blank or when the
    // confirmation is cancelled; true when the record left the table.
    bool deleteShownRecord();
    // The quick-find box boxName, with label in front of it inside the group.
    QLineEdit* addLabelledQuickFind(const QString& boxName, const QString& label, QBoxLayout* into,
                                    std::function<void()> onEnter);
    // A read-only grid over dataset that selects whole rows.
    ui::DbGrid* makeRowGrid(const QString& objectName, db::Dataset* dataset, std::vector<ui::GridColumn> columns);
    // A narrow "..." button that opens a picker.
    QPushButton* addPickerButton(const QString& objectName, QWidget* parent, std::function<void()> onClick);

private:
    void FormDestroy();

    db::Dataset& records_;
    ui::DataSource* source_;
};
