#include "records/recordfile.h"

#include "platform/file.h"
#include "platform/memory.h"
#include "records/logfile.h"
#include "records/sha256.h"

#include <algorithm>
#include <cstring>

namespace records {

namespace {

// Bytes read at once; a longer line makes the buffer grow while it lasts.
constexpr size_t pieceSize = 256 * 1024;
// Records readRecordPieces hands over at once, at the most.
constexpr size_t handOverAt = 32768;
// The writer's shortest record line with its line end ("+0.1,0.1" CR LF).
constexpr long long shortestLine = 10;

// Room for every record a regular file of `size` bytes holds when it was
// written by the writer: the list is sized once, in large pages where the
// system has them. Room not used costs no memory.
void makeRoom(std::vector<Record>& records, long long size)
{
    if (size <= 0)
        return;
    records.reserve(static_cast<size_t>(std::min<long long>(size / shortestLine + 1, maxFileRecords + 1)));
    platform::adviseLargePages(records.data(), records.capacity() * sizeof(Record));
}

// Adds what follows the end marker to `digest`, the file being `size` bytes
// long so far; a file longer than any record file is refused here too.
ReadResult digestRest(platform::InputFile& file, std::vector<char>& buffer, long long size, Sha256& digest)
{
    for (;;) {
        const long long got = file.read(buffer.data(), buffer.size());
        if (got <= 0)
            return got == 0 ? ReadResult::Done : ReadResult::CannotRead;
        size += got;
        if (size > maxFileBytes)
            return ReadResult::TooLong;
        digest.add(std::string_view(buffer.data(), static_cast<size_t>(got)));
    }
}

// Reads `file` through `reader`, a piece at a time: the whole lines of each
// piece are read where they are, and an unfinished last line moves to the
// front to be completed by the next piece. The bounds count what lies before
// the end marker. With a `digest`, every byte of the file is added to it.
// With `take`, the records read go to it after each piece, and whenever they
// are handOverAt, and leave the list.
ReadResult readPieces(platform::InputFile& file, LogReader& reader, std::vector<Record>& records, Sha256* digest,
                      const RecordSink* take = nullptr)
{
    // The list never holds more: a piece that a long line made large may hold
    // millions of short lines after it.
    const size_t most = take ? handOverAt : static_cast<size_t>(maxFileRecords) + 1;
    size_t handedOver = 0;
    const auto handOver = [&] {
        if (take && !records.empty()) {
            handedOver += records.size();
            (*take)(records);
            records.clear();
        }
    };
    const size_t magicLine = std::strlen(logMagic) + 1;   // with a CR that waits for its LF
    std::vector<char> buffer(pieceSize);
    size_t filled = 0;
    long long moved = 0;   // bytes of the pieces done with
    for (;;) {
        // What was there holds no line end, but a CR at its end may meet its LF.
        const size_t fresh = filled > 0 ? filled - 1 : 0;
        const bool longLine = filled > pieceSize / 2;
        const long long got = file.read(buffer.data() + filled, buffer.size() - filled);
        if (got < 0)
            return ReadResult::CannotRead;
        if (digest)
            digest->add(std::string_view(buffer.data() + filled, static_cast<size_t>(got)));
        filled += static_cast<size_t>(got);
        // A long line is searched for its end only where it grew.
        const bool lineEnds =
            !longLine || got == 0 || std::any_of(buffer.begin() + fresh, buffer.begin() + filled, isLineEnd);
        LogLines lines(std::string_view(buffer.data(), lineEnds ? filled : 0));
        std::string_view line;
        bool wanted = true;
        while (wanted) {
            reader.takePlainRecords(lines, most - records.size());
            if (handedOver + records.size() > static_cast<size_t>(maxFileRecords))
                return ReadResult::TooLong;
            if (records.size() == most) {
                handOver();
                continue;
            }
            if (!(got == 0 ? lines.next(line) : lines.nextWhole(line)))
                break;
            wanted = reader.take(line);
        }
        const long long before = moved + static_cast<long long>(wanted ? filled : lines.used());
        if (handedOver + records.size() > static_cast<size_t>(maxFileRecords) || before > maxFileBytes)
            return ReadResult::TooLong;
        handOver();
        if (!wanted || got == 0 || (reader.waiting() && filled > magicLine)) {
            if (!reader.accepted())
                return ReadResult::WrongFormat;
            return got == 0 || !digest ? ReadResult::Done
                                       : digestRest(file, buffer, moved + static_cast<long long>(filled), *digest);
        }
        moved += static_cast<long long>(lines.used());
        std::memmove(buffer.data(), buffer.data() + lines.used(), filled - lines.used());
        filled -= lines.used();
        if (filled == buffer.size())
            buffer.resize(std::min(buffer.size() * 2, static_cast<size_t>(maxFileBytes) + 1));
        else if (buffer.size() > pieceSize && filled < pieceSize) {
            // A long line is done with: the pieces after it are of the usual
            // size again, and so are their records.
            buffer.resize(pieceSize);
            buffer.shrink_to_fit();
        }
    }
}

} // namespace

ReadResult readRecordFile(const std::string& path, RecordSeries& series, Digest digest)
{
    series = RecordSeries{};
    platform::InputFile file(path);
    if (!file.isOpen())
        return ReadResult::CannotRead;
    makeRoom(series.records, file.size());
    LogReader reader(series.header, series.records);
    Sha256 sha;
    const ReadResult result = readPieces(file, reader, series.records, digest == Digest::Take ? &sha : nullptr);
    if (result != ReadResult::Done) {
        series = RecordSeries{};
        return result;
    }
    if (digest == Digest::Take)
        series.digest = sha.hex();
    assignTimes(series.records, series.header.newestTime, series.header.interval);
    return ReadResult::Done;
}

ReadResult readRecordPieces(const std::string& path, LoadHeader& header, const RecordSink& take)
{
    header = LoadHeader{};
    platform::InputFile file(path);
    if (!file.isOpen())
        return ReadResult::CannotRead;
    std::vector<Record> records;
    // Room for the records handed over at once.
    records.reserve(handOverAt);
    LogReader reader(header, records);
    return readPieces(file, reader, records, nullptr, &take);
}

std::string tooLongText(const std::string& name)
{
    return name + " is longer than a record file can be (more than " + std::to_string(maxFileRecords)
        + " records or " + std::to_string(maxFileBytes) + " bytes)";
}

std::string fileTitleOf(const std::string& path)
{
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
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
