#include "records/recordfile.h"

#include "platform/file.h"
#include "records/logfile.h"
#include "records/sha256.h"

namespace records {

ReadResult readRecordFile(const std::string& path, RecordSeries& series)
{
    std::string bytes;
    series = RecordSeries{};
    if (!platform::readFile(path, bytes))
        return ReadResult::CannotRead;
    if (!readLogFile(bytes, series.header, series.records))
        return ReadResult::WrongFormat;
    series.digest = sha256Hex(bytes);
    assignTimes(series.records, series.header.newestTime, series.header.interval);
    return ReadResult::Done;
}

bool writeRecordFile(const std::string& path, const std::vector<Record>& records, int32_t interval,
                     std::string* digest)
{
    const std::string bytes = formatLogFile(records, interval);
    if (!platform::replaceFile(path, bytes))
        return false;
    if (digest)
        *digest = sha256Hex(bytes);
    return true;
}

} // namespace records
