// download.cpp: `climadesk download ADDRESS [-o FILE.log] [--merge]`.
//
// The same fetch as the Download window (device/fetch.h); the samples become a
// record file, written plainly or merged into the one that is there.
#include "app/settings.h"
#include "cli/cli.h"
#include "cli/commands.h"

#include "device/fetch.h"
#include "platform/console.h"
#include "platform/socket.h"
#include "records/datemask.h"
#include "records/merge.h"


namespace cli {

namespace {

constexpr int barWidth = 40;

// "[#####...]  45%" over itself, on a terminal only.
void showBar(int percent)
{
    const int filled = percent * barWidth / 100;
    platform::printError("\r[" + std::string(static_cast<size_t>(filled), '#')
                         + std::string(static_cast<size_t>(barWidth - filled), '.') + "] "
                         + std::to_string(percent) + "%");
}

void sayFailure(device::LinkFailure failure, uint32_t address)
{
    platform::printError(platform::consoleText(device::failureText(failure, address)) + "\n");
}

// Says what went wrong on the way; true when the samples came.
bool fetched(const device::Fetch& fetch, uint32_t address)
{
    if (fetch.closedByDevice)
        sayFailure(device::LinkFailure::ConnectionClosed, address);
    if (!fetch.failure)
        return true;
    sayFailure(*fetch.failure, address);
    return false;
}

int writeSeries(const std::string& path, const records::RecordSeries& series, bool merge)
{
    if (!merge) {
        if (!records::writeRecordFile(path, series.records, series.header.interval)) {
            sayCannotWrite(path);
            return exitFailed;
        }
        platform::printOut(std::to_string(series.records.size()) + " samples written to " + path + "\n");
        return exitDone;
    }
    const records::MergeResult result = records::mergeIntoFile(path, series);
    if (result.failure != records::MergeFailure::None) {
        platform::printError(records::mergeFailureText(result, path) + "\n");
        return exitFailed;
    }
    platform::printOut(records::mergeSummary(result) + "\n");
    return exitDone;
}

} // namespace

int download(const DownloadOptions& options)
{
    const uint32_t address = app::readAddress(options.address);
    if (!platform::startSockets()) {
        sayFailure(device::LinkFailure::CannotStartSockets, address);
        return exitFailed;
    }
    const bool bar = platform::errorIsTerminal();
    const device::Fetch fetch = device::fetchSamples(address, bar ? device::Progress(showBar) : device::Progress());
    if (bar) {
        // The bar is drawn every few polls only: a whole dump ends it at 100 %.
        if (!fetch.failure)
            showBar(100);
        platform::printError("\n");
    }
    if (!fetched(fetch, address))
        return exitFailed;
    const std::string path = options.output.empty()
        ? records::formatTime("sentrel-%yyyy%mm%dd-%hh%ii.log", fetch.newestTime) : options.output;
    return writeSeries(path, device::seriesOf(fetch), options.merge);
}

} // namespace cli
