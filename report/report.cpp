// report.cpp: what the PDF report says, in order: the file, the limits, the
// readings, the excursions, the graph and the humidity profile, and a block to
// sign; every page's foot names its number and when it was made.
#include "report/report.h"

#include "analysis/limit_text.h"
#include "analysis/limits.h"
#include "analysis/statistics.h"
#include "analysis/summary.h"
#include "app/ids.h"
#include "app/settings.h"
#include "graph/graph.h"
#include "graph/print.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/images.h"
#include "platform/paper.h"
#include "records/datemask.h"
#include "records/timescale.h"
#include "records/store.h"
#include "report/document.h"

#include <algorithm>

namespace report {

namespace {

constexpr const char* timeMask = "%yyyy-%mm-%dd %hh:%ii:%ss";
constexpr const char* createdMask = "%yyyy-%mm-%dd %hh:%ii";
constexpr float titleSize = 18, headingSize = 13, bodySize = 10, tableSize = 9, profileSize = 7;
// Where the value column of the fact lists starts.
constexpr float valueColumn = 140;
// At most this many excursions are listed per limit.
constexpr size_t listedExcursions = 100;
// The graph is drawn as the printed page draws it: a 600 x 400 graph enlarged
// (graph::enlargedGraphSize), so its text and lines come out finer on paper.
constexpr platform::Size nominalGraph = {600, 400};

// What the report is made of.
struct Facts {
    const records::RecordStore& store;
    const analysis::Limits& limits;
    analysis::Summary summary;
    analysis::LimitReport figures;
    int64_t gaps;
};

std::string timeText(int32_t time)
{
    return records::formatTime(timeMask, time);
}

std::string extremeText(const std::optional<analysis::Extreme>& e, bool temperature)
{
    if (!e)
        return "-";
    return (temperature ? graph::formatTemperature(e->value) : graph::formatHumidity(e->value)) + "   "
        + timeText(e->time);
}

std::string dewPointText(const std::optional<analysis::DewPointExtreme>& e)
{
    return e ? analysis::temperatureText(e->value, 1) + "   " + timeText(e->time) : "-";
}

// A heading kept on one page with the `following` points under it.
void heading(Document& d, const std::string& text, float following = 3 * headingSize)
{
    space(d, 8);
    keepTogether(d, headingSize * lineFactor + following);
    textLine(d, text, headingSize, true);
}

void fact(Document& d, const std::string& label, const std::string& value)
{
    tableRow(d, {{0, label}, {valueColumn, value}}, bodySize, false);
}

// ---- 1. The file ---------------------------------------------------------

void fileSection(Document& d, const Facts& f)
{
    textLine(d, "Climadesk report", titleSize, true);
    space(d, 6);
    const bool any = f.summary.count > 0;
    fact(d, "Record file", f.store.fileTitle.empty() ? "-" : f.store.fileTitle);
    fact(d, "SHA-256", f.store.fileDigest.empty() ? "not saved" : f.store.fileDigest);
    fact(d, "Period", any ? timeText(f.summary.firstTime) + " to " + timeText(f.summary.lastTime) : "-");
    fact(d, "Interval", analysis::durationText(f.summary.interval));
    fact(d, "Records", std::to_string(f.summary.count));
    fact(d, "Gaps", std::to_string(f.gaps));
    fact(d, "Coverage", analysis::percentText(f.figures.coveragePercent));
}

// ---- 2. The limits -------------------------------------------------------

void limitsSection(Document& d, const analysis::Limits& limits)
{
    heading(d, "Limits");
    if (!analysis::anyLimit(limits)) {
        textLine(d, "No limits set", bodySize, false);
        return;
    }
    for (int kind = 0; kind < analysis::limitKindCount; ++kind)
        if (limits.value[kind]) {
            const auto k = static_cast<analysis::LimitKind>(kind);
            fact(d, analysis::limitName(k), analysis::limitValueText(k, *limits.value[kind]));
        }
    fact(d, "Delay", analysis::durationWords(int64_t{limits.delayMinutes} * 60));
}

// ---- 3. The readings -----------------------------------------------------

void readingsSection(Document& d, const Facts& f)
{
    const analysis::Summary& s = f.summary;
    const analysis::LimitReport& r = f.figures;
    heading(d, "Temperature");
    fact(d, "Minimum", extremeText(s.temperatureMin, true));
    fact(d, "Maximum", extremeText(s.temperatureMax, true));
    fact(d, "Mean", analysis::temperatureText(r.temperatureMean, 2));
    fact(d, "Mean kinetic temperature", analysis::temperatureText(r.kineticTemperature, 2));
    fact(d, "Highest 24-hour MKT", analysis::temperatureText(r.highestDayKineticTemperature, 2));
    fact(d, "Highest 30-day MKT", analysis::temperatureText(r.highestMonthKineticTemperature, 2));
    heading(d, "Humidity");
    fact(d, "Minimum", extremeText(s.humidityMin, false));
    fact(d, "Maximum", extremeText(s.humidityMax, false));
    fact(d, "Mean", analysis::humidityText(r.humidityMean, 2));
    heading(d, "Dew point");
    fact(d, "Minimum", dewPointText(s.dewPointMin));
    fact(d, "Maximum", dewPointText(s.dewPointMax));
    fact(d, "Mean", analysis::temperatureText(r.dewPointMean, 2));
}

// ---- 4. The excursions ---------------------------------------------------

void excursionRow(Document& d, analysis::LimitKind kind, const analysis::Excursion& e)
{
    tableRow(d,
             {{0, timeText(e.start)}, {110, timeText(e.end)}, {220, analysis::durationWords(e.seconds)},
              {390, analysis::limitValueText(kind, e.peak)}},
             tableSize, false);
}

void limitSection(Document& d, analysis::LimitKind kind, int32_t limit, const analysis::LimitFigures& f)
{
    heading(d, std::string(analysis::limitName(kind)) + ": " + analysis::beyondText(kind, limit));
    fact(d, "Excursions", std::to_string(f.excursions.size()));
    fact(d, "Time beyond", analysis::durationWords(f.secondsBeyond));
    fact(d, "Cumulative time beyond", analysis::durationWords(f.secondsBeyondCumulative));
    fact(d, "Longest",
         f.longest ? timeText(f.longest->start) + ", " + analysis::durationWords(f.longest->seconds) + ", peak "
                         + analysis::limitValueText(kind, f.longest->peak)
                   : "-");
    fact(d, "First", f.excursions.empty() ? "-" : timeText(f.excursions.front().start));
    if (f.excursions.empty())
        return;
    space(d, 4);
    keepTogether(d, 3 * tableSize * lineFactor);   // the column titles with a row under them
    tableRow(d, {{0, "Start"}, {110, "End"}, {220, "Duration"}, {390, "Peak"}}, tableSize, true);
    const size_t listed = std::min(f.excursions.size(), listedExcursions);
    for (size_t i = 0; i < listed; ++i)
        excursionRow(d, kind, f.excursions[i]);
    if (f.excursions.size() > listed)
        textLine(d, "and " + std::to_string(f.excursions.size() - listed) + " more", tableSize, false);
}

void excursionsSection(Document& d, const Facts& f)
{
    for (int kind = 0; kind < analysis::limitKindCount; ++kind)
        if (f.limits.value[kind])
            limitSection(d, static_cast<analysis::LimitKind>(kind), *f.limits.value[kind], f.figures.limit[kind]);
}

// ---- 5. The graph and the profile ----------------------------------------

void graphSection(Document& d, const Facts& f)
{
    if (f.summary.count == 0)
        return;
    const platform::Size size = graph::enlargedGraphSize(nominalGraph);
    platform::createImage(app::reportImage, size.width, size.height);
    const int level = records::zoomLevelForSpan(records::spanOf(f.store.interval, f.store.recordCount));
    graph::renderGraph({app::reportImage, size.width, size.height, level, 0, 0});
    const std::vector<unsigned char> pixels = platform::imageRgb(app::reportImage);
    platform::freeImage(app::reportImage);
    const float width = contentWidth(d);
    heading(d, "Graph", width * static_cast<float>(size.height) / static_cast<float>(size.width));
    picture(d, pixels, size.width, size.height, width);
}

void profileRow(Document& d, const std::string& label, const std::array<int64_t, analysis::humidityBands>& counts,
                int32_t interval, bool bold)
{
    const float column = contentWidth(d) / (analysis::humidityBands + 1);
    std::vector<Cell> cells = {{0, label}};
    for (size_t band = 0; band < counts.size(); ++band)
        cells.push_back({column * static_cast<float>(band + 1), analysis::hoursText(counts[band], interval)});
    tableRow(d, cells, profileSize, bold);
}

void profileSection(Document& d, const Facts& f)
{
    const analysis::Summary& s = f.summary;
    heading(d, "Humidity profile (hours)", (analysis::temperatureBands + 2) * profileSize * lineFactor);
    const float column = contentWidth(d) / (analysis::humidityBands + 1);
    std::vector<Cell> titles = {{0, ""}};
    for (int band = 0; band < analysis::humidityBands; ++band)
        titles.push_back({column * static_cast<float>(band + 1), analysis::humidityBandTitle(band)});
    tableRow(d, titles, profileSize, true);
    for (int band = analysis::temperatureBands - 1; band >= 0; --band)
        profileRow(d, analysis::temperatureBandLabel(band), s.profile[static_cast<size_t>(band)], s.interval, false);
    profileRow(d, "Tot", s.profileTotal, s.interval, true);
}

// ---- 6. Signatures -------------------------------------------------------

void signatureSection(Document& d)
{
    space(d, 16);
    keepTogether(d, 120);
    for (const char* label : {"Reviewed by", "Signature", "Date"}) {
        space(d, 14);
        signatureLine(d, label);
    }
}

Facts gatherFacts()
{
    const records::RecordStore& store = records::store();
    const analysis::Limits& limits = app::settings().limits;
    Facts f{store, limits, analysis::summarize(store.records, store.interval),
            analysis::limitReport(store.records, store.interval, limits), 0};
    f.gaps = std::count_if(store.records.begin(), store.records.end(), records::isGap);
    return f;
}

} // namespace

bool writeReport(const std::string& path)
{
    const Facts facts = gatherFacts();
    Document d;
    openDocument(d, platform::paperIsLetter());
    fileSection(d, facts);
    limitsSection(d, facts.limits);
    readingsSection(d, facts);
    excursionsSection(d, facts);
    graphSection(d, facts);
    profileSection(d, facts);
    signatureSection(d);
    footers(d, "Created by Climadesk " CLIMADESK_VERSION " on "
                   + records::formatTime(createdMask, platform::localTimeNow()));
    std::string bytes;
    const bool made = finishDocument(d, bytes);
    closeDocument(d);
    return made && platform::replaceFile(path, bytes);
}

} // namespace report
