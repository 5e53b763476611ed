#include "options.h"

#include "net.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace sim {

namespace {

const char* const helpText = R"(Usage: sentrel-sim [options]

Simulates a Sentrel32 temperature and humidity logger on a loopback address, for
tests and demonstrations. It answers the 64-byte query "QX51C" and the dump
"QX51D" on any number of connections, each kept open across any number of
requests. It only listens; it never connects anywhere.

Where:
  --address A        loopback address to listen on (127.0.0.0/8 only);
                     default 127.0.0.1
  --port P           port to listen on; default 80 (the program always uses 80)

What the logger holds:
  --samples N        stored samples, 0 to 99999; default 2000
  --interval M       logging interval in minutes, 0 to 99; default 5
  --newest T         time of the newest sample, "YYYY/MM/DD HH:MM"; default now
                     (local time), rounded down to the interval
  --seed S           seed of the plausible indoor curves (about 20 C and 48 %RH
                     with a daily swing, and an occasional gap sample); default 1
  --ramp             samples follow a fixed ramp instead: sample i (0 = oldest)
                     has humidity 300 + i mod 600 and temperature -100 + i mod 500
                     tenths, and every sample with i mod 25 = 24 is a gap
  --readings TEXT    fixed display texts for bytes 50-59 (temperature in the
                     first five, humidity in the last five); a shorter TEXT is
                     padded with zero bytes. TEXT|TEXT|... gives one to each
                     query in turn, the last one to every query after. Default:
                     live texts such as " 21.3" and " 47.9" that change from one
                     query to the next

Faults:
  --busy N           answer the first N queries "BUSY"
  --garbled          answer every query with a status that is neither OK nor BUSY
  --silent           never answer a request (the connection stays open)
  --close-after-query
                     close each connection once its first query is answered
  --short-dump K     send only the first K bytes of the dump, then nothing
  --reset-after K    send only the first K bytes of the dump, then reset the
                     connection (a TCP reset, as from a logger that crashes or
                     restarts mid-dump)
  --chunk B          send replies in pieces of B bytes, each in a send and a
                     TCP segment of its own ...
  --delay MS         ... with MS milliseconds between pieces (stay below 2000
                     to keep within the program's time-out)
  --extra K          send K more bytes after the dump
  --query-extra K    send K more bytes after each query reply
  --zero-date        pad the time field with zero bytes instead of blanks
  --raw-count TEXT   put TEXT (up to 5 characters, e.g. "-0005" or "abc") in the
                     count field; the dump still sends --samples samples
  --raw-interval TEXT
                     put TEXT (up to 2 characters, e.g. " 5") in the interval
                     field

Running:
  --until-stdin-closes
                     end when standard input reaches its end (a test gives it
                     a pipe, so the simulator never outlives the test)

Output: one line per event on standard output: "listening on A:P" once ready,
then "connection N", "query N", "dump N", "unknown N" (another request),
"closed N" (the peer closed), "hung up N" (closed by --close-after-query) and
"reset N" (reset by --reset-after).
)";

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "sentrel-sim: %s (see --help)\n", why.c_str());
    std::exit(2);
}

int number(const std::string& name, const std::string& text, int low, int high)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || value < low || value > high)
        fail(name + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high)
             + ", not \"" + text + "\"");
    return value;
}

bool isLoopback(const std::string& address)
{
    in_addr parsed = {};
    return inet_pton(AF_INET, address.c_str(), &parsed) == 1 && (ntohl(parsed.s_addr) >> 24) == 127;
}

bool isNewestTime(const std::string& text)
{
    const char* shape = "dddd/dd/dd dd:dd";
    if (text.size() != std::strlen(shape))
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (shape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != shape[i])
            return false;
    return true;
}

std::string limited(const std::string& name, const std::string& text, size_t length)
{
    if (text.size() > length)
        fail(name + " takes at most " + std::to_string(length) + " characters");
    return text;
}

// "A|B|C" into its texts, each at most 10 characters.
std::vector<std::string> readingTexts(const std::string& text)
{
    std::vector<std::string> texts;
    size_t start = 0;
    for (size_t bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1)
        texts.push_back(limited("--readings", text.substr(start, bar - start), 10));
    texts.push_back(limited("--readings", text.substr(start), 10));
    return texts;
}

void check(const Options& o)
{
    if (!isLoopback(o.address))
        fail("refusing to listen on \"" + o.address + "\": only loopback addresses (127.0.0.0/8) are allowed");
    if (!o.newest.empty() && !isNewestTime(o.newest))
        fail("--newest needs \"YYYY/MM/DD HH:MM\", not \"" + o.newest + "\"");
    if (o.chunkDelayMs > 0 && o.chunkBytes == 0)
        fail("--delay needs --chunk");
}

} // namespace

Options parseOptions(int argc, char** argv)
{
    Options o;
    using Setter = std::function<void(const std::string&)>;
    const std::map<std::string, Setter> valued = {
        {"--address", [&](const std::string& v) { o.address = v; }},
        {"--port", [&](const std::string& v) { o.port = number("--port", v, 1, 65535); }},
        {"--samples", [&](const std::string& v) { o.samples = number("--samples", v, 0, 99999); }},
        {"--interval", [&](const std::string& v) { o.intervalMinutes = number("--interval", v, 0, 99); }},
        {"--newest", [&](const std::string& v) { o.newest = v; }},
        {"--seed", [&](const std::string& v) { o.seed = static_cast<unsigned>(number("--seed", v, 0, 1 << 30)); }},
        {"--readings", [&](const std::string& v) { o.readings = readingTexts(v); }},
        {"--busy", [&](const std::string& v) { o.busyReplies = number("--busy", v, 0, 1000000); }},
        {"--short-dump", [&](const std::string& v) { o.shortDump = number("--short-dump", v, 0, 299997); }},
        {"--reset-after", [&](const std::string& v) { o.resetAfter = number("--reset-after", v, 0, 299997); }},
        {"--chunk", [&](const std::string& v) { o.chunkBytes = number("--chunk", v, 1, 300000); }},
        {"--delay", [&](const std::string& v) { o.chunkDelayMs = number("--delay", v, 0, 60000); }},
        {"--extra", [&](const std::string& v) { o.extraBytes = number("--extra", v, 0, 1000000); }},
        {"--query-extra", [&](const std::string& v) { o.queryExtraBytes = number("--query-extra", v, 0, 1000); }},
        {"--raw-count", [&](const std::string& v) { o.rawCount = limited("--raw-count", v, 5); }},
        {"--raw-interval", [&](const std::string& v) { o.rawInterval = limited("--raw-interval", v, 2); }},
    };
    const std::map<std::string, bool*> flags = {
        {"--ramp", &o.ramp},
        {"--garbled", &o.garbled},
        {"--silent", &o.silent},
        {"--close-after-query", &o.closeAfterQuery},
        {"--zero-date", &o.zeroDate},
        {"--until-stdin-closes", &o.untilStdinCloses},
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(helpText, stdout);
            std::exit(0);
        }
        if (auto flag = flags.find(arg); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        auto option = valued.find(name);
        if (option == valued.end())
            fail("unknown option \"" + arg + "\"");
        if (equals != std::string::npos)
            option->second(arg.substr(equals + 1));
        else if (i + 1 < argc)
            option->second(argv[++i]);
        else
            fail(name + " needs a value");
    }
    check(o);
    return o;
}

} // namespace sim
