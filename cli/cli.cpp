// cli.cpp: the command line's grammar, with CLI11, and the exit codes.
#include "cli/cli.h"

#include "cli/commands.h"
#include "export/export.h"
#include "platform/console.h"
#include "platform/file.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace cli {

namespace {

const char* const versionText = "climadesk " CLIMADESK_VERSION;

void addDownload(CLI::App& app, DownloadOptions& o)
{
    CLI::App* sub = app.add_subcommand("download", "Download a logger's samples into a record file");
    sub->add_option("ADDRESS", o.address, "The logger's IPv4 address")->required()->check(CLI::ValidIPV4);
    sub->add_option("-o,--output", o.output, "Record file to write (default: sentrel-YYYYMMDD-HHMM.log)");
    sub->add_flag("--merge", o.merge, "Merge into the record file of --output when it exists");
}

void addStats(CLI::App& app, StatsOptions& o)
{
    CLI::App* sub = app.add_subcommand("stats", "Print the statistics of a record file");
    sub->add_option("IN.log", o.input, "Record file")->required();
    sub->add_flag("--json", o.json, "One JSON object instead of text");
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit");
}

void addExport(CLI::App& app, ExportOptions& o)
{
    CLI::App* sub = app.add_subcommand("export", "Export a record file to a spreadsheet or CSV file");
    sub->add_option("IN.log", o.input, "Record file")->required();
    sub->add_option("OUT", o.output, "OUT.xls, OUT.xlsx or OUT.csv: the extension names the format")
        ->required()
        ->check(CLI::Validator(
            [](std::string& path) {
                return xls::formatOfPath(path) ? std::string() : "the name must end in .xls, .xlsx or .csv";
            },
            "OUT.xls|OUT.xlsx|OUT.csv"));
    sub->add_option("--csv-style", o.csvStyle, "data: \",\" and \".\"; spreadsheet: \";\" and \",\" (default: data)")
        ->check(CLI::IsMember({"data", "spreadsheet"}));
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit (.xlsx and CSV)");
}

// Help and version on standard output with 0; any other parse error prints its
// message and the usage on standard error and gives exitUsage.
int parseFailed(const CLI::App& app, const CLI::ParseError& e)
{
    std::ostringstream out, err;
    int code = app.exit(e, out, err);
    platform::printOut(out.str());
    platform::printError(err.str());
    return code == 0 ? exitDone : exitUsage;
}

} // namespace

int run(int argc, char** argv)
{
    CLI::App app("Climadesk: records of the Sentrel32 temperature and humidity logger.\n"
                 "Without a subcommand the program opens its window.",
                 "climadesk");
    app.set_version_flag("--version", versionText);
    app.require_subcommand(1, 1);
    app.failure_message([](const CLI::App* failed, const CLI::Error& e) {
        return std::string(e.what()) + "\n\n" + failed->help();
    });
    DownloadOptions download;
    StatsOptions stats;
    addDownload(app, download);
    ExportOptions exporting;
    addExport(app, exporting);
    addStats(app, stats);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return parseFailed(app, e);
    }
    if (app.got_subcommand("download"))
        return cli::download(download);
    if (app.got_subcommand("export"))
        return exportFile(exporting);
    return cli::stats(stats);
}

bool readInput(const std::string& path, records::RecordSeries& series)
{
    const std::string name = platform::displayName(path);
    switch (records::readRecordFile(path, series)) {
    case records::ReadResult::Done: return true;
    case records::ReadResult::CannotRead: platform::printError("Can't read " + name + "\n"); break;
    case records::ReadResult::WrongFormat: platform::printError("Wrong file format: " + name + "\n"); break;
    }
    return false;
}

} // namespace cli
