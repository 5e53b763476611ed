// render.cpp: `climadesk render IN.log OUT.png`, the graph as a picture file.
//
// The records go into the store as an import puts them there, and the graph is
// drawn by the very drawing of the screen (graph::renderGraph) into an image of
// the asked size, with the settings taken from the options alone. The toolkit is
// started off-screen for the text, so no display is needed or used.
#include "cli/cli.h"
#include "cli/commands.h"

#include "app/ids.h"
#include "app/settings.h"
#include "app/startup.h"
#include "graph/graph.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/images.h"
#include "platform/platform.h"
#include "records/datemask.h"
#include "records/load.h"

#include <algorithm>

namespace cli {

namespace {

void applySettings(const RenderOptions& options)
{
    app::Settings& s = app::settings();
    s = app::defaultSettings();
    s.celsius = !options.fahrenheit;
    s.dotStyle = !options.lines;
    s.humidityColor = options.humidityColor;
    s.temperatureColor = options.temperatureColor;
    s.limits = toLimits(options.limits, options.fahrenheit);
}

// Index of the first record at or after `time`; -1 when every record is older.
int32_t firstAtOrAfter(int32_t time)
{
    const std::vector<records::Record>& recs = records::store().records;
    auto found = std::find_if(recs.begin(), recs.end(), [time](const records::Record& r) { return r.time >= time; });
    return found == recs.end() ? -1 : static_cast<int32_t>(found - recs.begin());
}

bool drawAndWrite(const RenderOptions& options, int level, int32_t first)
{
    platform::initHeadless();
    app::loadFonts();
    platform::createImage(app::graphImage, options.width, options.height);
    graph::renderGraph({app::graphImage, options.width, options.height, level, first, 0});
    bool written = platform::writeImagePng(app::graphImage, options.output);
    platform::shutdown();
    return written;
}

} // namespace

int render(const RenderOptions& options)
{
    records::RecordSeries series;
    if (!readInput(options.input, series))
        return exitFailed;
    applySettings(options);
    loadStore(series, options.input);
    int32_t first = 0;
    if (options.from >= 0) {
        first = firstAtOrAfter(options.from);
        if (first < 0) {
            platform::printError("No record at or after " + records::formatTime(timeMask, options.from) + " in "
                                 + options.input + "\n");
            return exitFailed;
        }
    }
    const int level = options.level > 0 ? options.level : records::fittingLevel();
    if (!drawAndWrite(options, level, first)) {
        sayCannotWrite(options.output);
        return exitFailed;
    }
    return exitDone;
}

} // namespace cli
