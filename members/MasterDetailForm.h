#pragma once

#include "members/BatchRecordForm.h"
#include "platform/ui/DatasetModel.h"

#include <vector>

namespace ui {
class DbGrid;
}

// A batch record form whose records belong to a row of a master list: the
// master grid DBGrid1 lists the master rows, the record grid DBGrid2 the
// records of the master row last clicked, whose key the quick-find box Edit2
// then shows. The master grid is the form's grid; the record grid too stays
// put while a record is added or edited. Closing the form closes both queries.
class MasterDetailForm : public BatchRecordForm {
    Q_OBJECT
public:
    // A click in the master grid: the find box and the record list follow it.
    void DBGrid1CellClick();

    void SetControlStates() override;

    QLineEdit* findBox() const { return Edit2; }

protected:
    struct Design {
        db::Dataset* master;
        QString masterSql;
        db::Dataset* records;
        QString recordsSql; // the records of one master row, its key bound by the key column's name
        QString key;        // the column naming the master row, in both
        std::vector<ui::GridColumn> masterColumns;
        std::vector<ui::GridColumn> recordColumns;
    };

    MasterDetailForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                     Design design);
    ~MasterDetailForm() override;

    ui::DbGrid* masterGrid() const { return DBGrid1; }
    ui::DbGrid* recordGrid() const { return DBGrid2; }
    db::Dataset& master() const { return *design_.master; }

    // The quick-find box Edit2, with label in front of it.
    void addMasterFind(const QString& label, QBoxLayout* into, std::function<void()> onEnter);
    // Reopens the master list (optimistic).
    void openMaster();
    // Reopens the record list (batch-optimistic) on the records of one master
    // key, bound whatever it holds; sql in place of the design's where given.
    void openRecords(const QString& key, const QString& sql = QString());

private:
    Design design_;
    ui::DbGrid* DBGrid1;
    ui::DbGrid* DBGrid2;
    QLineEdit* Edit2 = nullptr;
};
