#include "records/recordfile.h"

#include "platform/file.h"
#include "records/logfile.h"

namespace records {

bool readRecordFile(const std::string& path, RecordSeries& series)
{
    std::string bytes;
    platform::readFile(path, bytes);   // a file that cannot be read is empty
    series = RecordSeries{};
    if (!readLogFile(bytes, series.header, series.records))
        return false;
    assignTimes(series.records, series.header.newestTime, series.header.interval);
    return true;
}

bool writeRecordFile(const std::string& path, const std::vector<Record>& records, int32_t interval)
{
    return platform::replaceFile(path, formatLogFile(records, interval));
}

} // namespace records
