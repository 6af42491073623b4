#include "platform/ui/DataSource.h"

namespace ui {

DataSource::DataSource(QObject* parent)
    : QObject(parent)
{
}

DataSource::DataSource(db::Dataset* dataset, QObject* parent)
    : QObject(parent)
{
    setDataset(dataset);
}

void DataSource::setDataset(db::Dataset* dataset)
{
    // A destroyed dataset has already cleared dataset_; its widgets still need telling.
    if (dataset && dataset_ == dataset)
        return;
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    flushBeforePost_.reset();
    dataset_ = dataset;

    if (dataset) {
        connections_ << connect(dataset, &db::Dataset::rowsReset, this, &DataSource::datasetChanged)
                     << connect(dataset, &db::Dataset::currentChanged, this, &DataSource::datasetChanged)
                     << connect(dataset, &db::Dataset::stateChanged, this, &DataSource::datasetChanged)
                     << connect(dataset, &db::Dataset::fieldWritten, this, &DataSource::fieldChanged)
                     << connect(dataset, &QObject::destroyed, this, [this] { setDataset(nullptr); });
        flushBeforePost_ = dataset->onBeforePost([this](db::Dataset&) { flush(); });
    }
    datasetChanged();
}

void DataSource::setEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    datasetChanged();
}

bool DataSource::hasRecord() const
{
    return enabled_ && dataset_ && dataset_->isActive() && dataset_->recNo() >= 0;
}

bool DataSource::editable() const
{
    return hasRecord() && dataset_->isEditing();
}

void DataSource::flush()
{
    if (editable())
        emit flushRequested();
}

void DataSource::datasetChanged()
{
    announceState();
    emit recordChanged();
}

void DataSource::announceState()
{
    const bool now = editable();
    if (now == lastEditable_)
        return;
    lastEditable_ = now;
    emit editableChanged(now);
}

} // namespace ui
