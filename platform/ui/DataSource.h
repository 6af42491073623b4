#pragma once

#include "platform/db/Dataset.h"

#include <QObject>
#include <QPointer>

namespace ui {

// Sits between a dataset and its data-aware widgets. Widgets reload when the
// current record changes, and may change their field only while the dataset
// is editing (a widget never puts the dataset into edit by itself).
//
// Text typed into a widget reaches its field when the widget is left, and at
// the latest when the dataset posts: setDataset registers a before-post
// handler that flushes every widget. Before-post handlers run in the order
// they were registered, so create the data source before installing a form's
// own before-post handlers; those then see the typed values in the fields.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    explicit DataSource(db::Dataset* dataset, QObject* parent = nullptr);

    void setDataset(db::Dataset* dataset);
    db::Dataset* dataset() const { return dataset_; }

    // A disabled source shows nothing in its widgets and lets nothing be typed.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    // True when a dataset is set, open, has a current row and the source is enabled.
    bool hasRecord() const;
    // True when widgets may write their fields: hasRecord and the dataset is editing.
    bool editable() const;

    // Asks every widget holding unwritten text to write it into its field.
    // A value its field refuses throws (db::Error), so a post stops there.
    void flush();

signals:
    // Another row became current, the rows were reloaded, or the state changed: reload all.
    void recordChanged();
    // One field of the current row was written: reload the widgets of that field.
    void fieldChanged(int fieldIndex);
    // Whether widgets may write now (see editable()).
    void editableChanged(bool editable);
    // Emitted by flush(); widgets write their unwritten text when they receive it.
    void flushRequested();

private:
    void datasetChanged();
    void announceState();

    QPointer<db::Dataset> dataset_;
    bool enabled_ = true;
    bool lastEditable_ = false;
    db::Subscription flushBeforePost_;
    QList<QMetaObject::Connection> connections_;
};

} // namespace ui
