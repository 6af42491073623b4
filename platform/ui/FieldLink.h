#pragma once

#include "platform/ui/DataSource.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class QWidget;

namespace ui {

// The binding of one data-aware widget to one field of a data source; the
// widget supplies what to do when its field must be shown again, when it may
// or may not be changed any more, and when its unwritten text is wanted.
class FieldLink {
public:
    struct Hooks {
        std::function<void()> reload;                // show the field's current value
        std::function<void(bool writable)> writable; // may the user change the value now
        std::function<void()> flush;                 // write unwritten text (may throw)
    };

    FieldLink(QWidget* owner, Hooks hooks);
    ~FieldLink();
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    // Binds to field of source (nullptr unbinds) and reloads.
    void bind(DataSource* source, const QString& field);
    DataSource* source() const { return source_; }
    QString field() const { return field_; }
    db::Dataset* dataset() const;

    // -1 when unbound or the dataset has no such field.
    int fieldIndex() const;
    const db::FieldDef* fieldDef() const;
    // True when there is a current record with this field to show.
    bool hasValue() const;
    // True when the field may be written now: editing, and the field is not read-only.
    bool canWrite() const;
    // The most characters the field takes (see fieldCharacterLimit); 0: no limit.
    int characterLimit() const;
    // Why the field cannot take text (see fieldRefusal); nothing when it can,
    // and for text the field holds already.
    std::optional<QString> refusal(const QString& text) const;

    QVariant value() const;        // NULL without a value
    QString displayText() const;   // the field's display format; "" without a value
    QString editText() const;      // the value as plain text; "" without a value
    void write(const QVariant& v); // throws db::Error when the field refuses it
    // Writes text typed or chosen into the owner; one the field cannot hold
    // throws RefusedEntry, naming the owner by its label.
    void enter(const QString& text);

private:
    void disconnectAll();

    QWidget* owner_;
    Hooks hooks_;
    QPointer<DataSource> source_;
    QString field_;
    QList<QMetaObject::Connection> connections_;
};

} // namespace ui
