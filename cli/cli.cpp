// cli.cpp: the command line's grammar, with CLI11, and the exit codes.
#include "cli/cli.h"

#include "cli/commands.h"
#include "app/settings.h"
#include "export/export.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "records/datemask.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <new>
#include <sstream>
#include <string_view>

namespace cli {

namespace {

const char* const versionText = "climadesk " CLIMADESK_VERSION;

// `text` as plain decimal digits (no sign, blank or prefix) naming a number up
// to `highest`; false for anything else.
bool readDigits(std::string_view text, int highest, int& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    int64_t number = 0;
    for (char c : text)
        number = std::min<int64_t>(number * 10 + (c - '0'), int64_t{highest} + 1);
    value = static_cast<int>(number);
    return number <= highest;
}

// Four decimal numbers from 0 to 255 joined by three dots, and nothing else.
bool isDottedAddress(std::string_view text)
{
    int octet = 0;
    for (int field = 0; field < 4; ++field) {
        const size_t dot = field < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || !readDigits(text.substr(0, dot), 255, octet))
            return false;
        text.remove_prefix(std::min(dot + 1, text.size()));
    }
    return true;
}

void addDownload(CLI::App& app, DownloadOptions& o)
{
    CLI::App* sub = app.add_subcommand("download", "Download a logger's samples into a record file");
    sub->add_option("ADDRESS", o.address, "The logger's IPv4 address")
        ->required()
        ->check(CLI::Validator(
            [](std::string& text) {
                return isDottedAddress(text) ? std::string() : "four numbers 0 to 255 with three dots: " + text;
            },
            "A.B.C.D"));
    sub->add_option("-o,--output", o.output, "Record file to write (default: sentrel-YYYYMMDD-HHMM.log)");
    sub->add_flag("--merge", o.merge, "Merge into the record file of --output when it exists");
}

void addStats(CLI::App& app, StatsOptions& o)
{
    CLI::App* sub = app.add_subcommand("stats", "Print the statistics of a record file");
    sub->add_option("IN.log", o.input, "Record file")->required();
    sub->add_flag("--json", o.json, "One JSON object instead of text");
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit");
    addLimitOptions(sub, o.limits);
}

// "+hh:mm" or "-hh:mm", hours to 14, as seconds east of UTC.
void parseUtcOffset(const std::string& text, ExportOptions& o)
{
    const std::string_view view = text;
    int hours = 0, minutes = 0;
    if (view.size() != 6 || (view[0] != '+' && view[0] != '-') || view[3] != ':' || !readDigits(view.substr(1, 2), 14, hours)
        || !readDigits(view.substr(4, 2), 59, minutes))
        throw CLI::ValidationError("--utc-offset", "+hh:mm or -hh:mm, from -14:00 to +14:00: " + text);
    const int32_t seconds = hours * 3600 + minutes * 60;
    o.utcOffset = view[0] == '-' ? -seconds : seconds;
}

void addExport(CLI::App& app, ExportOptions& o)
{
    CLI::App* sub = app.add_subcommand("export", "Export a record file to a spreadsheet, CSV, OpenMetrics or line-protocol file");
    sub->add_option("IN.log", o.input, "Record file")->required();
    sub->add_option("OUT", o.output, "OUT.xls, OUT.xlsx, OUT.csv, OUT.om or OUT.lp: the extension names the format")
        ->required()
        ->check(CLI::Validator(
            [](std::string& path) {
                return xls::formatOfPath(path) || xls::archiveFormatOfPath(path)
                         ? std::string()
                         : "the name must end in .xls, .xlsx, .csv, .om or .lp";
            },
            "OUT.xls|OUT.xlsx|OUT.csv|OUT.om|OUT.lp"));
    sub->add_option("--csv-style", o.csvStyle, "data: \",\" and \".\"; spreadsheet: \";\" and \",\" (default: data)")
        ->check(CLI::IsMember({"data", "spreadsheet"}));
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit (.xlsx and CSV)");
    sub->add_option("--logger", o.logger, "The logger's name in the archive (.om and .lp; required there)")
        ->type_name("NAME");
    sub->add_option_function<std::string>("--utc-offset", [&o](const std::string& t) { parseUtcOffset(t, o); },
                                          "The logger clock's offset from UTC (.om and .lp; default: this machine's time zone)")
        ->type_name("+hh:mm");
}

// "1920x1080": each side from 301 pixels (the graph needs more) to 8192.
void parseSize(const std::string& text, RenderOptions& o)
{
    const size_t x = text.find('x');
    int width = 0, height = 0;
    if (x == std::string::npos || !readDigits(std::string_view(text).substr(0, x), 8192, width)
        || !readDigits(std::string_view(text).substr(x + 1), 8192, height) || width < 301 || height < 301)
        throw CLI::ValidationError("--size", "WIDTHxHEIGHT, each from 301 to 8192 pixels: " + text);
    o.width = width;
    o.height = height;
}

void parseLevel(const std::string& text, RenderOptions& o)
{
    if (!readDigits(text, 20, o.level) || o.level < 1)
        throw CLI::ValidationError("--level", "a level from 1 to 20: " + text);
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
    CLI::Option* level =
        sub->add_option_function<std::string>("--level", [&o](const std::string& t) { parseLevel(t, o); },
                                              "Time-scale level, 1 (10 s) to 20 (52 weeks) per division")
            ->type_name("LEVEL");
    sub->add_flag_callback("--fit", [&o] { o.level = 0; }, "The level an import chooses for the whole file (the default)")->excludes(level);
    sub->add_option_function<std::string>("--from", [&o](const std::string& t) { parseFrom(t, o); },
                                          "Start at the first record at or after this time (default: the oldest)")
        ->type_name("\"YYYY-MM-DD hh:mm\"");
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit");
    sub->add_flag("--lines", o.lines, "Curves drawn as lines instead of dots");
    sub->add_option_function<std::string>("--colors", [&o](const std::string& t) { parseColors(t, o); },
                                          "Curve colours, humidity then temperature (default: #0000FF,#FF0000)")
        ->type_name("RH,TEMP");
    addLimitOptions(sub, o.limits);
}

void addReport(CLI::App& app, ReportOptions& o)
{
    CLI::App* sub = app.add_subcommand("report", "Write the PDF report of a record file, with its limits");
    sub->add_option("IN.log", o.input, "Record file")->required();
    sub->add_option("OUT.pdf", o.output, "PDF file to write")->required();
    sub->add_flag("--fahrenheit", o.fahrenheit, "Temperatures in degrees Fahrenheit");
    addLimitOptions(sub, o.limits);
}

void addServe(CLI::App& app, ServeOptions& o)
{
    CLI::App* sub = app.add_subcommand("serve", "Serve every logger's live readings to Prometheus and as a status page");
    sub->add_option("--listen", o.listen, "Address and port to serve on (default: 127.0.0.1:9491; port 0: any free one)")
        ->type_name("ADDRESS:PORT");
    sub->add_option("--logger", o.loggers, "A logger to watch, by name and IPv4 address (repeatable)")
        ->type_name("NAME=IPV4");
    sub->add_option("--config", o.config, "A file of \"NAME = IPV4\" lines, # for comments")->type_name("FILE");
    sub->add_option("--every", o.every, "Seconds between two queries of each logger (default: 30)")
        ->check(CLI::Range(0.01, 86400.0))
        ->type_name("SECONDS");
    addLimitOptions(sub, o.limits);
}

// Help and version on standard output with 0; any other parse error prints its
// message and the usage on standard error and gives exitUsage. The parser's
// texts hold the user's values as typed, in UTF-8.
int parseFailed(const CLI::App& app, const CLI::ParseError& e)
{
    std::ostringstream out, err;
    int code = app.exit(e, out, err);
    platform::printOut(out.str());
    platform::printError(err.str());
    return code == 0 ? exitDone : exitUsage;
}

} // namespace

