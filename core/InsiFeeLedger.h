#pragma once

#include "platform/ui/DatasetModel.h"

#include <vector>

class QDate;
class QLineEdit;
class QWidget;
namespace ui {
class DataSource;
class DbGrid;
}

// Pieces of the forms over the insifee ledger (FrmDataMod->InsiFeeQ): the
// service bills and the shop's other income and expenses.

// The list grid DBGrid1 over InsiFeeQ: whole rows, read-only, these columns.
ui::DbGrid* NewInsiFeeGrid(QWidget* parent, const std::vector<ui::GridColumn>& columns);
// The list grid of service bills: number, date, card, member, item, its
// name and type, the user who wrote it, the amounts due and received.
ui::DbGrid* NewServiceBillGrid(QWidget* parent);

// Before an entry of source's dataset is posted: what was typed into the
// boxes of source, then the summary in noteBox (trimmed; defaultNote when
// blank), the entry's type (gath_type), its day (bill_date at midnight) and
// the current user (oper_code).
void StampInsiFeeEntry(ui::DataSource& source, const QLineEdit& noteBox, const QString& defaultNote,
                       const QString& type, const QDate& day);

// Opens InsiFeeQ on no entry at all: a list that shows nothing until asked.
void OpenEmptyInsiFeeList();
// Closes InsiFeeQ as a form over it closes; a failure is of no concern to
// the closing form.
void CloseInsiFeeList();
