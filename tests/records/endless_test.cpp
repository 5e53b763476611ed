// Record files read in pieces, and what has no end: devices, pipes that are
// never closed, files beyond the bound. Each is refused in bounded memory and
// time, and the store keeps what it held.
#include "support/endless.h"
#include "support/program.h"

#include "app/ids.h"
#include "platform/window.h"
#include "records/logfile.h"
#include "records/recordfile.h"

using namespace app;
namespace t = platform::testing;

namespace {

const std::string header = "***QX51***\r\n2018/05/09\r\n14:30     \r\nSR = 05min\r\n**********\r\n";

class EndlessFileTest : public ProgramTest {
protected:
    // What readRecordFile gives for `bytes` written to a file, checked against
    // the reading of the same bytes whole.
    void expectReadAsWhole(const std::string& bytes) const
    {
        writeText("pieces.log", bytes);
        records::RecordSeries series;
        ASSERT_EQ(records::readRecordFile(pathOf("pieces.log"), series), records::ReadResult::Done);
        records::LoadHeader wholeHeader;
        std::vector<records::Record> whole;
        ASSERT_TRUE(records::readLogFile(bytes, wholeHeader, whole));
        records::assignTimes(whole, wholeHeader.newestTime, wholeHeader.interval);
        EXPECT_EQ(series.header.newestTime, 1525876200);
        EXPECT_EQ(series.header.interval, 300);
        ASSERT_EQ(series.records.size(), whole.size());
        for (size_t i = 0; i < whole.size(); ++i) {
            ASSERT_EQ(series.records[i].temperature, whole[i].temperature) << i;
            ASSERT_EQ(series.records[i].humidity, whole[i].humidity) << i;
            ASSERT_EQ(series.records[i].time, whole[i].time) << i;
        }
        // Handed over a piece at a time, the same records and header.
        records::LoadHeader pieceHeader;
        std::vector<records::Record> pieces;
        size_t handedOver = 0;
        const auto take = [&](std::vector<records::Record>& piece) {
            ++handedOver;
            pieces.insert(pieces.end(), piece.begin(), piece.end());
            piece.clear();   // what the reader gave may be moved out
        };
        ASSERT_EQ(records::readRecordPieces(pathOf("pieces.log"), pieceHeader, take), records::ReadResult::Done);
        EXPECT_EQ(pieceHeader.newestTime, series.header.newestTime);
        EXPECT_EQ(pieceHeader.interval, series.header.interval);
        EXPECT_GE(handedOver, bytes.size() > 300000 ? 2u : 1u);
        ASSERT_EQ(pieces.size(), whole.size());
        for (size_t i = 0; i < whole.size(); ++i) {
            ASSERT_EQ(pieces[i].temperature, whole[i].temperature) << i;
            ASSERT_EQ(pieces[i].humidity, whole[i].humidity) << i;
            ASSERT_EQ(records::timeOfIndex(pieceHeader.newestTime, pieceHeader.interval,
                                           static_cast<int64_t>(pieces.size()), static_cast<int64_t>(i)),
                      whole[i].time) << i;
        }
    }
};

// Record lines from the header on up to byte `end`, the last one padded with
// blanks after its humidity so that it ends right there (before its line end).
std::string recordsUpTo(size_t end)
{
    std::string bytes = header;
    while (bytes.size() + 40 < end)
        bytes += "+21.5,45.6\r\n";
    bytes += "+22.5,46.6,";
    bytes.append(end - bytes.size(), ' ');
    return bytes;
}

// Lines of the writer's form from the header on, the last one "+1.0,2.0" with
// its CR as byte `cr`: lines of 11 and 12 bytes fill the room before it.
std::string plainLinesUpTo(size_t cr)
{
    std::string bytes = header;
    size_t room = cr - bytes.size() - 8;
    for (; room % 12 != 0; room -= 11)
        bytes += "+1.5,45.6\r\n";
    for (; room > 0; room -= 12)
        bytes += "+21.5,45.6\r\n";
    return bytes + "+1.0,2.0\r";
}

} // namespace

