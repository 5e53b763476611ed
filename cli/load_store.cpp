// load_store.cpp: a record file in the store, for the subcommands that draw.
#include "cli/commands.h"

#include "graph/graph.h"
#include "platform/file.h"
#include "records/load.h"

namespace cli {

void loadStore(records::RecordSeries& series, const std::string& path)
{
    records::storeSeries(series, platform::displayName(records::fileTitleOf(path)));
    graph::scanExtremes();
}

} // namespace cli
