// logfile.h: the bytes of a record file (*.log), read and written.
//
// A record file is 8-bit text:
//
//     ***QX51***            magic
//     2018/05/09            date of the newest record ("%yyyy/%mm/%dd")
//     14:30                 its time ("%hh:%ii" and five blanks)
//     SR = 05min            interval in whole minutes, last two digits
//     **********            separator, ignored when read
//     +23.5,45.6            one line per record, oldest first: temperature,humidity
//     ----------            a gap (a record with a zero reading)
//     **********            end marker
//
// The writer ends every line with CR LF. These are pure functions: the commands
// that open, read and write files call them line by line (reading) or once for
// the whole file (writing). No reader fails or reads outside its input, whatever
// bytes it is given; what a line does not hold reads as 0 (see each function).
#pragma once

#include "records/load.h"
#include "records/store.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// First line of every record file.
constexpr const char* logMagic = "***QX51***";
// Line 5 as written, and the line that ends the records.
constexpr const char* logEndMarker = "**********";
// A record without readings.
constexpr const char* logGapLine = "----------";
// Masks of lines 2 and 3 as written, and of the two joined as read.
constexpr const char* logDateMask = "%yyyy/%mm/%dd";
constexpr const char* logTimeMask = "%hh:%ii     ";
constexpr const char* logHeaderMask = "%yyyy/%mm/%dd%hh:%ii     ";

// ---- Reading ------------------------------------------------------------

// True for the bytes that end a line: CR, LF and the zero byte.
inline bool isLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

// The lines of a file's bytes, one after the other. A line ends at CR LF, LF,
// CR alone or a zero byte, and the end of the bytes ends the last line; what
// follows the last line end, when empty, is no line. The bytes must outlive the
// reader.
struct LogLines {
    explicit LogLines(const std::string& fileBytes) : bytes(fileBytes) {}
    explicit LogLines(std::string&&) = delete;
    // A piece of a file, which may go on after it (see nextWhole).
    explicit LogLines(std::string_view piece) : bytes(piece) {}
    // Puts the next line, without its line end, into `line`; false at the end.
    bool next(std::string& line);
    // The same as a view into the bytes, without a copy.
    bool next(std::string_view& line);
    // As next, but only a line whose end lies in the bytes and is sure: a CR as
    // the last byte may be the start of a CR LF, and its line waits for more.
    bool nextWhole(std::string_view& line);
    // As nextWhole, for the record lines of the writer's common form that come
    // next: two numbers of an optional sign, one to five digits, "." and one
    // digit, joined by one "," ("+23.5,45.6"). Appends their readings in tenths
    // (time 0), read straight from the bytes, the same as readRecordLine gives;
    // stops before any other line, and after `most` records.
    void nextPlainRecords(std::vector<Record>& records, size_t most = SIZE_MAX);
    // How many bytes the lines taken so far span, their line ends included.
    size_t used() const { return position; }

private:
    size_t endOfLine() const;
    void takeLine(size_t end, std::string_view& line);

    std::string_view bytes;
    size_t position = 0;
};

// Newest record's time from lines 2 and 3, joined and parsed with logHeaderMask;
// -1 when they do not name a valid time.
int32_t readNewestTime(std::string_view line2, std::string_view line3);

// Interval in seconds from line 4: its 6th and 7th characters read as a decimal
// integer (leading blanks, an optional sign, then digits; nothing gives 0), times
// 60. A shorter line gives what its characters there hold. -540 .. 5940.
int32_t readInterval(std::string_view line4);

// Reads one line after the separator. False for the end marker, leaving the
// readings untouched. Otherwise true with the readings in tenths: the gap line
// gives 0 and 0; any other line gives the number before its first "," as the
// temperature and the number between the first and a second "," (or the line's
// end) as the humidity. A number is read from the start of its text: blanks, an
// optional sign, digits with an optional "." and an optional exponent (e or E, an
// optional sign, digits); it ends at the first character that cannot continue it,
// and no number gives 0. It is held in single precision, then multiplied by 10 in
// double precision and rounded to the nearest integer, halves to even ("23.45" and
// "+23.5" both give 235). Values beyond the 32-bit range, too large for single
// precision ones included, saturate at INT32_MIN / INT32_MAX.
bool readRecordLine(std::string_view line, int32_t& temperature, int32_t& humidity);

// The import's reading of a record file, given its lines one after the other:
// the magic line, the header of lines 2 to 4, the separator, then the readings
// of the record lines, oldest first with time 0, up to the end marker. Fills the
// header and the records it was made with.
class LogReader {
public:
    LogReader(LoadHeader& header, std::vector<Record>& records) : header(header), records(records) {}
    // Takes the next line; false when no more is wanted: the first line is not
    // the magic (the file is refused), or the end marker came.
    bool take(std::string_view line);
    // Takes the record lines of the common form (LogLines::nextPlainRecords) that
    // come next in `lines`, if records are due; what take would do with them,
    // in one pass over their bytes. Never takes the end marker.
    // At most `most` of them.
    void takePlainRecords(LogLines& lines, size_t most = SIZE_MAX);
    // True once the first line was the magic line.
    bool accepted() const { return lineNumber > 0 && !refused; }
    // True until a first line was taken.
    bool waiting() const { return lineNumber == 0; }

private:
    // lineNumber from the first record line on.
    static constexpr int recordLines = 5;

    LoadHeader& header;
    std::vector<Record>& records;
    int lineNumber = 0;   // lines taken before the records
    bool refused = false;
    std::string dateLine;   // line 2, until line 3 joins it
};

// Reads a whole record file as the import does. False when its first line is not
// the magic line (the file is refused). Otherwise the header and the records, up
// to the end marker or the end of the bytes (a file cut short keeps what it holds).
bool readLogFile(const std::string& bytes, LoadHeader& header, std::vector<Record>& records);

// ---- Writing ------------------------------------------------------------

// Line 4 for `interval` seconds, without line end: "SR = ", the last two
// characters of "0" and interval / 60 (truncated toward zero), "min". So 300 gives
// "SR = 05min", 6000 and 59 give "SR = 00min", and -300 gives "SR = -5min".
std::string formatIntervalLine(int32_t interval);

// One record line, without line end: the gap line for a gap (both readings 0),
// else the temperature with its sign ("+" or "-"), then "," and the humidity,
// each as whole part "." tenths digit: 235, 456 give "+23.5,45.6" and 0, 456
// give "+0.0,45.6", so a 0.0 degree reading reloads as the reading it is. A
// negative humidity keeps its "-" sign ("+1.0,-4.2"), so that it reads back unchanged.
std::string formatRecordLine(int32_t temperature, int32_t humidity);

// The whole file for `records` (oldest first) and `interval`, lines ended by
// CR LF; lines 2 and 3 hold the newest record's time. Save As is offered only
// with records; given none, the header carries the invalid time -1 (zeros) and
// the file holds no record line.
//
// Reading back gives the same interval for whole minutes from -9 to 99, the
// time to the minute, and the same readings (zeros as gaps) for readings of
// magnitude below 10485760 tenths, which single precision holds closely enough.
std::string formatLogFile(const std::vector<Record>& records, int32_t interval);

} // namespace records
