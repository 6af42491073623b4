#pragma once

#include "stock/PrintedDocument.h"

class QWidget;

// The printed purchase and customer return document, on A4 portrait: the
// header row the form shows and its lines as the form holds them (saved or
// not), with the bands of PrintedDocumentReport on the receiving side.
class TQRin {
public:
    report::Report layout(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts) const;
    // Renders the document and shows it in the preview, from which the user prints.
    void print(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts, QWidget* parent) const;
};

// The layout kept for the whole run.
TQRin& QRin();
