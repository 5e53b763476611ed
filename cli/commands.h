// commands.h: the subcommands, each run with its parsed options.
//
// Each prints its results and messages (platform/console.h) and returns an exit
// code of cli.h.
#pragma once

#include "records/recordfile.h"

#include <string>

namespace cli {

struct DownloadOptions {
    std::string address;   // dotted IPv4, checked by the parser
    std::string output;    // empty: named after the newest sample's time
    bool merge = false;
};
int download(const DownloadOptions& options);

struct StatsOptions {
    std::string input;
    bool json = false;
    bool fahrenheit = false;
};
int stats(const StatsOptions& options);

struct ExportOptions {
    std::string input;
    std::string output;   // .xls, .xlsx or .csv, checked by the parser
    std::string csvStyle = "data";   // "data" or "spreadsheet"
    bool fahrenheit = false;
};
int exportFile(const ExportOptions& options);

// Reads the record file `path` for a subcommand; false, having said why ("Can't
// read IN.log", "Wrong file format: IN.log"), when it cannot.
bool readInput(const std::string& path, records::RecordSeries& series);

} // namespace cli
