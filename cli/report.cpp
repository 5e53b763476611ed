// report.cpp: `climadesk report IN.log OUT.pdf`, the window's PDF report made
// headless.
//
// The records go into the store as an import puts them there, the settings
// are the defaults with the options' scale and limits, and report::writeReport
// writes the very report of File > Export Report. The toolkit is started
// off-screen for the graph's text, so no display is needed or used.
#include "cli/cli.h"
#include "cli/commands.h"

#include "app/settings.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "report/report.h"

namespace cli {

int report(const ReportOptions& options)
{
    records::RecordSeries series;
    if (!readInput(options.input, series, records::Digest::Take))
        return exitFailed;
    app::Settings& s = app::settings();
    s = app::defaultSettings();
    s.celsius = !options.fahrenheit;
    s.limits = toLimits(options.limits, options.fahrenheit);
    loadStore(series, options.input);
    platform::initHeadless();
    app::loadFonts();
    const bool written = report::writeReport(options.output);
    platform::shutdown();
    if (!written) {
        sayCannotWrite(options.output);
        return exitFailed;
    }
    return exitDone;
}

} // namespace cli