// Lines that cross the end of a piece read as in the whole bytes: a CR LF cut
// between two pieces is one line end, a CR alone at a piece's end is one too,
// and a line longer than a piece is read whole.
TEST_F(EndlessFileTest, PiecesReadAsTheWholeBytes)
{
    constexpr size_t piece = 256 * 1024;
    expectReadAsWhole(recordsUpTo(piece - 1) + "\r\n+1.0,2.0\r\n**********\r\n");
    expectReadAsWhole(recordsUpTo(piece - 1) + "\r+1.0,2.0\r----------\r**********\r");
    expectReadAsWhole(recordsUpTo(piece - 1) + "\n" + std::string(3 * piece, '7') + ",5\n+3.0,4.0");
    // The CR of a line of the writer's form as a piece's last byte: of a CR LF,
    // or alone.
    expectReadAsWhole(plainLinesUpTo(piece - 1) + "\n+3.0,4.0\r\n**********\r\n");
    expectReadAsWhole(plainLinesUpTo(piece - 1) + "+3.0,4.0\r**********\r");
    // No end marker, no last line end, a zero byte as a line end.
    expectReadAsWhole(header + "+1.0,2.0" + std::string(1, '\0') + "+3.0,4.0");
}

TEST_F(EndlessFileTest, WhatHasNoEndIsRefused)
{
    using records::ReadResult;
    records::RecordSeries series;
    EXPECT_EQ(records::readRecordFile("/dev/zero", series), ReadResult::WrongFormat);
    EXPECT_EQ(records::readRecordFile("/dev/urandom", series), ReadResult::WrongFormat);
    {
        // The header, then zero bytes: each is an empty line, a gap.
        EndlessPipe pipe(pathOf("gaps"), header, std::string(65536, '\0'));
        ASSERT_TRUE(pipe.made);
        EXPECT_EQ(records::readRecordFile(pathOf("gaps"), series), ReadResult::TooLong);
        EXPECT_TRUE(series.records.empty());
    }
    {
        // One record line that never ends.
        EndlessPipe pipe(pathOf("line"), header + "+1.0,2.0", std::string(1 << 20, ' '));
        ASSERT_TRUE(pipe.made);
        EXPECT_EQ(records::readRecordFile(pathOf("line"), series), ReadResult::TooLong);
    }
    // Exactly as many records as a file may hold, and one more.
    std::string most = header + std::string(records::maxFileRecords, '\n');
    writeText("most.log", most + "**********\r\n+1.0,1.0\r\n");
    ASSERT_EQ(records::readRecordFile(pathOf("most.log"), series), ReadResult::Done);
    EXPECT_EQ(series.records.size(), static_cast<size_t>(records::maxFileRecords));
    writeText("more.log", most + "\n**********\r\n");
    EXPECT_EQ(records::readRecordFile(pathOf("more.log"), series), ReadResult::TooLong);
    EXPECT_TRUE(series.records.empty());
    // Handed over in pieces, the bound counts the records of every piece,
    // also when the taker moves them out.
    records::LoadHeader pieceHeader;
    size_t count = 0;
    const auto countPiece = [&count](std::vector<records::Record>& piece) {
        count += piece.size();
        piece.clear();
    };
    EXPECT_EQ(records::readRecordPieces(pathOf("most.log"), pieceHeader, countPiece), ReadResult::Done);
    EXPECT_EQ(count, static_cast<size_t>(records::maxFileRecords));
    EXPECT_EQ(records::readRecordPieces(pathOf("more.log"), pieceHeader, countPiece), ReadResult::TooLong);
    EXPECT_EQ(records::readRecordPieces("/dev/zero", pieceHeader, countPiece), ReadResult::WrongFormat);
    EXPECT_EQ(records::readRecordPieces(pathOf("none.log"), pieceHeader, countPiece), ReadResult::CannotRead);
    EXPECT_EQ(records::tooLongText("more.log"),
              "more.log is longer than a record file can be (more than 10000000 records or 300000000 bytes)");
}

TEST_F(EndlessFileTest, ImportOfWhatHasNoEndChangesNothing)
{
    writeText("room.log", header + "+23.5,45.6\r\n-4.2,80.0\r\n**********\r\n");
    std::string lines;
    for (int i = 0; i < 4096; ++i)
        lines += "+20.0,50.0\n";
    EndlessPipe pipe(pathOf("endless"), header, lines);
    ASSERT_TRUE(pipe.made);
    t::answerOpenFile(pathOf("room.log"));
    t::answerOpenFile("/dev/zero");
    t::answerOpenFile(pathOf("endless"));
    for (int i = 0; i < 3; ++i)
        t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] {
        ASSERT_EQ(t::messages().size(), 2u);
        for (const t::Message& m : t::messages())
            EXPECT_EQ(m.text, "Wrong file format");
        ASSERT_EQ(records::recordTotal(), 2);
        EXPECT_EQ(records::recordAt(1).temperature, -42);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - room.log");
        EXPECT_FALSE(t::waitCursorShown());
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
