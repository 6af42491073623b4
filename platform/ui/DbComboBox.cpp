#include "platform/ui/DbComboBox.h"

#include "platform/ui/CharacterLimit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Prompt.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <algorithm>
#include <utility>

namespace ui {

namespace {

// Where the cursor and the selection of a line stand, and whether it was
// typed in: kept across a change of its text.
class LinePlace {
public:
    explicit LinePlace(const QLineEdit& line)
        : cursor_(line.cursorPosition()),
          selectionStart_(line.selectionStart()),
          selectionLength_(int(line.selectedText().size())),
          modified_(line.isModified())
    {
    }

    void restore(QLineEdit& line) const
    {
        if (selectionLength_ == 0)
            line.setCursorPosition(cursor_);
        else if (cursor_ == selectionStart_) // selected leftwards
            line.setSelection(selectionStart_ + selectionLength_, -selectionLength_);
        else
            line.setSelection(selectionStart_, selectionLength_);
        line.setModified(modified_);
    }

private:
    int cursor_;
    int selectionStart_;
    int selectionLength_;
    bool modified_;
};

} // namespace

// The items completion may offer: those within the box's limit. A longer
// one is refused when chosen from the list; completed, it would be cut.
class DbComboBox::FittingItems : public QSortFilterProxyModel {
public:
    explicit FittingItems(QObject* parent) : QSortFilterProxyModel(parent) {}

    void setLimit(int limit)
    {
        if (limit == limit_)
            return;
        limit_ = limit;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        return limit_ <= 0 || db::characterCount(sourceModel()->index(row, 0, parent).data().toString()) <= limit_;
    }

private:
    int limit_ = 0;
};

DbComboBox::DbComboBox(QWidget* parent)
    : QComboBox(parent),
      link_(this, {[this] { reload(); }, [this](bool w) { setReadOnly(!w); }, [this] { commit(); }})
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    if (QCompleter* completion = completer()) {
        fitting_ = new FittingItems(this);
        fitting_->setSourceModel(model());
        completion->setModel(fitting_);
    }
    // textEdited and activated come only from the user, never from code.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
        markDirty();
        emit textTyped(t);
    });
    // A combo box makes its first item current when items come into an empty
    // one; a filled list must not replace the text shown.
    connect(model(), &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        textBeforeFill_ = currentIndex() < 0 ? std::optional<QString>(currentText()) : std::nullopt;
    });
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] {
        if (textBeforeFill_) {
            const bool wasDirty = dirty_;
            setText(*textBeforeFill_);
            dirty_ = wasDirty;
        }
        textBeforeFill_.reset();
    });
    connect(this, &QComboBox::activated, this, [this](int i) {
        // An item the field cannot hold (one longer than the box takes was
        // cut on its way in) is refused, not written cut.
        if (const std::optional<QString> reason = link_.canWrite() ? link_.refusal(itemText(i)) : std::nullopt) {
            showError(this, refusalText(labelOf(this), *reason));
            reload();
            return;
        }
        markDirty();
        runGuarded(this, [this] { commit(); });
        emit itemChosen(i);
    });
}

DbComboBox::DbComboBox(DataSource* source, const QString& field, QWidget* parent)
    : DbComboBox(parent)
{
    bind(source, field);
}

void DbComboBox::bind(DataSource* source, const QString& field)
{
    link_.bind(source, field);
}

void DbComboBox::setText(const QString& text)
{
    loading_ = true;
    const int i = findText(text);
    if (i >= 0)
        setCurrentIndex(i);
    else
        setCurrentIndex(-1);
    setEditText(text);
    loading_ = false;
    // Text put in by the form while editing is the field's new value, as typed text would be.
    if (link_.canWrite())
        dirty_ = true;
}

void DbComboBox::markDirty()
{
    if (!loading_ && link_.canWrite())
        dirty_ = true;
}

void DbComboBox::commit()
{
    if (!dirty_ || !link_.canWrite())
        return;
    link_.enter(currentText());
    dirty_ = false;
}

void DbComboBox::reload()
{
    if (!link_.source())
        return;
    const QString stored = link_.editText();
    // As a text box does: no more characters than the field takes, a value
    // stored before shown whole all the same.
    const int limit = link_.characterLimit();
    if (limit > 0 || characterLimit(lineEdit()) > 0)
        limitCharactersShowing(lineEdit(), limit, stored);
    if (fitting_)
        fitting_->setLimit(limit);
    setText(stored);
    dirty_ = false;
}

void DbComboBox::setReadOnly(bool on)
{
    readOnly_ = on && link_.source();
    lineEdit()->setReadOnly(readOnly_);
}

void DbComboBox::showPopup()
{
    if (readOnly_)
        return;
    fillNow();
    QComboBox::showPopup();
}

void DbComboBox::fillOnFirstUse(std::function<void()> fill)
{
    if (!pendingFill_) {
        installEventFilter(this);
        lineEdit()->installEventFilter(this);
    }
    pendingFill_ = std::move(fill);
}

void DbComboBox::fillNow()
{
    if (!pendingFill_)
        return;
    const std::function<void()> fill = std::exchange(pendingFill_, {});
    removeEventFilter(this);
    lineEdit()->removeEventFilter(this);
    // Items coming into an empty list put its first one in the line for a
    // moment: what the user has there is put back as it was.
    const QString text = currentText();
    const LinePlace place(*lineEdit());
    const bool wasDirty = dirty_;
    fill();
    if (currentText() != text)
        setText(text);
    dirty_ = wasDirty;
    place.restore(*lineEdit());
}

bool DbComboBox::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
        fillNow();
        break;
    default:
        break;
    }
    return QComboBox::eventFilter(watched, e);
}

void DbComboBox::keyPressEvent(QKeyEvent* e)
{
    // Keys that would choose another item are ignored while read-only.
    static const int kChoosingKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
    if (readOnly_ && std::find(std::begin(kChoosingKeys), std::end(kChoosingKeys), e->key()) != std::end(kChoosingKeys)) {
        e->accept();
        return;
    }
    QComboBox::keyPressEvent(e);
}

void DbComboBox::wheelEvent(QWheelEvent* e)
{
    if (readOnly_) {
        e->ignore();
        return;
    }
    QComboBox::wheelEvent(e);
}

void DbComboBox::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    // Choosing from the open list takes the focus away only for a moment.
    if (view()->isVisible())
        return;
    runGuarded(this, [this] { commit(); });
}

} // namespace ui
