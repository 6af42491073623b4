#pragma once

#include "platform/report/PageModel.h"
#include "platform/report/Report.h"

namespace report {

// Lays the report out once into pages. The report's dataset is walked from
// its first row to its last with its controls disabled (bound widgets do not
// follow), and the row that was current before is current again afterwards,
// also when rendering throws. Title, headers and summary see the iteration's
// row: the first row on page one, the row about to print after a page break,
// the last row in the summary.
// Every text prints whole (fitText in TextFit.h): one too wide for its box
// is set smaller, then on more lines; when even those need more height, its
// box grows, the boxes sharing its bottom edge grow with it and whatever
// lies below, in the band and after it, moves down. The page footer keeps
// its height.
// Throws std::invalid_argument for a data text bound to a field its dataset
// does not have; data-layer errors pass through.
PageModel render(const Report& report);

} // namespace report
