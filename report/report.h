// report.h: the PDF report of the record store, for an audit.
//
// One document of A4 pages (Letter where the system's paper is Letter), made
// with libharu: the file, its SHA-256 and period; the limits; the extremes,
// means and mean kinetic temperature; the excursions per limit; the graph of
// the whole period with the limit lines and the humidity profile; a block to
// sign. It reads the whole store (records::store()), the limits and the scale
// of app::settings(), and opens no window.
#pragma once

#include <string>

namespace report {

// Writes the report to `path` through a temporary file renamed over it; false,
// and whatever was at `path` intact, when it cannot be written.
bool writeReport(const std::string& path);

} // namespace report
