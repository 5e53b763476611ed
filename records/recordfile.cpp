#include "records/recordfile.h"

#include "platform/file.h"
#include "records/logfile.h"

namespace records {

ReadResult readRecordFile(const std::string& path, RecordSeries& series)
{
    std::string bytes;
    series = RecordSeries{};
    if (!platform::readFile(path, bytes))
        return ReadResult::CannotRead;
    if (!readLogFile(bytes, series.header, series.records))
        return ReadResult::WrongFormat;
    assignTimes(series.records, series.header.newestTime, series.header.interval);
    return ReadResult::Done;
}

bool writeRecordFile(const std::string& path, const std::vector<Record>& records, int32_t interval)
{
    return platform::replaceFile(path, formatLogFile(records, interval));
}

} // namespace records
