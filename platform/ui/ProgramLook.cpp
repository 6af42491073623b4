#include "platform/ui/ProgramLook.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTranslator>

namespace ui {

bool isReadOnlyBox(const QWidget* w)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        return spin->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->isEditable() && combo->lineEdit() && combo->lineEdit()->isReadOnly();
    return false;
}

namespace {

// The option with the box's inside painted like the window around it.
template <typename Option>
Option onWindowBackground(const QStyleOption* option)
{
    Option copy(*qstyleoption_cast<const Option*>(option));
    copy.palette.setBrush(QPalette::Base, copy.palette.window());
    return copy;
}

// QLineEdit leaves the cursor after a text set by the program, which
// scrolls a long value to its end. While a box is not being typed in, its
// cursor stands at the start. When the keyboard or the program brings the
// focus to a box that takes typing, its value is wholly selected: what is
// typed replaces it, the arrow keys edit it in place; a click puts the cursor
// where it points. A spin box's own edit is left alone: its cursor chooses
// the part the arrows step.
class StartOfText : public QObject {
public:
    void watch(QWidget* widget)
    {
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
                return;
            connect(edit, &QLineEdit::textChanged, this, &StartOfText::textChanged, Qt::UniqueConnection);
            edit->installEventFilter(this);
            if (!edit->hasFocus())
                edit->setCursorPosition(0);
        } else if (qobject_cast<QComboBox*>(widget)) {
            // An editable combo box takes the focus for its edit.
            widget->installEventFilter(this);
        }
    }

    void forget(QWidget* widget)
    {
        widget->removeEventFilter(this);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            disconnect(edit, &QLineEdit::textChanged, this, &StartOfText::textChanged);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
            return false;
        QLineEdit* edit = qobject_cast<QLineEdit*>(watched);
        if (auto* combo = qobject_cast<QComboBox*>(watched))
            edit = combo->lineEdit();
        if (!edit)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a popup menu only borrows the focus.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (event->type() == QEvent::FocusOut)
            edit->setCursorPosition(0);
        else if (reason != Qt::MouseFocusReason && !edit->isReadOnly())
            edit->selectAll();
        return false;
    }

private:
    // Text the program put in (setText clears the modified flag that typing sets).
    void textChanged()
    {
        auto* edit = qobject_cast<QLineEdit*>(sender());
        if (edit && !edit->isModified() && !edit->hasFocus())
            edit->setCursorPosition(0);
    }
};

// Fusion, the same on every desktop, with read-only boxes marked, the start
// of a value kept in view and passwords hidden behind "*".
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_PanelLineEdit && isReadOnlyBox(widget)
            && qstyleoption_cast<const QStyleOptionFrame*>(option)) {
            const auto copy = onWindowBackground<QStyleOptionFrame>(option);
            QProxyStyle::drawPrimitive(element, &copy, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    // The palette goes into the option before Fusion caches the drawn control.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        if (control == CC_SpinBox && isReadOnlyBox(widget) && qstyleoption_cast<const QStyleOptionSpinBox*>(option)) {
            const auto copy = onWindowBackground<QStyleOptionSpinBox>(option);
            QProxyStyle::drawComplexControl(control, &copy, painter, widget);
            return;
        }
        if (control == CC_ComboBox && isReadOnlyBox(widget) && qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            const auto copy = onWindowBackground<QStyleOptionComboBox>(option);
            QProxyStyle::drawComplexControl(control, &copy, painter, widget);
            return;
        }
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

    // Every password box shows a "*" for each character typed.
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void polish(QWidget* widget) override
    {
        QProxyStyle::polish(widget);
        startKeeper_.watch(widget);
    }

    void unpolish(QWidget* widget) override
    {
        startKeeper_.forget(widget);
        QProxyStyle::unpolish(widget);
    }

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

private:
    StartOfText startKeeper_;
};

// The widgets that show a value or its caption: while disabled (a record
// that is only browsed) their text keeps the contrast it has when enabled,
// on the window's background like a read-only box. Buttons, menus and tool
// buttons keep the faint text that says they cannot be used now.
void keepValuesReadableWhenDisabled()
{
    QPalette palette = QApplication::palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setBrush(QPalette::Disabled, role, palette.brush(QPalette::Active, role));
    palette.setBrush(QPalette::Disabled, QPalette::Base, palette.brush(QPalette::Active, QPalette::Window));
    for (const char* className : {"QLineEdit", "QAbstractSpinBox", "QComboBox", "QTextEdit", "QPlainTextEdit",
                                  "QAbstractItemView", "QLabel", "QCheckBox", "QRadioButton", "QGroupBox"})
        QApplication::setPalette(palette, className);
}

void loadQtTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator; // Qt's English texts, rather than none
}

} // namespace

void applyProgramLook()
{
    QApplication::setStyle(new ProgramStyle);
    keepValuesReadableWhenDisabled();
    // The one font of the program: other CJK fonts pick other glyph shapes.
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    loadQtTranslations();
}

} // namespace ui
