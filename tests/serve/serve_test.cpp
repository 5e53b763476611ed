// Unit tests of climadesk serve's parts and of the time-series archives: the
// logger list, the reading texts, what a query outcome does to a logger's
// state, the scrape and the status page, the .om and .lp texts, and the
// conversion of the logger's clock to UTC.
#include "device/protocol.h"
#include "export/timeseries.h"
#include "platform/clock.h"
#include "serve/loggers.h"
#include "serve/metrics.h"
#include "serve/query.h"
#include "serve/status_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Runs the test's body with TZ set to `zone`, and restores it after.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
    {
        const char* old = std::getenv("TZ");
        hadZone = old != nullptr;
        if (old)
            oldZone = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope()
    {
        if (hadZone)
            setenv("TZ", oldZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadZone = false;
    std::string oldZone;
};

serve::Answer answered(int32_t temperature, int32_t humidity)
{
    serve::Answer answer;
    answer.temperature = temperature;
    answer.humidity = humidity;
    answer.newestTime = 1710504000;   // 2024-03-15 12:00 on the logger's clock
    answer.interval = 300;
    answer.sampleCount = 4321;
    answer.durationMs = 12;
    return answer;
}

serve::Answer failed(serve::QueryFailure failure)
{
    serve::Answer answer;
    answer.failure = failure;
    answer.durationMs = 2000;
    return answer;
}

} // namespace

TEST(ServeLoggers, NamesAddressesAndConfigFiles)
{
    uint32_t address = 0;
    EXPECT_TRUE(serve::parseIpv4("127.0.12.200", address));
    EXPECT_EQ(address, 127u | 0u << 8 | 12u << 16 | 200u << 24);
    for (const char* bad : {"127.0.0", "127.0.0.256", "127.0.0.1.5", "127.0.0.1x", " 127.0.0.1", "127..0.1", "1270.0.0.1",
                            "localhost", ""})
        EXPECT_FALSE(serve::parseIpv4(bad, address)) << bad;

    serve::Logger logger;
    EXPECT_EQ(serve::parseLogger(" cold room = 127.0.0.9 ", logger), "");
    EXPECT_EQ(logger.name, "cold room");
    EXPECT_TRUE(contains(serve::parseLogger("cellar", logger), "NAME=IPV4"));
    EXPECT_TRUE(contains(serve::parseLogger("=127.0.0.1", logger), "needs a name"));
    EXPECT_TRUE(contains(serve::parseLogger("cellar=192.168.1", logger), "not an IPv4 address: 192.168.1"));
    EXPECT_TRUE(contains(serve::parseLogger("a\tb=127.0.0.1", logger), "control characters"));
    EXPECT_TRUE(contains(serve::parseLogger(std::string(65, 'x') + "=127.0.0.1", logger), "64 bytes"));
    EXPECT_EQ(serve::checkLoggerName("K\xC3\xBChlraum"), "");   // UTF-8 names are welcome

    std::vector<serve::Logger> loggers;
    EXPECT_EQ(serve::parseLoggerFile("# site A\n\ncellar = 127.0.0.2   # north\r\nattic=127.0.0.3", "serve.conf", loggers), "");
    ASSERT_EQ(loggers.size(), 2u);
    EXPECT_EQ(loggers[0].name, "cellar");
    EXPECT_EQ(loggers[1].name, "attic");
    EXPECT_EQ(serve::checkLoggers(loggers), "");
    EXPECT_EQ(serve::parseLoggerFile("a = 127.0.0.4\nb = 127.0.0\n", "serve.conf", loggers),
              "serve.conf line 2: not an IPv4 address: 127.0.0");

    loggers = {{"a", 1}, {"b", 2}, {"a", 3}};
    EXPECT_EQ(serve::checkLoggers(loggers), "the logger name a is given twice");
    loggers = {{"a", 0x0100007F}, {"b", 0x0100007F}};
    EXPECT_EQ(serve::checkLoggers(loggers), "the address 127.0.0.1 is given twice");
    EXPECT_TRUE(contains(serve::checkLoggers({}), "no logger"));
}

TEST(ServeQuery, ReadingTextsAsTenths)
{
    EXPECT_EQ(device::readingTenths("21.3"), 213);
    EXPECT_EQ(device::readingTenths("-4.2"), -42);
    EXPECT_EQ(device::readingTenths("-4"), -40);
    EXPECT_EQ(device::readingTenths("+0.5"), 5);
    EXPECT_EQ(device::readingTenths("100"), 1000);
    for (const char* bad : {"", "-", ".5", "21.", "21.35", "2a.1", "Err", "1e2", "21,3", "99999"})
        EXPECT_FALSE(device::readingTenths(bad)) << bad;
    EXPECT_STREQ(serve::failureReason(serve::Busy), "busy");
    EXPECT_STREQ(serve::failureReason(serve::ConnectFailed), "connect");
}

// A logger answers, fails twice, answers again: what the scrape and the page
// show at each step.
TEST(ServeMetrics, AnswersFailuresAndLimits)
{
    ZoneScope zone("UTC0");
    serve::LoggerState cellar;
    cellar.logger = {"cellar \"north\"", 127u | 9u << 24};
    cellar.downSince = 1000;
    serve::LoggerState attic;
    attic.logger = {"attic", 127u | 10u << 24};
    attic.downSince = 1000;

    analysis::Limits limits;
    limits.value[analysis::TemperatureHigh] = 80;
    limits.value[analysis::HumidityLow] = 300;

    serve::noteAnswer(cellar, answered(95, 455), 2000);
    serve::noteAnswer(attic, failed(serve::Silent), 2000);
    std::string text = serve::metricsText({cellar, attic}, limits);
    const std::string c = "{logger=\"cellar \\\"north\\\"\",address=\"127.0.0.9\"}";
    const std::string a = "{logger=\"attic\",address=\"127.0.0.10\"}";
    EXPECT_TRUE(contains(text, "# HELP sentrel_up "));
    EXPECT_TRUE(contains(text, "# TYPE sentrel_up gauge\n"));
    EXPECT_TRUE(contains(text, "sentrel_up" + c + " 1\n"));
    EXPECT_TRUE(contains(text, "sentrel_up" + a + " 0\n"));
    EXPECT_TRUE(contains(text, "sentrel_temperature_celsius" + c + " 9.5\n"));
    EXPECT_TRUE(contains(text, "sentrel_relative_humidity_ratio" + c + " 0.455\n"));
    EXPECT_TRUE(contains(text, "sentrel_dew_point_celsius" + c + " -1.7\n"));
    EXPECT_TRUE(contains(text, "sentrel_absolute_humidity_grams_per_cubic_meter" + c + " 4.1\n"));
    EXPECT_TRUE(contains(text, "sentrel_last_reading_timestamp_seconds" + c + " 1710504000\n"));
    EXPECT_TRUE(contains(text, "sentrel_stored_samples" + c + " 4321\n"));
    EXPECT_TRUE(contains(text, "sentrel_sample_interval_seconds" + c + " 300\n"));
    EXPECT_TRUE(contains(text, "sentrel_query_duration_seconds" + c + " 0.012\n"));
    EXPECT_TRUE(contains(text, "sentrel_query_duration_seconds" + a + " 2.000\n"));
    EXPECT_TRUE(contains(text, "# TYPE sentrel_queries_total counter\n"));
    EXPECT_TRUE(contains(text, "sentrel_query_failures_total{logger=\"attic\",address=\"127.0.0.10\",reason=\"silent\"} 1\n"));
    EXPECT_TRUE(contains(text, "sentrel_query_failures_total{logger=\"attic\",address=\"127.0.0.10\",reason=\"busy\"} 0\n"));
    EXPECT_TRUE(contains(text, "sentrel_temperature_high_limit_celsius" + a + " 8.0\n"));
    EXPECT_TRUE(contains(text, "sentrel_relative_humidity_low_limit_ratio" + c + " 0.300\n"));
    // No reading, no reading series; limits not given, no family at all.
    EXPECT_FALSE(contains(text, "sentrel_temperature_celsius" + a));
    EXPECT_FALSE(contains(text, "sentrel_temperature_low_limit_celsius"));
    EXPECT_FALSE(contains(text, "sentrel_relative_humidity_high_limit_ratio"));

    std::string page = serve::statusPage({cellar, attic}, limits, 30);
    EXPECT_TRUE(contains(page, "<meta http-equiv=\"refresh\" content=\"30\">"));
    EXPECT_TRUE(contains(page, "<tr class=\"beyond\"><td>cellar &quot;north&quot;</td><td>127.0.0.9</td>"
                               "<td class=\"state\">answering</td><td class=\"number alarm\">9.5</td>"
                               "<td class=\"number\">45.5</td><td class=\"number\">-1.7</td><td>1970-01-01 00:33:20</td></tr>"));
    EXPECT_TRUE(contains(page, "<tr class=\"down\"><td>attic</td><td>127.0.0.10</td>"
                               "<td class=\"state\">no answer yet, since 1970-01-01 00:16:40</td>"));
    EXPECT_FALSE(contains(page, "<script"));

    // The cellar stops answering: its readings leave the scrape, the page keeps
    // them greyed and says since when; the counters go on.
    serve::noteAnswer(cellar, failed(serve::Busy), 2030);
    serve::noteAnswer(cellar, failed(serve::Garbage), 2060);
    text = serve::metricsText({cellar}, {});
    EXPECT_TRUE(contains(text, "sentrel_up" + c + " 0\n"));
    EXPECT_FALSE(contains(text, "sentrel_temperature_celsius"));
    EXPECT_FALSE(contains(text, "sentrel_last_reading_timestamp_seconds"));
    EXPECT_TRUE(contains(text, "sentrel_queries_total" + c + " 3\n"));
    EXPECT_TRUE(contains(text, "reason=\"busy\"} 1\n"));
    EXPECT_TRUE(contains(text, "reason=\"garbage\"} 1\n"));
    page = serve::statusPage({cellar}, limits, 30);
    EXPECT_TRUE(contains(page, "<tr class=\"down beyond\">"));
    EXPECT_TRUE(contains(page, "no answer since 1970-01-01 00:33:50"));   // the first failure, not the last

    serve::noteAnswer(cellar, answered(60, 500), 2090);
    text = serve::metricsText({cellar}, limits);
    EXPECT_TRUE(contains(text, "sentrel_temperature_celsius" + c + " 6.0\n"));
    EXPECT_FALSE(contains(serve::statusPage({cellar}, limits, 30), "beyond\""));
}

TEST(ServeArchives, OpenMetricsAndLineProtocol)
{
    // 12:00 a gap, 12:05 a reading without derived values (humidity 0 is not above
    // 0 %RH), 12:10 and 12:15 whole ones.
    std::vector<records::Record> recs = {
        {1710504000, 0, 0}, {1710504300, 0, 215}, {1710504600, 455, 95}, {1710504900, 1000, -42}};
    xls::SeriesOptions options{"cold,room 1", 3600};   // the logger's clock runs at UTC+01:00
    const std::string om = xls::openMetricsText(recs, options);
    EXPECT_EQ(om,
              "# TYPE sentrel_temperature_celsius gauge\n"
              "# HELP sentrel_temperature_celsius Temperature, in degrees Celsius.\n"
              "sentrel_temperature_celsius{logger=\"cold,room 1\"} 21.5 1710500700\n"
              "sentrel_temperature_celsius{logger=\"cold,room 1\"} 9.5 1710501000\n"
              "sentrel_temperature_celsius{logger=\"cold,room 1\"} -4.2 1710501300\n"
              "# TYPE sentrel_relative_humidity_ratio gauge\n"
              "# HELP sentrel_relative_humidity_ratio Relative humidity, as a ratio from 0 to 1.\n"
              "sentrel_relative_humidity_ratio{logger=\"cold,room 1\"} 0.000 1710500700\n"
              "sentrel_relative_humidity_ratio{logger=\"cold,room 1\"} 0.455 1710501000\n"
              "sentrel_relative_humidity_ratio{logger=\"cold,room 1\"} 1.000 1710501300\n"
              "# TYPE sentrel_dew_point_celsius gauge\n"
              "# HELP sentrel_dew_point_celsius Dew point, in degrees Celsius.\n"
              "sentrel_dew_point_celsius{logger=\"cold,room 1\"} -1.7 1710501000\n"
              "sentrel_dew_point_celsius{logger=\"cold,room 1\"} -4.2 1710501300\n"
              "# TYPE sentrel_absolute_humidity_grams_per_cubic_meter gauge\n"
              "# HELP sentrel_absolute_humidity_grams_per_cubic_meter Absolute humidity, in grams of water per cubic metre of air.\n"
              "sentrel_absolute_humidity_grams_per_cubic_meter{logger=\"cold,room 1\"} 4.1 1710501000\n"
              "sentrel_absolute_humidity_grams_per_cubic_meter{logger=\"cold,room 1\"} 3.6 1710501300\n"
              "# EOF\n");
    EXPECT_EQ(xls::lineProtocolText(recs, options),
              "sentrel,logger=cold\\,room\\ 1 temperature=21.5,humidity=0.0 1710500700\n"
              "sentrel,logger=cold\\,room\\ 1 temperature=9.5,humidity=45.5,dew_point=-1.7,absolute_humidity=4.1 1710501000\n"
              "sentrel,logger=cold\\,room\\ 1 temperature=-4.2,humidity=100.0,dew_point=-4.2,absolute_humidity=3.6 1710501300\n");
    EXPECT_EQ(xls::lineProtocolText({{-1, 455, 95}}, options), "");   // no time, no line
}

// Berlin: daylight saving from 2024-03-31 02:00 (to 03:00) until 2024-10-27
// 03:00 (back to 02:00).
TEST(ServeArchives, WallClockToUtcAcrossDaylightSaving)
{
    ZoneScope zone("Europe/Berlin");
    const int64_t march31 = 1711843200;     // 2024-03-31 00:00 as written
    const int64_t october27 = 1729987200;   // 2024-10-27 00:00 as written
    EXPECT_EQ(platform::utcOfWallClock(march31 + 3600), march31);              // 01:00 CET
    EXPECT_EQ(platform::utcOfWallClock(march31 + 3 * 3600), march31 + 3600);   // 03:00 CEST
    // 02:30 never came: read as CET, it is 01:30 UTC, which the clock shows as 03:30.
    EXPECT_EQ(platform::utcOfWallClock(march31 + 2 * 3600 + 1800), march31 + 3600 + 1800);
    // 02:30 came twice: the first time, still CEST.
    EXPECT_EQ(platform::utcOfWallClock(october27 + 2 * 3600 + 1800), october27 + 1800);
    EXPECT_EQ(platform::utcOfWallClock(october27 + 3 * 3600), october27 + 2 * 3600);   // 03:00 CET
    EXPECT_EQ(platform::wallClockOf(october27 + 1800), october27 + 2 * 3600 + 1800);
    EXPECT_EQ(platform::wallClockOf(october27 + 3600 + 1800), october27 + 2 * 3600 + 1800);

    // A clock that did not skip the hour: 02:00 and 02:30 read as CET become
    // 01:00 and 01:30 UTC, so 03:00 and 03:30 CEST, the same moments again, are
    // left out; 04:00 goes on.
    std::vector<records::Record> recs;
    for (int64_t t = march31 + 3600; t <= march31 + 4 * 3600; t += 1800)
        recs.push_back({static_cast<int32_t>(t), 500, 200});
    std::string times;
    const std::string lp = xls::lineProtocolText(recs, {"x", std::nullopt});
    for (size_t end = lp.find('\n'), start = 0; end != std::string::npos; start = end + 1, end = lp.find('\n', start))
        times += std::to_string((std::stoll(lp.substr(lp.rfind(' ', end) + 1, end)) - march31) / 60) + " ";
    EXPECT_EQ(times, "0 30 60 90 120 ");
}
