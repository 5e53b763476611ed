// settings.cpp: reading and writing the settings file.
#include "app/settings.h"

#include "analysis/limit_input.h"
#include "platform/file.h"
#include "records/ascii.h"
#include "records/decimal.h"

#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace app {

namespace {

// Names and values as the file spells them.
constexpr const char* settingsGroup = "Settings";
constexpr const char* networkGroup = "TCP/IP Settings";
constexpr const char* serialPortKey = "Serial Port";
constexpr const char* humidityColorKey = "Color RH";
constexpr const char* temperatureColorKey = "Color Temp";
constexpr const char* scaleKey = "Temperature scale";
constexpr const char* styleKey = "Style";
constexpr const char* addressKey = "IP Address";
constexpr const char* limitsGroup = "Limits";
constexpr const char* delayKey = "Delay";
// The keys of the four limits, in the order of analysis::LimitKind.
constexpr const char* limitKeys[analysis::limitKindCount] = {
    "Temperature high", "Temperature low", "Humidity high", "Humidity low"};
// The order they are written in: each quantity low before high.
constexpr analysis::LimitKind writtenLimits[] = {
    analysis::TemperatureLow, analysis::TemperatureHigh, analysis::HumidityLow, analysis::HumidityHigh};
constexpr const char* celsiusText = "Celsius";
constexpr const char* fahrenheitText = "Fahrenheit";
constexpr const char* dotText = "Dot";
constexpr const char* lineText = "Line";

// What a missing key reads as: blue, red and 192.168.1.200.
constexpr const char* defaultHumidityColor = "16711680";
constexpr const char* defaultTemperatureColor = "255";
constexpr const char* defaultAddress = "192.168.001.200";

// ---- text helpers ----------------------------------------------------------

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view trimRight(std::string_view text)
{
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Splits at CR LF, LF or CR; a last line without a line end counts too.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

// ---- UTF-8 to Windows-1252 -------------------------------------------------

// The code points of Windows-1252 bytes 0x80 .. 0x9F; 0 where a byte is unused.
constexpr char32_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1252 byte of a code point, "?" when the set lacks it.
char cp1252Of(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (size_t i = 0; i < std::size(cp1252High); ++i) {
        if (cp1252High[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Bytes in the sequence that `lead` starts; 0 when it starts none.
size_t utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Decodes the sequence at the start of `text`; false when it is not valid UTF-8
// (cut short, bad continuation, overlong, surrogate or beyond U+10FFFF).
bool decodeUtf8(std::string_view text, size_t length, char32_t& codePoint)
{
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || length > text.size())
        return false;
    const auto lead = static_cast<unsigned char>(text[0]);
    codePoint = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return false;
        codePoint = codePoint << 6 | (next & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint >= smallest[length] && !surrogate && codePoint <= 0x10FFFF;
}

// Texts in memory are Windows-1252: characters it lacks and bytes that are not
// UTF-8 become "?", one per character or stray byte.
std::string cp1252FromUtf8(std::string_view text)
{
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        const size_t length = utf8Length(static_cast<unsigned char>(text[i]));
        char32_t codePoint = 0;
        if (decodeUtf8(text.substr(i), length, codePoint)) {
            result += cp1252Of(codePoint);
            i += length;
        } else {
            result += '?';
            ++i;
        }
    }
    return result;
}

// The file as Windows-1252 text: a file starting with the UTF-8 byte-order mark
// is converted, any other is taken as it is.
std::string fileText(std::string_view bytes)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(byteOrderMark))
        return cp1252FromUtf8(bytes.substr(byteOrderMark.size()));
    return std::string(bytes);
}

// ---- groups and keys -------------------------------------------------------

// One "[Group]" of the file with its key lines in file order; names in lower case.
struct Group {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

// Key lines before the first header and lines without "=" can name no setting;
// they are skipped, like comments and blank lines.
std::vector<Group> readGroups(std::string_view text)
{
    std::vector<Group> groups;
    for (std::string_view line : splitLines(text)) {
        line = trimLeft(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            line.remove_prefix(1);
            groups.push_back(Group{records::lowerAscii(line.substr(0, line.find(']'))), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (groups.empty() || equals == std::string_view::npos)
            continue;
        std::string key = records::lowerAscii(trimRight(line.substr(0, equals)));
        std::string value(trimRight(trimLeft(line.substr(equals + 1))));
        groups.back().keys.emplace_back(std::move(key), std::move(value));
    }
    return groups;
}

// The first `key` line under the first header named `group`, if there is one.
const std::string* findValue(const std::vector<Group>& groups, const char* group, const char* key)
{
    const std::string groupName = records::lowerAscii(group);
    const std::string keyName = records::lowerAscii(key);
    for (const Group& g : groups) {
        if (g.name != groupName)
            continue;
        for (const auto& [name, value] : g.keys) {
            if (name == keyName)
                return &value;
        }
        break;
    }
    return nullptr;
}

// The value of the first `key` line under the first header named `group`;
// `fallback` when there is none.
std::string valueOf(const std::vector<Group>& groups, const char* group, const char* key,
                    const char* fallback)
{
    const std::string* value = findValue(groups, group, key);
    return value ? *value : fallback;
}

// ---- limits ----------------------------------------------------------------

// The [Limits] group: a missing key leaves its limit unset (the delay 0). A
// group with any value the Limits window would refuse is ignored whole, so a
// hand-edited file never watches half a range.
analysis::Limits readLimits(const std::vector<Group>& groups)
{
    analysis::Limits limits;
    for (int kind = 0; kind < analysis::limitKindCount; ++kind) {
        const std::string* text = findValue(groups, limitsGroup, limitKeys[kind]);
        if (!text)
            continue;
        limits.value[kind] = analysis::readTenths(*text);
        if (!limits.value[kind])
            return {};
    }
    if (const std::string* text = findValue(groups, limitsGroup, delayKey)) {
        const std::optional<int32_t> minutes = analysis::readMinutes(*text);
        if (!minutes)
            return {};
        limits.delayMinutes = *minutes;
    }
    // A delay alone means nothing and is not written back either.
    if (!analysis::anyLimit(limits) || analysis::checkLimits(limits) != analysis::LimitProblem::None)
        return {};
    return limits;
}

// ---- numbers ---------------------------------------------------------------

// The decimal digits at the start of `text` (0 when none), modulo 2^32: unsigned
// arithmetic wraps, so any number of digits is safe.
uint32_t readDigits(std::string_view text)
{
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

void addLine(std::string& text, const std::string& line)
{
    text += line;
    text += "\r\n";
}

std::string keyLine(const char* key, const std::string& value)
{
    return std::string(key) + " = " + value;
}

// The [Limits] group after the eight lines, only while a limit is set: without
// one the file stays exactly what it always was.
void addLimits(std::string& text, const analysis::Limits& limits)
{
    if (!analysis::anyLimit(limits))
        return;
    addLine(text, std::string("[") + limitsGroup + "]");
    for (analysis::LimitKind kind : writtenLimits) {
        if (limits.value[kind])
            addLine(text, keyLine(limitKeys[kind], analysis::tenthsText(*limits.value[kind])));
    }
    addLine(text, keyLine(delayKey, std::to_string(limits.delayMinutes)));
}

} // namespace

// Up to four "."-separated fields, missing ones 0, extra ones ignored; each is
// read as digits after blanks and is not limited to 255, so a large field carries
// into the next octets. The sum first + second * 256 + third * 65536 +
// fourth * 16777216 is taken modulo 2^32 (each field modulo 2^32 first, which
// gives the same result).
uint32_t readAddress(std::string_view text)
{
    uint32_t address = 0;
    for (unsigned field = 0; field < 4; ++field) {
        const size_t dot = text.find('.');
        address += readDigits(trimLeft(text.substr(0, dot))) << (8 * field);
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return address;
}

Settings& settings()
{
    static Settings current = defaultSettings();
    return current;
}

Settings defaultSettings()
{
    return parseSettings("");
}

Settings parseSettings(const std::string& fileBytes)
{
    const std::vector<Group> groups = readGroups(fileText(fileBytes));
    Settings s;
    s.serialPort = valueOf(groups, settingsGroup, serialPortKey, "");
    s.humidityColor = records::leadingDecimal(valueOf(groups, settingsGroup, humidityColorKey, defaultHumidityColor));
    s.temperatureColor =
        records::leadingDecimal(valueOf(groups, settingsGroup, temperatureColorKey, defaultTemperatureColor));
    s.celsius = valueOf(groups, settingsGroup, scaleKey, celsiusText) == celsiusText;
    s.dotStyle = valueOf(groups, settingsGroup, styleKey, dotText) == dotText;
    s.deviceAddress = readAddress(valueOf(groups, networkGroup, addressKey, defaultAddress));
    s.limits = readLimits(groups);
    return s;
}

std::string formatSettings(const Settings& s)
{
    std::string text;
    addLine(text, std::string("[") + settingsGroup + "]");
    addLine(text, keyLine(serialPortKey, s.serialPort));
    addLine(text, keyLine(humidityColorKey, std::to_string(s.humidityColor)));
    addLine(text, keyLine(temperatureColorKey, std::to_string(s.temperatureColor)));
    addLine(text, keyLine(scaleKey, s.celsius ? celsiusText : fahrenheitText));
    addLine(text, keyLine(styleKey, s.dotStyle ? dotText : lineText));
    addLine(text, std::string("[") + networkGroup + "]");
    addLine(text, keyLine(addressKey, addressText(s.deviceAddress)));
    addLimits(text, s.limits);
    return text;
}

void loadSettings(const std::string& fileName)
{
    // A file that cannot be read counts as empty: every setting takes its default.
    std::string bytes;
    if (!platform::readFile(fileName, bytes))
        bytes.clear();
    settings() = parseSettings(bytes);
}

void saveSettings(const std::string& fileName)
{
    // A failed save is not reported: the settings stay in memory and the old
    // file, if any, stays intact.
    platform::rewriteFile(fileName, formatSettings(settings()));
}

std::string addressText(uint32_t address)
{
    std::string text;
    for (unsigned octet = 0; octet < 4; ++octet) {
        if (octet > 0)
            text += '.';
        text += std::to_string(address >> (8 * octet) & 0xFFu);
    }
    return text;
}

} // namespace app
