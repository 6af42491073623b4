#pragma once

#include "platform/report/PageModel.h"
#include "platform/report/TextFit.h"

#include <QString>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;
class QPageLayout;
class QPrinter;

namespace report {

// Device pixels per millimetre of a paint device (printer, PDF writer, image).
double pixelsPerMm(const QPaintDevice& device);

// Paints one page (0-based) with the painter's origin at the paper's top-left
// corner; `scale` is device pixels per millimetre. Fonts are sized from the
// scale, so a page painted on a screen image and on paper looks the same.
// A text wider than its rectangle is drawn on the lines linesOf gives it,
// as a block centred in the rectangle; no text is clipped.
void paintPage(QPainter& painter, const PageModel& model, int page, double scale);

// Paints every page on the device the painter is active on, starting a new
// device page between them. The device's page should hold the paper with its
// origin at the paper corner (no device margins): see pageLayoutOf.
void paintPages(QPainter& painter, QPagedPaintDevice& device, const PageModel& model);

// The model's paper as a page layout without device margins (the model
// carries its own margins).
QPageLayout pageLayoutOf(const PageModel& model);

// Sets the printer to the model's paper and prints every page. False when the
// printer could not be started.
bool print(const PageModel& model, QPrinter& printer);

// Writes every page to a PDF file with the texts embedded as text. False when
// the file could not be written.
bool exportPdf(const PageModel& model, const QString& path);

} // namespace report
