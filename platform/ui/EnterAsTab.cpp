#include "platform/ui/EnterAsTab.h"

#include "platform/ui/ProgramLook.h"
#include "platform/ui/Prompt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace ui {

EnterAsTab::EnterAsTab(QObject* parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

EnterAsTab::~EnterAsTab()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool EnterAsTab::isEnter(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
}

bool EnterAsTab::wantsOwnEnter(const QWidget* w)
{
    const QVariant own = w->property("enterAsTab");
    if (own.isValid() && !own.toBool())
        return true;
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w))
        return !plain->isReadOnly();
    if (const auto* rich = qobject_cast<const QTextEdit*>(w))
        return !rich->isReadOnly();
    return false;
}

namespace {

const char* const kPassedOverByEnter = "enterPassesOver";

bool passedOverByEnter(const QWidget* w)
{
    return w->property(kPassedOverByEnter).toBool() || isReadOnlyBox(w);
}

// Tab in a date box steps through its year, month and day; from the last
// of them it leaves the box, as Enter should at once.
void leaveDateBoxOnTab(QWidget* w)
{
    auto* date = qobject_cast<QDateTimeEdit*>(w);
    if (!date && w->parentWidget())
        date = qobject_cast<QDateTimeEdit*>(w->parentWidget());
    if (date && date->sectionCount() > 0)
        date->setCurrentSectionIndex(date->sectionCount() - 1);
}

} // namespace

void EnterAsTab::passOverOnEnter(QWidget* w)
{
    w->setProperty(kPassedOverByEnter, true);
}

quint64 EnterAsTab::windowsOpened() const
{
    return promptCount() + modalsShown_;
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        const auto* shown = static_cast<QWidget*>(watched);
        if (shown->isWindow() && shown->isModal())
            ++modalsShown_;
        return false;
    }
    if (event->type() != QEvent::KeyPress || event == delivering_ || !watched->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* target = static_cast<QWidget*>(watched);
    // Key events travel up to the parents of the focused control; act only
    // where they start, and leave editors that take Enter as a new line.
    if (!isEnter(key) || target != QApplication::focusWidget() || wantsOwnEnter(target))
        return false;
    // Text boxes inside editors (a grid's cell editor, an editable combo box)
    // carry the outer widget's wish.
    for (const QWidget* p = target->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (wantsOwnEnter(p))
            return false;

    const QPointer<QWidget> window = target->window();
    const bool cellEditor = isCellEditor(target);
    const quint64 opened = windowsOpened();
    QEvent* const outer = delivering_;
    delivering_ = event;
    QApplication::sendEvent(target, event);
    delivering_ = outer;

    // A grid commits its cell editor on Enter by a queued call; the Tab waits
    // for it (and for the error box a refused value brings) and then moves
    // the grid to the next cell.
    if (cellEditor) {
        QMetaObject::invokeMethod(this, [this, window, opened] {
            if (windowsOpened() == opened)
                pressTab(window);
        }, Qt::QueuedConnection);
    } else if (windowsOpened() == opened) {
        pressTab(window);
    }
    return true;
}

void EnterAsTab::pressTab(QWidget* window)
{
    QWidget* now = QApplication::focusWidget();
    if (!window || !window->isVisible() || !now || now->window() != window)
        return;
    leaveDateBoxOnTab(now);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(now, &tab);
    // On past the controls Enter passes over (a window of only such controls
    // keeps the focus on the first one reached).
    const QWidget* firstPassed = nullptr;
    while ((now = QApplication::focusWidget()) && now->window() == window && passedOverByEnter(now)
           && now != firstPassed) {
        if (!firstPassed)
            firstPassed = now;
        QKeyEvent next(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(now, &next);
    }
}

bool EnterAsTab::isCellEditor(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        if (const auto* view = qobject_cast<const QAbstractItemView*>(p->parentWidget()))
            return p == view->viewport();
    }
    return false;
}

} // namespace ui
