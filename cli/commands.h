// commands.h: the subcommands, each run with its parsed options.
//
// Each prints its results and messages (platform/console.h) and returns an exit
// code of cli.h; running out of memory and a failed write of standard output
// are caught around them (cli::run).
#pragma once

#include "cli/limit_options.h"
#include "records/recordfile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// How the command line writes and reads times: "2024-03-15 12:00".
constexpr const char* timeMask = "%yyyy-%mm-%dd %hh:%ii";
// Times of excursions, to the second: "2024-03-15 12:00:10".
constexpr const char* secondsMask = "%yyyy-%mm-%dd %hh:%ii:%ss";

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
    LimitOptions limits;
};
int stats(const StatsOptions& options);

struct ExportOptions {
    std::string input;
    std::string output;   // .xls, .xlsx, .csv, .om or .lp, checked by the parser
    std::string csvStyle = "data";   // "data" or "spreadsheet"
    bool fahrenheit = false;
    std::string logger;              // .om and .lp: the logger's name
    std::optional<int32_t> utcOffset;   // .om and .lp: seconds east of UTC; none: the machine's zone
};
int exportFile(const ExportOptions& options);

struct RenderOptions {
    std::string input;
    std::string output;   // the PNG file
    int width = 1920, height = 1080;
    int level = 0;        // 1 to 20; 0: the level an import would choose
    int32_t from = -1;    // the first record is the first at or after it; -1: the oldest
    bool fahrenheit = false;
    bool lines = false;
    // Red + 256 * green + 65536 * blue, as in the settings.
    uint32_t humidityColor, temperatureColor;
    LimitOptions limits;   // drawn as dashed lines
};
int render(const RenderOptions& options);

struct ServeOptions {
    std::string listen = "127.0.0.1:9491";   // ADDRESS[:PORT], checked by serveLoggers
    std::vector<std::string> loggers;        // "NAME=IPV4", checked by serveLoggers
    std::string config;                      // file of "NAME = IPV4" lines; empty: none
    double every = 30;                       // seconds between two queries of a logger
    LimitOptions limits;                     // degrees Celsius and %RH
};
int serveLoggers(const ServeOptions& options);
struct ReportOptions {
    std::string input;
    std::string output;   // the PDF file
    bool fahrenheit = false;
    LimitOptions limits;
};
int report(const ReportOptions& options);

// ---- Parsing and running ----

enum class Subcommand { Download, Export, Stats, Render, Serve, Report };

// The command line parsed: every subcommand's options, and which one it named.
struct CommandLine {
    Subcommand subcommand = Subcommand::Stats;
    DownloadOptions download;
    ExportOptions exporting;
    StatsOptions stats;
    RenderOptions rendering;
    ServeOptions serving;
    ReportOptions reporting;
};

// Parses the command line into `line` with CLI11. An exit code when the
// parsing ends the run, having printed why (help and version on standard
// output with exitDone, wrong usage on standard error with exitUsage); none
// when `line` is to run.
std::optional<int> parseCommandLine(int argc, char** argv, CommandLine& line);
// Runs `body` and gives its exit code, but exitFailed, having said so, when it
// ran out of memory or its standard output was not all written.
int guarded(const std::function<int()>& body);

// ---- Shared by the subcommands ----

// Reads the record file `path` for a subcommand; false, having said why ("Can't
// read IN.log", "Wrong file format: IN.log"), when it cannot. Messages name
// files as the user typed them.
bool readInput(const std::string& path, records::RecordSeries& series,
               records::Digest digest = records::Digest::Skip);
// True for Done; otherwise false, having said why as readInput says it.
bool readDone(records::ReadResult result, const std::string& path);
// Says "Can't write OUT" on standard error.
void sayCannotWrite(const std::string& path);
// Puts `series`, read from `path`, into the store as an import leaves it: its
// file title and digest, and the extremes the graph scales to.
void loadStore(records::RecordSeries& series, const std::string& path);

} // namespace cli
