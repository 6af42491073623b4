#pragma once

class StockDocumentForm;

// Prints the document the form shows and opens the preview: purchases and
// customer returns on QRin() from the form's header and lines as held; sales
// and supplier returns on QRout() from their lines stored in outgoods, with
// the print settings of the run. The title is BillCompanyName followed by
// the document word, the summary totals are the form's total boxes as shown.
// A failure opens no preview and says nothing.
void PrintStockDocument(StockDocumentForm& form);
