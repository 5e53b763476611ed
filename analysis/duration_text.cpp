// duration_text.cpp: an interval in words, as the panel and the command line show it.
#include "analysis/statistics.h"

namespace analysis {

namespace {

// Appends "<count> <unit>" with ", " before every part but the first.
void appendPart(std::string& text, int32_t count, const char* unit)
{
    if (!text.empty())
        text += ", ";
    text += std::to_string(count) + " " + unit;
}

} // namespace

// Days and hours need strictly more than one unit; minutes one unit or more.
std::string durationText(int32_t seconds)
{
    std::string text;
    int32_t rest = seconds;
    if (rest > 86400) {
        appendPart(text, rest / 86400, "days");
        rest %= 86400;
    }
    if (rest > 3600) {
        appendPart(text, rest / 3600, "hours");
        rest %= 3600;
    }
    if (rest >= 60) {
        appendPart(text, rest / 60, "minutes");
        rest %= 60;
    }
    if (rest > 0)
        appendPart(text, rest, "seconds");
    return text;
}

} // namespace analysis
