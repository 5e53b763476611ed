// input.cpp: the record file a subcommand reads, and the words for its failures.
#include "cli/commands.h"

#include "platform/console.h"

namespace cli {

bool readDone(records::ReadResult result, const std::string& path)
{
    switch (result) {
    case records::ReadResult::Done: return true;
    case records::ReadResult::CannotRead: platform::printError("Can't read " + path + "\n"); break;
    case records::ReadResult::WrongFormat: platform::printError("Wrong file format: " + path + "\n"); break;
    case records::ReadResult::TooLong: platform::printError("Wrong file format: " + records::tooLongText(path) + "\n"); break;
    }
    return false;
}

bool readInput(const std::string& path, records::RecordSeries& series, records::Digest digest)
{
    return readDone(records::readRecordFile(path, series, digest), path);
}

void sayCannotWrite(const std::string& path)
{
    platform::printError("Can't write " + path + "\n");
}

} // namespace cli
