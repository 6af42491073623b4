#pragma once

#include <QString>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

// One function position: the index of every rights string, and where the
// function appears in the main window.
struct FunctionPosition {
    int position;          // 1 to 38: character `position` of each rights string
    QString function;      // caption in the users and rights form
    QString formClass;     // the form it opens
    QString menuItem;      // objectName of its menu item
    QString menuCaption;   // the menu item's caption
};

// The 38 positions in order; position k is element k-1.
const std::vector<FunctionPosition>& FunctionPositions();
const FunctionPosition& FunctionAt(int position);

// Creates the form of a position with the main window as owner. Each
// subsystem registers the forms it has built; app/ wires them at start.
using FormFactory = std::function<QDialog*(QWidget* owner)>;
void RegisterForm(int position, FormFactory factory);
bool HasForm(int position);

// The one rule for opening a function: create the form if none is open for
// the position, show it modally, destroy it when it returns. A position whose
// form is not built yet says so. Returns the dialog's result (0 when none ran).
int OpenFunction(int position, QWidget* owner);
