// fetch.h: the download itself, with no window: the query and the dump of one
// logger, for the Download window and the command line alike.
//
// fetchSamples connects to the logger, queries it and, on "QX51OK", dumps its
// samples. It shows nothing: it returns what happened, and tells `progress` how
// far each reply has come. The caller shows the failure (messages.h) and uses
// the samples; a failed fetch brings none.
#pragma once

#include "device/link.h"
#include "device/messages.h"
#include "device/protocol.h"
#include "records/recordfile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace device {

struct Fetch {
    // Why no samples came; none when the dump came whole.
    std::optional<LinkFailure> failure;
    // The logger closed the connection while a reply was awaited (the failure
    // then says what it cost: no reply, or a short dump).
    bool closedByDevice = false;
    // What the query reply said: newest sample's time and interval in seconds.
    int32_t newestTime = -1;
    int32_t interval = 0;
    // The samples, oldest first.
    std::vector<Sample> samples;
};

// Connects to port 80 of `address` (first octet in the low byte), queries and
// dumps the logger. The connection stays open until the next connect.
Fetch fetchSamples(uint32_t address, const Progress& progress);

// The fetched samples as records, timed from the newest sample back.
records::RecordSeries seriesOf(const Fetch& fetch);

} // namespace device
