#pragma once

namespace bench {

class RawDb;
struct SalonSize;

// Raise when the generated rows change, so cached files are made again.
inline constexpr int kGeneratorVersion = 2;

// Fills a new database (schema and seed rows in place) with a salon of that
// size, in one transaction; the same size always gives the same rows.
void fillSalon(RawDb& db, const SalonSize& size);

} // namespace bench
