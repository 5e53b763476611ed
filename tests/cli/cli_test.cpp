// The command line end to end: the real climadesk program run as a child
// process with no display, against sentrel-sim on loopback and record files.
#include "cli/run.h"
#include "support/program.h"
#ifndef _WIN32
#include "support/endless.h"
#endif
#include "support/simulator.h"

#include "app/ids.h"
#include "platform/file.h"
#include "records/logfile.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace t = platform::testing;

namespace {

class CliTest : public ProgramTest {
protected:
    // Writes `name` as a record file of `values` ({temperature, humidity}),
    // `interval` seconds apart, newest at `newest`.
    void writeLog(const std::string& name, const std::vector<std::pair<int32_t, int32_t>>& values, int32_t interval,
                  int32_t newest) const
    {
        std::vector<records::Record> recs;
        for (auto [temperature, humidity] : values)
            recs.push_back({0, humidity, temperature});
        records::assignTimes(recs, newest, interval);
        writeText(name, records::formatLogFile(recs, interval));
    }
};

constexpr int32_t march15Noon = 1710504000;
const char* const march15NoonText = "2024/03/15 12:00";

// The simulator's --ramp samples first .. last (0 = the oldest).
std::vector<std::pair<int32_t, int32_t>> ramp(int32_t first, int32_t last)
{
    std::vector<std::pair<int32_t, int32_t>> values;
    for (int32_t i = first; i <= last; ++i)
        values.push_back(i % 25 == 24 ? std::pair{0, 0} : std::pair{-100 + i % 500, 300 + i % 600});
    return values;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(CliTest, HelpVersionAndExitCodes)
{
    std::remove("preferences.pref");
    ProgramRun version = runClimadesk({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "climadesk 1.0\n");

    ProgramRun help = runClimadesk({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* sub : {"download", "export", "stats"})
        EXPECT_TRUE(contains(help.out, sub)) << sub;
    ProgramRun subHelp = runClimadesk({"download", "--help"});
    EXPECT_EQ(subHelp.exitCode, 0);
    EXPECT_TRUE(contains(subHelp.out, "--merge"));

    // Usage errors: the message and the usage on standard error, exit code 2.
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"stats", "a.log", "--bogus"}, {"--bogus"}, {"frobnicate"}, {"download"}, {"download", "127.0.0.300"},
             {"export", "a.log", "a.txt"}, {"export", "a.log", "a.csv", "--csv-style", "tabs"}}) {
        ProgramRun run = runClimadesk(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong[0];
        EXPECT_TRUE(contains(run.err, "Usage: climadesk")) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // A file that fails: exit code 1, in words.
    ProgramRun missing = runClimadesk({"stats", "missing.log"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Can't read missing.log\n");
    writeText("notes.log", "not a record file\r\n");
    ProgramRun wrong = runClimadesk({"export", "notes.log", "notes.csv"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, "Wrong file format: notes.log\n");
    // No subcommand reads or writes the settings file.
    EXPECT_FALSE(platform::fileExists("preferences.pref"));
}

TEST_F(CliTest, DownloadWritesTheLoggersRecordsWithNoDisplay)
{
    std::remove("preferences.pref");
    Simulator sim({"--samples", "300", "--ramp", "--interval", "5", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    ProgramRun run = runClimadesk({"download", sim.address()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Standard error is no terminal here: no progress bar.
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "300 samples written to sentrel-20240315-1200.log\n");
    writeLog("expected.log", ramp(0, 299), 300, march15Noon);
    EXPECT_EQ(readText("sentrel-20240315-1200.log"), readText("expected.log"));
    EXPECT_TRUE(sim.sawLine("dump 1"));
    EXPECT_FALSE(platform::fileExists("preferences.pref"));
}

TEST_F(CliTest, DownloadFailuresAreSaidAndWriteNothing)
{
    struct Case {
        std::vector<std::string> options;
        std::string message;   // after the address, or the whole text
    };
    const std::string refused = Simulator::unusedAddress();
    ProgramRun notThere = runClimadesk({"download", refused, "-o", "x.log"});
    EXPECT_EQ(notThere.exitCode, 1);
    EXPECT_EQ(notThere.err, "Can't connect to " + refused + "\n");
    for (const Case& c : std::vector<Case>{
             {{"--busy", "5"}, "Sentrel32 connected but now is busy...\n\nPlease wait a moment then retry.\n"},
             {{"--garbled"}, "No Sentrel32connected at @\n"},
             {{"--silent"}, "No Sentrel32connected at @\n"},
             {{"--short-dump", "500"}, "Incomplete download from @\n"},
             {{"--close-after-query"}, "Sentrel32 has closed the connection...\nIncomplete download from @\n"}}) {
        std::vector<std::string> options = {"--samples", "300"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        Simulator sim(options);
        ASSERT_TRUE(sim.started());
        std::string expected = c.message;
        if (size_t at = expected.find('@'); at != std::string::npos)
            expected.replace(at, 1, sim.address());
        ProgramRun run = runClimadesk({"download", sim.address(), "-o", "x.log"});
        EXPECT_EQ(run.exitCode, 1) << c.options[0];
        EXPECT_EQ(run.err, expected) << c.options[0];
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(platform::fileExists("x.log")) << c.options[0];
    }
}

TEST_F(CliTest, DownloadMergesIntoTheArchive)
{
    Simulator sim({"--samples", "300", "--ramp", "--interval", "5", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    const std::vector<std::string> merge = {"download", sim.address(), "-o", "archive.log", "--merge"};

    // No archive yet: a plain write.
    ProgramRun first = runClimadesk(merge);
    EXPECT_EQ(first.exitCode, 0) << first.err;
    // Twelve gaps and a 0.0 degree reading (kept as a reading) among them.
    EXPECT_EQ(first.out, "288 new samples, 0 already archived, 0 differing, 12 gap lines in the file\n");
    writeLog("expected.log", ramp(0, 299), 300, march15Noon);
    EXPECT_EQ(readText("archive.log"), readText("expected.log"));

    // The archive ends 10 samples after the download's oldest and is 50 samples
    // older: the download's 290 newer samples bring 278 readings (12 are gaps),
    // and one more fills a gap of the archive.
    auto older = ramp(0, 9);
    older.insert(older.begin(), 50, {215, 450});
    older[55] = {0, 0};
    older[56] = {999, 999};
    writeLog("archive.log", older, 300, march15Noon - 290 * 300);
    ProgramRun second = runClimadesk(merge);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(second.out, "279 new samples, 9 already archived, 1 differing, 12 gap lines in the file\n");
    auto merged = older;
    auto rest = ramp(10, 299);
    merged.insert(merged.end(), rest.begin(), rest.end());
    merged[55] = ramp(5, 5)[0];
    writeLog("expected.log", merged, 300, march15Noon);
    EXPECT_EQ(readText("archive.log"), readText("expected.log"));

    // Refusals write nothing: another interval, another grid, a read-only file.
    writeLog("archive.log", ramp(0, 9), 60, march15Noon);
    const std::string oneMinute = readText("archive.log");
    ProgramRun interval = runClimadesk(merge);
    EXPECT_EQ(interval.exitCode, 1);
    EXPECT_EQ(interval.err, "Can't merge: the interval is 1 min in archive.log and 5 min in the download\n");
    EXPECT_EQ(readText("archive.log"), oneMinute);
    writeLog("archive.log", ramp(0, 9), 300, march15Noon - 120);
    const std::string offGrid = readText("archive.log");
    ProgramRun grid = runClimadesk(merge);
    EXPECT_EQ(grid.exitCode, 1);
    EXPECT_EQ(grid.err, "Can't merge: the samples in archive.log and in the download do not lie on the same 5 min "
                        "grid\n");
    EXPECT_EQ(readText("archive.log"), offGrid);
    // From 1970: a hole of millions of samples, refused before any is made.
    writeLog("archive.log", ramp(0, 9), 300, 3000);
    const std::string ancient = readText("archive.log");
    ProgramRun hole = runClimadesk(merge);
    EXPECT_EQ(hole.exitCode, 1);
    EXPECT_EQ(hole.err, "Can't merge: 5701370 samples are missing between archive.log and the download, more than a "
                        "logger holds (99999)\n");
    EXPECT_EQ(readText("archive.log"), ancient);
    writeLog("archive.log", ramp(0, 9), 300, march15Noon - 3000);
    const std::string readOnly = readText("archive.log");
    chmod("archive.log", 0444);
    ProgramRun locked = runClimadesk(merge);
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_EQ(locked.err, "Can't write archive.log\n");
    EXPECT_EQ(readText("archive.log"), readOnly);
}

TEST_F(CliTest, StatsInTextAndJson)
{
    // 21.0 to 25.0 degrees C and 40.0 to 60.0 %RH, hourly, with a gap.
    writeLog("room.log", {{210, 600}, {250, 400}, {0, 0}, {230, 500}, {250, 450}}, 3600, march15Noon);
    ProgramRun text = runClimadesk({"stats", "room.log"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_TRUE(contains(text.out, "From: 2024-03-15 08:00\nTo: 2024-03-15 12:00\n5 records (interval 60 minutes)\n"))
        << text.out;
    EXPECT_TRUE(contains(text.out, "Humidity max: 60.0 RH% (2024-03-15 08:00)\n"));
    EXPECT_TRUE(contains(text.out, "Temperature max: 25.0 \xC2\xB0" "C (2024-03-15 09:00)\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "Dew point max: 12.9 \xC2\xB0" "C (2024-03-15 08:00)\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "Dew point min: 10.5 \xC2\xB0" "C (2024-03-15 09:00)\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "20-25\xC2\xB0" "C      -      -      -      -   1.00   2.00   1.00")) << text.out;

    ProgramRun json = runClimadesk({"stats", "room.log", "--json", "--fahrenheit"});
    EXPECT_EQ(json.exitCode, 0);
#ifndef _WIN32
    // An independent JSON reader. Under Wine no Python can run (Wine starts a
    // Linux program but cannot wait for it): there the exit code alone is checked.
    ProgramRun parsed = runPython("import json, sys\n"
                           "d = json.load(sys.stdin)\n"
                           "print(d['count'], d['interval'], d['from'], d['temperatureUnit'])\n"
                           "print(d['temperatureMax'], d['humidityMin'], d['dewPointMax']['value'])\n"
                           "print(d['profile']['rows'][4], d['profile']['total'][5])\n",
                           json.out);
    EXPECT_EQ(parsed.exitCode, 0) << parsed.err << json.out;
    EXPECT_EQ(parsed.out, "5 3600 2024-03-15 08:00 F\n"
                          "{'value': 77.0, 'time': '2024-03-15 09:00'} {'value': 40.0, 'time': '2024-03-15 09:00'} 55.3\n"
                          "{'from': 20, 'to': 25, 'hours': [0.0, 0.0, 0.0, 0.0, 1.0, 2.0, 1.0, 0.0, 0.0, 0.0, 0.0]} 2.0\n");
#endif
    // Hours are reckoned once for both forms: 74,567 hours of 21.0 degrees C and
    // 50.0 %RH show as the window shows them, in text and in JSON alike.
    writeLog("years.log", std::vector<std::pair<int32_t, int32_t>>(74567, {210, 500}), 3600, march15Noon);
    ProgramRun longText = runClimadesk({"stats", "years.log"});
    ProgramRun longJson = runClimadesk({"stats", "years.log", "--json"});
    EXPECT_TRUE(contains(longText.out, "-74567.01      -")) << longText.out;
    EXPECT_TRUE(contains(longJson.out, " 74567.01, ")) << longJson.out;
}

TEST_F(CliTest, ExportGivesTheBytesOfTheWindowsExport)
{
    // Same names in two folders; the .xlsx holds the record file's name as its title.
    writeLog("room.log", ramp(0, 99), 600, march15Noon);
    std::filesystem::create_directory("gui");
    std::filesystem::create_directory("cli");
    const std::vector<std::pair<std::string, int>> files = {
        {"room.xls", 0}, {"room.xlsx", 1}, {"room.csv", 2}, {"room-sheet.csv", 3}};
    t::answerOpenFile(pathOf("room.log"));
    for (const auto& [name, pattern] : files)
        t::answerSaveFile(pathOf("gui/" + name), pattern);
    t::post([] { t::chooseMenu(app::menuImportRecords); });
    for (size_t i = 0; i < files.size(); ++i)
        t::post([] { t::chooseMenu(app::menuExportAsExcel); });
    t::post([] { t::chooseMenu(app::menuExit); });
    ASSERT_EQ(runProgram(), 0);

    for (const auto& [name, pattern] : files) {
        std::vector<std::string> arguments = {"export", "room.log", "cli/" + name};
        if (pattern == 3)
            arguments.insert(arguments.end(), {"--csv-style", "spreadsheet"});
        ProgramRun run = runClimadesk(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        ASSERT_FALSE(readText("gui/" + name).empty()) << name;
        EXPECT_TRUE(readText("cli/" + name) == readText("gui/" + name)) << name;
    }
#ifndef _WIN32
    // The title, read by Python's zip reader (not under Wine, see above).
    ProgramRun title = runPython("import io, re, sys, zipfile\n"
                                 "core = zipfile.ZipFile(io.BytesIO(sys.stdin.buffer.read())).read('docProps/core.xml')\n"
                                 "print(re.search(rb'<dc:title>(.*)</dc:title>', core).group(1).decode())\n",
                                 readText("cli/room.xlsx"));
    EXPECT_EQ(title.out, "room.log\n") << title.err;
#endif
}

TEST_F(CliTest, InputWithoutEndIsRefusedInWords)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/zero, /dev/urandom and a named pipe (mkfifo), which Windows lacks";
#else
    ProgramRun zero = runClimadesk({"stats", "/dev/zero"});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_EQ(zero.err, "Wrong file format: /dev/zero\n");
    ProgramRun noise = runClimadesk({"render", "/dev/urandom", "x.png"});
    EXPECT_EQ(noise.exitCode, 1);
    EXPECT_EQ(noise.err, "Wrong file format: /dev/urandom\n");
    EXPECT_FALSE(platform::fileExists("x.png"));
    // A pipe that is never closed, of record lines.
    std::string lines;
    for (int i = 0; i < 4096; ++i)
        lines += "+20.0,50.0\n";
    EndlessPipe pipe(pathOf("endless"), "***QX51***\n2024/03/15\n12:00     \nSR = 01min\n**********\n", lines);
    ASSERT_TRUE(pipe.made);
    ProgramRun endless = runClimadesk({"export", pathOf("endless"), "x.csv"});
    EXPECT_EQ(endless.exitCode, 1);
    EXPECT_EQ(endless.err, "Wrong file format: " + pathOf("endless")
                               + " is longer than a record file can be (more than 10000000 records or 300000000 bytes)\n");
    EXPECT_FALSE(platform::fileExists("x.csv"));
#endif
}

// Readings whose Fahrenheit tenths leave 32 bits ("+200000000", and "+1e20"
// that the reader keeps as the largest 32-bit tenths): every view of them in
// Fahrenheit shows the true converted value.
TEST_F(CliTest, FahrenheitOfTheLargestReadingIsTrue)
{
    writeText("hot.log", "***QX51***\r\n2024/03/15\r\n12:00     \r\nSR = 60min\r\n**********\r\n"
                         "+200000000,45.6\r\n+1e20,45.6\r\n-1e20,45.6\r\n**********\r\n");
    ProgramRun csv = runClimadesk({"export", "hot.log", "hot.csv", "--fahrenheit"});
    EXPECT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_TRUE(contains(readText("hot.csv"), "2024-03-15T10:00:00,360000032.0,45.6,,\r\n"
                                              "2024-03-15T11:00:00,386547088.5,45.6,,\r\n"
                                              "2024-03-15T12:00:00,-386547024.6,45.6,,\r\n"))
        << readText("hot.csv");
    ProgramRun text = runClimadesk({"stats", "hot.log", "--fahrenheit"});
    EXPECT_TRUE(contains(text.out, "Temperature max: 386547088.5 \xC2\xB0" "F (2024-03-15 11:00)\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "Temperature min: -386547024.6 \xC2\xB0" "F (2024-03-15 12:00)\n")) << text.out;
    ProgramRun json = runClimadesk({"stats", "hot.log", "--json", "--fahrenheit"});
    EXPECT_TRUE(contains(json.out, "\"temperatureMax\": {\"value\": 386547088.5,")) << json.out;
}

TEST_F(CliTest, ValuesAreReadAsTypedAndMessagesKeepThem)
{
    // An address is four decimal numbers with three dots; a number is plain
    // decimal digits. Anything else is wrong usage naming the option and value.
    const std::string address = "ADDRESS: four numbers 0 to 255 with three dots: ";
    const std::string level = "--level: a level from 1 to 20: ";
    const std::string size = "--size: WIDTHxHEIGHT, each from 301 to 8192 pixels: ";
    for (const auto& [arguments, line] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"download", "0x7f.0.0.1"}, address + "0x7f.0.0.1"},
             {{"download", "+127.0.0.1"}, address + "+127.0.0.1"},
             {{"download", "127.0.0.1.1"}, address + "127.0.0.1.1"},
             {{"download", "127.1"}, address + "127.1"},
             {{"download", "127.0.0.1 "}, address + "127.0.0.1 "},
             {{"download", "127.0.-0.1"}, address + "127.0.-0.1"},
             {{"render", "a.log", "a.png", "--level", "0x10"}, level + "0x10"},
             {{"render", "a.log", "a.png", "--level", "+7"}, level + "+7"},
             {{"render", "a.log", "a.png", "--size", " +400x300"}, size + " +400x300"},
             {{"render", "a.log", "a.png", "--from", "z\xC3\xA4z"},
              "--from: a time \"YYYY-MM-DD hh:mm\" from 1970 to 2038: z\xC3\xA4z"}}) {
        ProgramRun run = runClimadesk(arguments);
        EXPECT_EQ(run.exitCode, 2) << line;
        EXPECT_EQ(run.err.substr(0, line.size() + 1), line + "\n");
        EXPECT_TRUE(contains(run.err, "Usage: climadesk")) << run.err;
    }
    // File names as typed, also those Windows-1252 has no letters for.
    const std::string name = "\xD0\xB6\xD0\xB0\xD1\x80-z\xC3\xA4z.log";
    ProgramRun missing = runClimadesk({"stats", name});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Can't read " + name + "\n");

    // Leading zeros are decimal, as in the settings file's 192.168.001.200.
    Simulator sim({"--samples", "30"});
    ASSERT_TRUE(sim.started());
    std::string padded;
    for (size_t start = 0; start <= sim.address().size();) {
        const size_t dot = std::min(sim.address().find('.', start), sim.address().size());
        const std::string octet = sim.address().substr(start, dot - start);
        padded += std::string(padded.empty() ? "" : ".") + std::string(3 - octet.size(), '0') + octet;
        start = dot + 1;
    }
    ProgramRun run = runClimadesk({"download", padded, "-o", name});
    EXPECT_EQ(run.exitCode, 0) << padded << run.err;
    EXPECT_EQ(run.out, "30 samples written to " + name + "\n");
    EXPECT_TRUE(platform::fileExists(name));   // by that name, not the ANSI code page's likeness
    EXPECT_TRUE(sim.sawLine("dump 1"));

    // A record file named in Greek and Chinese letters is read by that name.
    const std::string greek = "\xCE\xB8\xCE\xAD\xCF\x81\xCE\xBC\xCE\xB7-\xE6\xB8\xA9\xE5\xBA\xA6.log";
    writeLog("plain.log", {{210, 600}, {250, 400}}, 3600, march15Noon);
    ASSERT_TRUE(platform::replaceFile(greek, readText("plain.log")));
    ProgramRun stats = runClimadesk({"stats", greek});
    EXPECT_EQ(stats.exitCode, 0) << stats.err;
    EXPECT_TRUE(contains(stats.out, "2 records (interval 60 minutes)\n")) << stats.out;
    ProgramRun report = runClimadesk({"report", greek, greek + "/report.pdf"});   // no such folder
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_EQ(report.err, "Can't write " + greek + "/report.pdf\n");
}

TEST_F(CliTest, OutputThatCannotBeWrittenAndMemoryThatRunsOutAreFailures)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/full and a data limit (RLIMIT_DATA), which Windows lacks";
#else
    writeLog("room.log", {{210, 600}, {250, 400}}, 3600, march15Noon);
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"stats", "room.log"}, {"stats", "room.log", "--json"}, {"--help"}}) {
        ProgramRun run = runClimadesk(arguments, {"/dev/full"});
        EXPECT_EQ(run.exitCode, 1) << arguments.back();
        EXPECT_EQ(run.err, "Can't write to standard output\n");
    }
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#else
    // Four million empty record lines are four million gap records: 48 MB, more
    // than the 32 MB of data the program may take here. An export keeps them
    // all; stats takes its figures a piece at a time and needs a few MB.
    writeText("huge.log", "***QX51***\r\n2024/03/15\r\n12:00     \r\nSR = 01min\r\n**********\r\n"
                              + std::string(4000000, '\n') + "**********\r\n");
    ProgramRun run = runClimadesk({"export", "huge.log", "huge.csv"}, {"", size_t{32} << 20});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Out of memory\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists("huge.csv"));
    run = runClimadesk({"stats", "huge.log", "--json"}, {"", size_t{32} << 20});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"count\": 4000000,"), std::string::npos);
    EXPECT_NE(run.out.find("\"coverage_percent\": 0.0,"), std::string::npos);
    // A record line of 20 MB, then the empty lines: the pieces after the long
    // line are of the usual size again, and so are their records.
    writeText("long.log", "***QX51***\r\n2024/03/15\r\n12:00     \r\nSR = 01min\r\n**********\r\n+1.0,2.0"
                              + std::string(20000000, ' ') + std::string(4000000, '\n') + "**********\r\n");
    run = runClimadesk({"stats", "long.log", "--json"}, {"", size_t{96} << 20});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"count\": 4000000,"), std::string::npos);
#endif
#endif
}

TEST_F(CliTest, DownloadBarOnATerminalEndsAtHundred)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs a pseudo-terminal, made by a Linux Python that a Windows program under Wine cannot wait for";
#else
    // So short a dump that no poll in between draws the bar.
    Simulator sim({"--samples", "300", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    ProgramRun run = runClimadeskOnTerminal({"download", sim.address(), "-o", "bar.log"});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    const size_t end = run.out.find("\r\n");
    ASSERT_NE(end, std::string::npos) << run.out;
    const std::string bar = run.out.substr(0, end);
    EXPECT_EQ(bar.substr(bar.rfind('\r') + 1), "[" + std::string(40, '#') + "] 100%") << run.out;
    EXPECT_EQ(run.out.substr(end + 2), "300 samples written to bar.log\r\n");
#endif
}

TEST_F(CliTest, StatsWithLimitsGivesTheExcursionsInBothOutputs)
{
    // Ten minutes apart: 30 minutes above 8.0 (peak 9.0), a gap, 10 minutes
    // above, 8.0 itself (within), 20 minutes below 2.0 ending in a gap.
    writeLog("fridge.log", {{52, 500}, {85, 600}, {90, 650}, {81, 620}, {0, 0}, {95, 500}, {80, 500}, {15, 450},
                            {10, 400}, {0, 0}},
             600, march15Noon);
    ProgramRun text = runClimadesk({"stats", "fridge.log", "--temp-limits", "2,8", "--delay", "20"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_TRUE(contains(text.out, "Temperature mean: 6.35 \xC2\xB0" "C\nHumidity mean: 52.75 RH%\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "Coverage: 80.0 %\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "Limits (delay 20 minutes)\nTemperature high: above 8.0 \xC2\xB0" "C\n"
                                   "  Excursions: 1\n  Time beyond: 30 minutes\n  Time beyond, cumulative: 40 minutes\n"
                                   "  Longest: 2024-03-15 10:40:00, 30 minutes, peak 9.0 \xC2\xB0" "C\n"
                                   "  First: 2024-03-15 10:40:00\n"
                                   "Temperature low: below 2.0 \xC2\xB0" "C\n  Excursions: 1\n"))
        << text.out;
    EXPECT_FALSE(contains(text.out, "Humidity high")) << text.out;

    // Limits in the output's scale: 35.6 and 46.4 degrees F are 2.0 and 8.0 degrees C.
    ProgramRun json = runClimadesk({"stats", "fridge.log", "--json", "--fahrenheit", "--temp-limits", "35.6,46.4",
                                    "--rh-limits", ",62.5"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
#ifndef _WIN32
    // Read back by Python's JSON reader (not under Wine, see above).
    ProgramRun parsed = runPython("import json, sys\n"
                                  "d = json.load(sys.stdin)\n"
                                  "print(d['temperature_mean'], d['humidity_mean'], d['dew_point_mean'] < d['mkt'])\n"
                                  "print(d['mkt_24h_max'], d['mkt_30d_max'], d['coverage_percent'])\n"
                                  "e = d['excursions']\n"
                                  "print(sorted(e), e['temperature_high']['limit'], e['temperature_low']['limit'])\n"
                                  "print(e['temperature_high'])\n"
                                  "print(e['humidity_high'])\n",
                                  json.out);
    EXPECT_EQ(parsed.exitCode, 0) << parsed.err << json.out;
    EXPECT_EQ(parsed.out,
              "43.43 52.75 True\n"
              "None None 80.0\n"
              "['humidity_high', 'temperature_high', 'temperature_low'] 46.4 35.6\n"
              "{'limit': 46.4, 'count': 2, 'seconds_beyond': 2400, 'seconds_beyond_cumulative': 2400, "
              "'longest': {'start': '2024-03-15 10:40:00', 'seconds': 1800, 'peak': 48.2}, "
              "'first': {'start': '2024-03-15 10:40:00'}}\n"
              "{'limit': 62.5, 'count': 1, 'seconds_beyond': 600, 'seconds_beyond_cumulative': 600, "
              "'longest': {'start': '2024-03-15 10:50:00', 'seconds': 600, 'peak': 65.0}, "
              "'first': {'start': '2024-03-15 10:50:00'}}\n");
    ProgramRun plain = runClimadesk({"stats", "fridge.log", "--json"});
    ProgramRun none = runPython("import json, sys\nprint(json.load(sys.stdin)['excursions'])\n", plain.out);
    EXPECT_EQ(none.out, "{}\n") << plain.out;
#endif

    // Bad limits: usage errors that name the option, and no output.
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--temp-limits", "abc,8"}, "--temp-limits: not a number: abc"},
        {{"--temp-limits", "8"}, "--temp-limits: LO,HI (either may be left empty): 8"},
        {{"--temp-limits", "9,8"}, "--temp-limits: the low limit lies above the high one: 9,8"},
        {{"--rh-limits", ",100.1"}, "--rh-limits: outside 0 to 100 %RH: 100.1"},
        {{"--rh-limits", "-1,"}, "--rh-limits: outside 0 to 100 %RH: -1"},
        {{"--delay", "-5"}, "--delay: a delay cannot be negative: -5"},
        {{"--delay", "1.5"}, "--delay: not a whole number of minutes: 1.5"},
    };
    for (const auto& [options, message] : refused) {
        std::vector<std::string> arguments = {"stats", "fridge.log"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ProgramRun run = runClimadesk(arguments);
        EXPECT_EQ(run.exitCode, 2) << message;
        EXPECT_TRUE(run.out.empty()) << message;
        EXPECT_TRUE(contains(run.err, message)) << run.err;
    }
}
