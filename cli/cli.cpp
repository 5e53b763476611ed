// cli.cpp: the command line's grammar, with CLI11, and the exit codes.
#include "cli/cli.h"

#include "cli/commands.h"
#include "app/settings.h"
#include "export/export.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/platform.h"
#include "records/datemask.h"

#include <CLI/CLI.hpp>

#include <cstdio>
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

// "1920x1080": each side from 301 pixels (the graph needs more) to 8192.
void parseSize(const std::string& text, RenderOptions& o)
{
    int width = 0, height = 0;
    char x = 0, rest = 0;
    if (std::sscanf(text.c_str(), "%5d%c%5d%c", &width, &x, &height, &rest) != 3 || x != 'x' || width < 301
        || width > 8192 || height < 301 || height > 8192)
        throw CLI::ValidationError("--size", "WIDTHxHEIGHT, each from 301 to 8192 pixels: " + text);
    o.width = width;
    o.height = height;
}

// "#RRGGBB" (the "#" may be left out) in the settings' form, or false.
bool parseColor(std::string text, uint32_t& color)
{
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    const unsigned long rgb = std::stoul(text, nullptr, 16);
    color = platform::rgb(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF), static_cast<int>(rgb & 0xFF));
    return true;
}

// "RH,TEMP": the humidity curve's colour, then the temperature curve's.
void parseColors(const std::string& text, RenderOptions& o)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos || !parseColor(text.substr(0, comma), o.humidityColor)
        || !parseColor(text.substr(comma + 1), o.temperatureColor))
        throw CLI::ValidationError("--colors", "two colours #RRGGBB,#RRGGBB (humidity, temperature): " + text);
}

void parseFrom(const std::string& text, RenderOptions& o)
{
    o.from = records::parseTime(timeMask, text);
    if (o.from < 0)
        throw CLI::ValidationError("--from", "a time \"YYYY-MM-DD hh:mm\" from 1970 to 2038: " + text);
}

void addRender(CLI::App& app, RenderOptions& o)
{
    CLI::App* sub = app.add_subcommand("render", "Draw the graph of a record file into a PNG picture");
    sub->add_option("IN.log", o.input, "Record file")->required();
    sub->add_option("OUT.png", o.output, "PNG file to write")->required();
    sub->add_option_function<std::string>("--size", [&o](const std::string& t) { parseSize(t, o); },
                                          "Picture size in pixels (default: 1920x1080)")
        ->type_name("WIDTHxHEIGHT");
    CLI::Option* level = sub->add_option("--level", o.level, "Time-scale level, 1 (10 s) to 20 (52 weeks) per division")
                             ->check(CLI::Range(1, 20));
    sub->add_flag_callback("--fit", [&o] { o.level = 0; }, "The level an import chooses for the whole file (the default)")->excludes(level);
    sub->add_option_function<std::string>("--from", [&o](const std::string& t) { parseFrom(t, o); },
                                          "Start at the first record at or after this time (default: the oldest)")
        ->type_name("\"YYYY-MM-DD hh:mm\"");
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit");
    sub->add_flag("--lines", o.lines, "Curves drawn as lines instead of dots");
    sub->add_option_function<std::string>("--colors", [&o](const std::string& t) { parseColors(t, o); },
                                          "Curve colours, humidity then temperature (default: #0000FF,#FF0000)")
        ->type_name("RH,TEMP");
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
    RenderOptions rendering;
    const app::Settings defaults = app::defaultSettings();
    rendering.humidityColor = defaults.humidityColor;
    rendering.temperatureColor = defaults.temperatureColor;
    addRender(app, rendering);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return parseFailed(app, e);
    }
    if (app.got_subcommand("download"))
        return cli::download(download);
    if (app.got_subcommand("export"))
        return exportFile(exporting);
    if (app.got_subcommand("render"))
        return render(rendering);
    return cli::stats(stats);
}

bool readInput(const std::string& path, records::RecordSeries& series)
{
    const std::string name = platform::displayName(path);
    switch (records::readRecordFile(path, series)) {
    case records::ReadResult::Done: return true;
    case records::ReadResult::CannotRead: platform::printError("Can't read " + name + "\n"); break;
    case records::ReadResult::WrongFormat: platform::printError("Wrong file format: " + name + "\n"); break;
    case records::ReadResult::TooLong: platform::printError("Wrong file format: " + records::tooLongText(name) + "\n"); break;
    }
    return false;
}

} // namespace cli
