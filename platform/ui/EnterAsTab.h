#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace ui {

// Makes Enter move the focus like Tab in every window. While an instance
// lives it filters the application's events: an Enter key press is first
// delivered as usual (the focused control's own Enter handling runs: a line
// edit's returnPressed, a dialog's default button, a grid's cell editor), and
// then a Tab key press goes to whatever control has the focus afterwards, in
// the same window, so the focus moves on (or, in an editable grid, to the
// next cell).
//
// In a grid's cell editor the Tab follows once the grid has taken the typed
// value (after the events already queued), so Enter there commits the cell
// and moves to the next one.
//
// Left alone: multi-line text editors, where Enter starts a new line, and any
// widget whose property "enterAsTab" is false. A control marked with
// passOverOnEnter, and a read-only box, is reached with Tab but skipped by the
// Tab that Enter presses, so a button beside a box, or a name shown beside a
// code, does not stop the typing in a form. Enter leaves a date box at once,
// where Tab steps through its year, month and day first. Enter that closes its window
// (a dialog's default button, a combo box's open list) moves no focus, and
// neither does Enter whose handling opened a box or another modal window:
// that window took the Tab, and the focus stays where the handler left it
// (a wrong password puts it back in the user name box).
class EnterAsTab : public QObject {
    Q_OBJECT
public:
    // Installs the filter on the application.
    explicit EnterAsTab(QObject* parent = nullptr);
    ~EnterAsTab() override;

    // Enter moves the focus past w, Tab still stops on it.
    static void passOverOnEnter(QWidget* w);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool isEnter(const QKeyEvent* e);
    static bool wantsOwnEnter(const QWidget* w);
    static bool isCellEditor(const QWidget* w);
    // Sends Tab to the focused control if it is still in window, and window is still shown.
    static void pressTab(QWidget* window);
    // Boxes and modal windows shown so far: one that came up while an Enter
    // was handled means the Tab is not pressed.
    quint64 windowsOpened() const;

    QEvent* delivering_ = nullptr;  // the Enter now being delivered by this filter
    quint64 modalsShown_ = 0;
};

} // namespace ui