std::optional<int> parseCommandLine(int argc, char** argv, CommandLine& line)
{
    CLI::App app("Climadesk: records of the Sentrel32 temperature and humidity logger.\n"
                 "Without a subcommand the program opens its window.",
                 "climadesk");
    app.set_version_flag("--version", versionText);
    app.require_subcommand(1, 1);
    app.failure_message([](const CLI::App* failed, const CLI::Error& e) {
        return std::string(e.what()) + "\n\n" + failed->help();
    });
    addDownload(app, line.download);
    addExport(app, line.exporting);
    addStats(app, line.stats);
    const app::Settings defaults = app::defaultSettings();
    line.rendering.humidityColor = defaults.humidityColor;
    line.rendering.temperatureColor = defaults.temperatureColor;
    addRender(app, line.rendering);
    addServe(app, line.serving);
    addReport(app, line.reporting);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return parseFailed(app, e);
    }
    const std::pair<const char*, Subcommand> names[] = {
        {"download", Subcommand::Download}, {"export", Subcommand::Export}, {"stats", Subcommand::Stats},
        {"render", Subcommand::Render},     {"serve", Subcommand::Serve},   {"report", Subcommand::Report},
    };
    for (const auto& [name, subcommand] : names)
        if (app.got_subcommand(name))
            line.subcommand = subcommand;
    return std::nullopt;
}

int guarded(const std::function<int()>& body)
{
    int code = exitFailed;
    try {
        code = body();
    } catch (const std::bad_alloc&) {
        // What failed has been unwound and freed: there is room for the words.
        platform::printError("Out of memory\n");
        code = exitFailed;
    }
    if (!platform::outputWritten()) {
        platform::printError("Can't write to standard output\n");
        return exitFailed;
    }
    return code;
}

} // namespace cli
