#pragma once

#include "platform/report/PageModel.h"

#include <functional>
#include <vector>

class QWidget;

namespace report {

class Report;

// Shows the pages in the modal print-preview window (zoom, page navigation,
// page set-up, print), or hands them to the preview handler when one is set.
void preview(const PageModel& model, QWidget* parent);
// Renders the report and previews it.
void preview(const Report& report, QWidget* parent);

// Replaces the preview window for every later preview call; an empty handler
// brings the window back. Returns the handler it replaces.
using PreviewHandler = std::function<void(const PageModel&, QWidget* parent)>;
PreviewHandler setPreviewHandler(PreviewHandler handler);

// While alive, previews are recorded instead of shown: tests of forms that
// print read what would have been previewed. Nests; restores the handler
// that was set before it.
class PreviewCapture {
public:
    PreviewCapture();
    ~PreviewCapture();
    PreviewCapture(const PreviewCapture&) = delete;
    PreviewCapture& operator=(const PreviewCapture&) = delete;

    int count() const { return int(models_.size()); }
    const std::vector<PageModel>& models() const { return models_; }
    // The most recent preview; only valid when count() > 0.
    const PageModel& last() const { return models_.back(); }

private:
    PreviewHandler previous_;
    std::vector<PageModel> models_;
};

} // namespace report
