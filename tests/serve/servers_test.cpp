// climadesk serve and the archives against the real servers, all on loopback:
// sentrel-sim loggers, `climadesk serve`, Prometheus scraping it every second,
// promtool back-filling an .om archive and testing the alert rules, InfluxDB
// taking an .lp archive, and Chromium drawing the status page. A test whose
// server is not installed or cannot start is skipped and says why.
#include "cli/run.h"
#include "serve/servers.h"
#include "support/simulator.h"
#include "support/workdir.h"

#include "platform/file.h"
#include "platform/images.h"
#include "platform/testing.h"
#include "records/logfile.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <regex>

namespace t = platform::testing;

namespace {

constexpr int readImage = 900;   // the screenshot read back, an id the program leaves free

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class ServeServers : public WorkDirTest {
protected:
    // Starts climadesk serve with `arguments`; its port once it listens, else 0.
    int startServe(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> args = {"serve", "--listen", "127.0.0.1:0"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        serve = std::make_unique<Child>(CLIMADESK_EXE, args, pathOf("serve.out"));
        return servePort(*serve);
    }

    // An instant query of Prometheus at `port`, at UTC second `time` (0: now).
    static std::string query(int port, const std::string& promql, int64_t time = 0)
    {
        std::string path = "/api/v1/query?query=" + urlEncoded(promql);
        if (time != 0)
            path += "&time=" + std::to_string(time);
        return httpGet(port, path);
    }

    std::unique_ptr<Child> serve;
};

// `count` records a minute apart, newest at `newest`: temperature
// -10.0 to 39.9 and humidity 30.0 to 89.9 degrees in ramps, one gap at index
// `gap`. A record file keeps no record with a 0 in it (a gap line instead), so
// every 500th record, whose temperature is 0.0, is a gap too.
std::vector<records::Record> rampRecords(int32_t count, int32_t newest, int32_t gap)
{
    std::vector<records::Record> recs;
    for (int32_t i = 0; i < count; ++i)
        recs.push_back(i == gap ? records::Record{0, 0, 0} : records::Record{0, 300 + i % 600, -100 + i % 500});
    records::assignTimes(recs, newest, 60);
    return recs;
}

} // namespace

TEST_F(ServeServers, PrometheusScrapesTheLiveReadings)
{
    Simulator cellar({"--readings", " 21.5 45.0"});
    Simulator freezer({"--readings", "-18.2 61.5"});
    Simulator shed({"--silent"});
    ASSERT_TRUE(cellar.started() && freezer.started() && shed.started());
    const int port = startServe({"--logger", "cellar=" + cellar.address(), "--logger", "freezer=" + freezer.address(),
                                 "--logger", "shed=" + shed.address(), "--every", "1", "--temp-limits", ",8"});
    ASSERT_NE(port, 0) << serve->output();

    std::string why;
    int promPort = 0;
    auto prometheus = startPrometheus(dir,
                                      "global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                                      "scrape_configs:\n  - job_name: climadesk\n    static_configs:\n"
                                      "      - targets: ['127.0.0.1:" + std::to_string(port) + "']\n",
                                      {}, promPort, why);
    if (!prometheus)
        GTEST_SKIP() << why;
    std::string up;
    EXPECT_TRUE(waitUntil([&] {
        up = query(promPort, "sentrel_up");
        return promValue(up, "shed") == "0" && promValue(up, "cellar") == "1" && promValue(up, "freezer") == "1";
    }, 30000)) << up;
    const std::string temperature = query(promPort, "sentrel_temperature_celsius");
    EXPECT_EQ(promValue(temperature, "cellar"), "21.5");
    EXPECT_EQ(promValue(temperature, "freezer"), "-18.2");
    EXPECT_EQ(promValue(temperature, "shed"), "");
    const std::string humidity = query(promPort, "sentrel_relative_humidity_ratio");
    EXPECT_EQ(promValue(humidity, "cellar"), "0.45");
    EXPECT_EQ(promValue(humidity, "freezer"), "0.615");
    // The limit gauge pairs with the reading by its labels, as the alert rules use it.
    const std::string beyond = query(promPort, "sentrel_temperature_celsius > sentrel_temperature_high_limit_celsius");
    EXPECT_EQ(promValue(beyond, "cellar"), "21.5");
    EXPECT_EQ(promValue(beyond, "freezer"), "");
    EXPECT_EQ(promValue(query(promPort, "sentrel_query_failures_total{reason=\"silent\"} > 0"), "shed").empty(), false);
    EXPECT_TRUE(contains(query(promPort, "sentrel_up"), "\"address\":\"" + shed.address() + "\""));

    EXPECT_EQ(serve->stop(SIGTERM, 5000), 0) << serve->output();
}

// Loggers that fail each in its own way, scraped straight from serve: each
// failure is counted under its reason, and none holds up the answering one.
TEST_F(ServeServers, EachFailureHasItsReason)
{
    Simulator good({"--readings", " 20.0 50.0"});
    Simulator busy({"--busy", "100000"});
    Simulator garbled({"--garbled"});
    Simulator closing({"--close-after-query"});
    Simulator silent({"--silent"});
    ASSERT_TRUE(good.started() && busy.started() && garbled.started() && closing.started() && silent.started());
    const std::string nobody = Simulator::unusedAddress();
    const int port = startServe({"--logger", "good=" + good.address(), "--logger", "busy=" + busy.address(),
                                 "--logger", "garbled=" + garbled.address(), "--logger", "closing=" + closing.address(),
                                 "--logger", "silent=" + silent.address(), "--logger", "nobody=" + nobody,
                                 "--every", "0.5"});
    ASSERT_NE(port, 0) << serve->output();
    const auto failures = [](const std::string& metrics, const std::string& logger, const std::string& reason) {
        const std::regex line("sentrel_query_failures_total\\{logger=\"" + logger + "\",address=\"[0-9.]+\",reason=\""
                              + reason + "\"\\} ([0-9]+)");
        std::smatch match;
        return std::regex_search(metrics, match, line) ? std::stol(match[1]) : -1L;
    };
    std::string metrics;
    EXPECT_TRUE(waitUntil([&] {
        metrics = httpGet(port, "/metrics");
        return failures(metrics, "busy", "busy") > 0 && failures(metrics, "garbled", "garbage") > 0
            && failures(metrics, "closing", "closed") > 0 && failures(metrics, "silent", "silent") > 0
            && failures(metrics, "nobody", "connect") > 0;
    }, 15000)) << metrics;
    for (const char* logger : {"busy", "garbled", "silent", "nobody"}) {
        EXPECT_TRUE(contains(metrics, std::string("sentrel_up{logger=\"") + logger + "\"")) << logger;
        EXPECT_FALSE(contains(metrics, std::string("sentrel_temperature_celsius{logger=\"") + logger + "\"")) << logger;
    }
    EXPECT_TRUE(std::regex_search(metrics, std::regex("sentrel_up\\{logger=\"good\",address=\"[0-9.]+\"\\} 1\n")));
    EXPECT_TRUE(std::regex_search(metrics, std::regex("sentrel_temperature_celsius\\{logger=\"good\",address=\"[0-9.]+\"\\} 20.0\n")));
    // Beside them, the answering logger never failed.
    EXPECT_EQ(failures(metrics, "good", "silent") + failures(metrics, "good", "connect"), 0);
    EXPECT_EQ(serve->stop(SIGTERM, 5000), 0) << serve->output();
}

TEST_F(ServeServers, PromtoolBackfillsAnOpenMetricsExport)
{
    const std::string promtool = programPath("promtool");
    if (promtool.empty())
        GTEST_SKIP() << "promtool is not installed (scripts/setup installs prometheus)";
    const int32_t newest = 1710504000;   // 2024-03-15 12:00 on the logger's clock, UTC+01:00
    const std::vector<records::Record> recs = rampRecords(99999, newest, 50000);
    writeText("cellar.log", records::formatLogFile(recs, 60));
    ProgramRun exported = runClimadesk({"export", "cellar.log", "cellar.om", "--logger", "cellar", "--utc-offset", "+01:00"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    ASSERT_TRUE(contains(readText("cellar.om"), "\n# EOF\n"));

    // Blocks of up to 2000 hours (a hidden flag of promtool): its 2-hour blocks
    // would be 834 for these 69 days, and take minutes.
    Child backfill(promtool, {"tsdb", "create-blocks-from", "openmetrics", "--max-block-duration=2000h",
                              pathOf("cellar.om"), pathOf("data")},
                   pathOf("promtool.out"));
    ASSERT_EQ(backfill.finish(120000), 0) << backfill.output();

    std::string why;
    int port = 0;
    auto prometheus = startPrometheus(dir, "global:\n  scrape_interval: 1m\n", {"--storage.tsdb.retention.time=100y"}, port, why);
    if (!prometheus)
        GTEST_SKIP() << why;
    const std::string series = "sentrel_temperature_celsius{logger=\"cellar\"}";
    for (int32_t i : {0, 49999, 99998}) {
        const int64_t utc = recs[i].time - 3600;
        std::string answer;
        EXPECT_TRUE(waitUntil([&] { return !promValue(answer = query(port, series, utc), "cellar").empty(); }, 20000)) << answer;
        EXPECT_DOUBLE_EQ(std::stod(promValue(answer, "cellar")), recs[i].temperature / 10.0) << "record " << i;
        const std::string ratio = promValue(query(port, "sentrel_relative_humidity_ratio{logger=\"cellar\"}", utc), "cellar");
        EXPECT_DOUBLE_EQ(std::stod("0" + ratio), recs[i].humidity / 1000.0) << "record " << i;
    }
    // The gap has no sample: at its time the newest sample is the one before it.
    EXPECT_EQ(promValue(query(port, "timestamp(" + series + ")", recs[50000].time - 3600), "cellar"),
              std::to_string(recs[49999].time - 3600));
}

TEST_F(ServeServers, InfluxdbTakesALineProtocolExport)
{
    const std::string influxd = programPath("influxd");
    if (influxd.empty())
        GTEST_SKIP() << "influxd is not installed (scripts/setup installs influxdb)";
    const int32_t newest = 1710504000;
    const std::vector<records::Record> recs = rampRecords(99999, newest, 50000);
    writeText("cellar.log", records::formatLogFile(recs, 60));
    ProgramRun exported = runClimadesk({"export", "cellar.log", "cellar.lp", "--logger", "cellar", "--utc-offset", "-05:30"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;

    const int port = freePort();
    const int rpcPort = freePort();
    std::ofstream(pathOf("influxdb.conf"))
        << "reporting-disabled = true\nbind-address = \"127.0.0.1:" << rpcPort << "\"\n"
        << "[meta]\n  dir = \"" << dir << "/meta\"\n"
        << "[data]\n  dir = \"" << dir << "/data\"\n  wal-dir = \"" << dir << "/wal\"\n  query-log-enabled = false\n"
        << "[http]\n  bind-address = \"127.0.0.1:" << port << "\"\n  log-enabled = false\n"
        << "[monitor]\n  store-enabled = false\n";
    Child server(influxd, {"-config", pathOf("influxdb.conf")}, pathOf("influxd.out"));
    if (!waitUntil([&] { return !httpGet(port, "/query?q=SHOW%20DATABASES").empty(); }, 30000))
        GTEST_SKIP() << "influxd did not start: " << server.output().substr(0, 2000);
    ASSERT_TRUE(httpPost(port, "/query?q=CREATE%20DATABASE%20sentrel", "", "application/x-www-form-urlencoded"));
    ASSERT_TRUE(httpPost(port, "/write?db=sentrel&precision=s", readText("cellar.lp"), "text/plain"));

    for (int32_t i : {0, 49999, 99998}) {
        const int64_t utc = recs[i].time + 5 * 3600 + 1800;
        const records::Record& r = recs[i];
        const std::string answer = httpGet(port, "/query?db=sentrel&epoch=s&q="
            + urlEncoded("SELECT temperature, humidity FROM sentrel WHERE logger = 'cellar' AND time = " + std::to_string(utc) + "s"));
        const auto tenths = [](int32_t v) { return std::to_string(v / 10) + "." + std::to_string((v % 10 + 10) % 10); };
        // Whole numbers come back without their ".0".
        std::string t = tenths(r.temperature), h = tenths(r.humidity);
        for (std::string* v : {&t, &h})
            if (v->size() > 2 && v->substr(v->size() - 2) == ".0")
                v->resize(v->size() - 2);
        EXPECT_TRUE(contains(answer, "[[" + std::to_string(utc) + "," + t + "," + h + "]]")) << "record " << i << ": " << answer;
    }
    const std::string count = httpGet(port, "/query?db=sentrel&q=" + urlEncoded("SELECT count(temperature) FROM sentrel"));
    const auto written = std::count_if(recs.begin(), recs.end(), [](const records::Record& r) { return !records::isGap(r); });
    EXPECT_TRUE(contains(count, "," + std::to_string(written) + "]]")) << count;   // every record but the gaps
}

TEST_F(ServeServers, AlertRulesPassPromtool)
{
    const std::string promtool = programPath("promtool");
    if (promtool.empty())
        GTEST_SKIP() << "promtool is not installed (scripts/setup installs prometheus)";
    const std::string rules = std::string(PACKAGING_DIR) + "/prometheus/sentrel.rules.yml";
    Child check(promtool, {"check", "rules", rules}, pathOf("check.out"));
    EXPECT_EQ(check.finish(30000), 0) << check.output();
    std::ifstream in(std::string(SERVE_TEST_DIR) + "/sentrel.rules.test.yml");
    std::string tests((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tests.replace(tests.find("RULES_FILE"), 10, rules);
    writeText("rules.test.yml", tests);
    Child test(promtool, {"test", "rules", pathOf("rules.test.yml")}, pathOf("test.out"));
    EXPECT_EQ(test.finish(30000), 0) << test.output();
}

// The page as Chromium draws it; the screenshot stays as build/serve-status.png.
TEST_F(ServeServers, StatusPageInChromium)
{
    const std::string chromium = programPath("chromium");
    if (chromium.empty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup installs it)";
    Simulator pantry({"--readings", "  5.0 50.0"});
    Simulator fridge({"--readings", "  9.5 81.0"});
    Simulator shed({"--silent"});
    ASSERT_TRUE(pantry.started() && fridge.started() && shed.started());
    const int port = startServe({"--logger", "pantry=" + pantry.address(), "--logger", "fridge=" + fridge.address(),
                                 "--logger", "shed=" + shed.address(), "--every", "2", "--temp-limits", "2,8",
                                 "--rh-limits", ",80"});
    ASSERT_NE(port, 0) << serve->output();
    std::string page;
    ASSERT_TRUE(waitUntil([&] {
        page = httpGet(port, "/");
        return contains(page, "pantry</td><td>" + pantry.address() + "</td><td class=\"state\">answering")
            && contains(page, "fridge</td><td>" + fridge.address() + "</td><td class=\"state\">answering");
    }, 10000)) << page;

    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    const std::string profile = pathOf("profile");
    const std::string screenshot = std::string(BUILD_DIR) + "/serve-status.png";
    std::remove(screenshot.c_str());
    const std::vector<std::string> flags = {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                            "--no-first-run", "--disable-background-networking",
                                            "--disable-component-update", "--disable-sync",
                                            "--user-data-dir=" + profile, "--hide-scrollbars", "--window-size=1280,360"};
    std::vector<std::string> shot = flags;
    shot.insert(shot.end(), {"--screenshot=" + screenshot, url});
    Child drawing(chromium, shot, pathOf("chromium.out"));
    ASSERT_EQ(drawing.finish(60000), 0) << drawing.output();
    std::vector<std::string> dump = flags;
    dump.insert(dump.end(), {"--dump-dom", url});
    Child dom(chromium, dump, pathOf("dom.out"));
    ASSERT_EQ(dom.finish(60000), 0);
    const std::string drawn = dom.output();
    EXPECT_TRUE(contains(drawn, "<tr class=\"beyond\"><td>fridge</td>")) << drawn;
    EXPECT_TRUE(contains(drawn, "<tr><td>pantry</td>"));
    EXPECT_TRUE(contains(drawn, "<tr class=\"down\"><td>shed</td>"));

    ASSERT_TRUE(t::loadImagePng(readImage, screenshot));
    const platform::Size size = platform::imageSize(readImage);
    EXPECT_EQ(size.width, 1280);
    EXPECT_EQ(size.height, 360);
    // The header row is grey, the fridge's row rose and wider than its text.
    int grey = 0, rose = 0, alarm = 0;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const platform::Color c = platform::pixel(readImage, x, y);
            grey += c == platform::rgb(0xE8, 0xE8, 0xE8);
            rose += c == platform::rgb(0xFD, 0xE0, 0xDC);
            alarm += c == platform::rgb(0xBB, 0x00, 0x00);
        }
    EXPECT_GT(grey, 5000);
    EXPECT_GT(rose, 5000);
    EXPECT_GT(alarm, 20);   // the values beyond a limit, and the silent logger's state
    EXPECT_EQ(serve->stop(SIGINT, 5000), 0) << serve->output();
}

TEST_F(ServeServers, BadOptionsAreRefused)
{
    ProgramRun twice = runClimadesk({"serve", "--logger", "a=127.0.0.2", "--logger", "a=127.0.0.3"});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_TRUE(contains(twice.err, "the logger name a is given twice")) << twice.err;
    ProgramRun notIpv4 = runClimadesk({"serve", "--logger", "a=127.0.0.300"});
    EXPECT_EQ(notIpv4.exitCode, 2);
    EXPECT_TRUE(contains(notIpv4.err, "not an IPv4 address: 127.0.0.300")) << notIpv4.err;
    ProgramRun badListen = runClimadesk({"serve", "--logger", "a=127.0.0.2", "--listen", "localhost:80"});
    EXPECT_EQ(badListen.exitCode, 2);
    EXPECT_TRUE(contains(badListen.err, "--listen")) << badListen.err;
    ProgramRun none = runClimadesk({"serve"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(contains(none.err, "no logger to watch")) << none.err;
    writeText("serve.conf", "# loggers\ncellar = 127.0.0.2\nattic 127.0.0.3\n");
    ProgramRun config = runClimadesk({"serve", "--config", "serve.conf"});
    EXPECT_EQ(config.exitCode, 2);
    EXPECT_TRUE(contains(config.err, "serve.conf line 3: a logger is NAME=IPV4")) << config.err;
    ProgramRun missing = runClimadesk({"serve", "--config", "absent.conf"});
    EXPECT_EQ(missing.exitCode, 1);
    ProgramRun every = runClimadesk({"serve", "--logger", "a=127.0.0.2", "--every", "0"});
    EXPECT_EQ(every.exitCode, 2);

    // A port in use: this test holds it.
    const int holder = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(holder, 1), 0);
    ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string taken = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    ProgramRun inUse = runClimadesk({"serve", "--logger", "a=127.0.0.2", "--listen", taken});
    close(holder);
    EXPECT_EQ(inUse.exitCode, 1);
    EXPECT_TRUE(contains(inUse.err, "Can't listen on " + taken)) << inUse.err;

    writeText("in.log", records::formatLogFile(rampRecords(3, 1710504000, -1), 60));
    ProgramRun unnamed = runClimadesk({"export", "in.log", "out.om"});
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_TRUE(contains(unnamed.err, "needs the logger's name")) << unnamed.err;
    for (const char* bad : {"1:00", "+01:+5", "+15:00", "+01:60", "+0x:00", "+01-00"}) {
        ProgramRun offset = runClimadesk({"export", "in.log", "out.lp", "--logger", "a", "--utc-offset", bad});
        EXPECT_EQ(offset.exitCode, 2) << bad;
        EXPECT_TRUE(contains(offset.err, "--utc-offset")) << offset.err;
        EXPECT_FALSE(platform::fileExists("out.lp")) << bad;
    }
}
