#include "platform/ui/EntryRefusal.h"

#include "platform/db/Dataset.h"
#include "platform/db/Value.h"
#include "platform/ui/ProgramLook.h"
#include "platform/ui/Prompt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QWidget>

namespace ui {

namespace {

// "设 计 师：" or "员工编码:" as a message names it: "设计师", "员工编码".
QString plainLabel(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    while (text.endsWith(u':') || text.endsWith(u'：'))
        text.chop(1);
    return text;
}

} // namespace

QLabel* labelFor(QWidget* box, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent ? parent : box->parentWidget());
    label->setBuddy(box);
    return label;
}

QString labelOf(const QWidget* box)
{
    if (!box)
        return {};
    for (const QLabel* label : box->window()->findChildren<QLabel*>())
        if (label->buddy() == box)
            return plainLabel(label->text());
    return plainLabel(box->accessibleName());
}

QString refusalText(const QString& label, const QString& reason)
{
    return label.isEmpty() ? reason : label + u'：' + reason;
}

QString tooLongText(const QString& text, int limit)
{
    return QStringLiteral("“%1”超过了 %2 个字").arg(db::messageExcerpt(text)).arg(limit);
}

QString outOfRangeText(const QString& text)
{
    return QStringLiteral("“%1”超出了可存的范围").arg(db::messageExcerpt(text));
}

QString notWholeNumberText(const QString& text)
{
    return QStringLiteral("“%1”不是有效的整数").arg(db::messageExcerpt(text));
}

std::optional<QString> fieldRefusal(const db::FieldDef& field, const QString& text, int limit)
{
    QVariant value;
    try {
        value = db::coerce(text, field.type);
    } catch (const db::Error& e) {
        return e.message();
    }
    if (field.type == db::FieldType::Text && limit > 0 && db::characterCount(text) > limit)
        return tooLongText(text, limit);
    if (value.typeId() == QMetaType::LongLong && !db::fitsWholeNumberColumn(value.toLongLong(), field.type))
        return outOfRangeText(text);
    return std::nullopt;
}

RefusedEntry::RefusedEntry(QWidget* box, const QString& reason)
    : db::Error(db::Error::Kind::Usage, refusalText(labelOf(box), reason)), box_(box)
{
}

void focusToCorrect(QWidget* box)
{
    box->setFocus();
    auto* text = qobject_cast<QLineEdit*>(box);
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->isEditable())
        text = combo->lineEdit();
    if (text)
        text->selectAll();
}

void showRefusal(QWidget* parent, const RefusedEntry& refused)
{
    showError(parent, refused.message());
    // A box the form fills itself (an amount due) is not one to correct.
    if (QWidget* box = refused.box(); box && box->isEnabled() && box->isVisible() && !isReadOnlyBox(box))
        focusToCorrect(box);
}

} // namespace ui
