// "Import Records" and "Save As" through the menu, with scripted file dialogs.
#include "support/program.h"

#include "app/ids.h"
#include "platform/controls.h"
#include "platform/file.h"
#include "platform/window.h"
#include "graph/timewindow.h"
#include "records/logfile.h"
#include "records/sha256.h"
#include "records/store.h"

using namespace app;
namespace t = platform::testing;

namespace {

class RecordFileCommandsTest : public ProgramTest {};

// Two records and a gap, newest at 2018-05-09 14:30, ten minutes apart.
const std::string roomLog =
    "***QX51***\r\n2018/05/09\r\n14:30     \r\nSR = 10min\r\n**********\r\n"
    "+23.5,45.6\r\n----------\r\n-4.2,80.0\r\n**********\r\n";

void expectRoomRecords()
{
    ASSERT_EQ(records::recordTotal(), 3);
    EXPECT_EQ(records::store().recordCount, 3);
    EXPECT_EQ(records::store().interval, 600);
    EXPECT_EQ(records::recordAt(0).temperature, 235);
    EXPECT_EQ(records::recordAt(0).humidity, 456);
    EXPECT_EQ(records::recordAt(1).temperature, 0);
    EXPECT_EQ(records::recordAt(2).temperature, -42);
    EXPECT_EQ(records::recordAt(2).time, 1525876200);   // 2018-05-09 14:30:00
    EXPECT_EQ(records::recordAt(0).time, 1525876200 - 1200);
}

} // namespace

TEST_F(RecordFileCommandsTest, ImportLoadsTheFileAndNamesIt)
{
    writeText("room.log", roomLog);
    t::answerOpenFile(pathOf("room.log"));
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().title, "Please choose a Ostrel Sentrel File to load");
        EXPECT_EQ(t::lastDialog().folder, platform::workingDirectory());
        EXPECT_EQ(t::lastDialog().patterns, "OSTREL record (*.log)|*.log|All files (*.*)|*.*");
        expectRoomRecords();
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - room.log");
        EXPECT_EQ(records::store().fileTitle, "room.log");
        EXPECT_TRUE(platform::menuItemEnabled(menuSaveAs));
        EXPECT_TRUE(platform::controlEnabled(profileButton));
        EXPECT_FALSE(t::waitCursorShown());
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 7);   // span 1800 s: q = 360
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 7);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(RecordFileCommandsTest, WrongFileIsRefusedBeforeTheRecordsAreTouched)
{
    writeText("room.log", roomLog);
    writeText("notes.txt", "***QX51*** but not alone\r\n");
    writeText("empty.log", "");
    t::answerOpenFile(pathOf("room.log"));
    t::answerOpenFile(pathOf("notes.txt"));
    t::answerOpenFile(pathOf("empty.log"));
    t::answerOpenFile(pathOf("missing.log"));
    t::answerOpenFile("");   // cancelled
    for (int i = 0; i < 5; ++i)
        t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] {
        ASSERT_EQ(t::messages().size(), 3u);
        for (const t::Message& m : t::messages()) {
            EXPECT_EQ(m.title, "Error");
            EXPECT_EQ(m.text, "Wrong file format");
            EXPECT_EQ(m.icon, platform::MessageIcon::None);
        }
        expectRoomRecords();
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - room.log");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(RecordFileCommandsTest, ImportReadsEveryLineEndAndStopsAtTheEndOfTheFile)
{
    // LF, CR and a zero byte end lines too; no end marker: the records read stay.
    writeText("cut.log", std::string("***QX51***\n2018/05/09\r14:30     \nSR = 05min\n**********\n+20.0,40.0") + '\0'
                             + "+21.0,41.0\r\n");
    writeText("zero.log", "***QX51***\r\n2018/05/09\r\n14:30     \r\nSR = 10min\r\n**********\r\n**********\r\n+1.0,1.0\r\n");
    t::answerOpenFile(pathOf("cut.log"));
    t::answerOpenFile(pathOf("zero.log"));
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] {
        ASSERT_EQ(records::recordTotal(), 2);
        EXPECT_EQ(records::recordAt(1).temperature, 210);
        EXPECT_EQ(records::store().interval, 300);
        t::chooseMenu(menuImportRecords);
    });
    t::post([] {
        // Header and end marker only: an empty store under the file's name.
        EXPECT_EQ(records::recordTotal(), 0);
        EXPECT_EQ(records::store().recordCount, 0);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - zero.log");
        EXPECT_FALSE(platform::menuItemEnabled(menuSaveAs));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(RecordFileCommandsTest, SaveAsWritesTheFileAndImportGivesItBack)
{
    writeText("room.log", roomLog);
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile(pathOf("copy"), 0);            // record pattern, no extension
    t::answerSaveFile(pathOf("plain"), 1);           // "All files": as typed
    t::answerSaveFile(pathOf("named.txt"), 0);       // has an extension already
    t::answerOpenFile(pathOf("copy.log"));
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] { t::chooseMenu(menuSaveAs); });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().title, "Please choose file to save");
        EXPECT_EQ(t::lastDialog().folder, platform::workingDirectory());
        EXPECT_EQ(readText("copy.log"), roomLog);
        EXPECT_EQ(records::store().lastSavePath, pathOf("copy"));
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - copy.log");
        t::chooseMenu(menuSaveAs);
    });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().fileName, "copy");   // the last save is proposed
        EXPECT_EQ(readText("plain"), roomLog);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - plain");
        t::chooseMenu(menuSaveAs);
    });
    t::post([this] {
        EXPECT_EQ(readText("named.txt"), roomLog);
        t::chooseMenu(menuImportRecords);
    });
    t::post([] {
        expectRoomRecords();
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - copy.log");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(RecordFileCommandsTest, FailedSaveReportsAndDestroysNothing)
{
    std::string before;
    ASSERT_TRUE(platform::readFile("/proc/version", before));
    writeText("room.log", roomLog);
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile(pathOf("no-such-folder/room.log"), 0);
    t::answerSaveFile("/proc/version", 1);   // exists, and its folder takes no new file
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] { t::chooseMenu(menuSaveAs); });
    t::post([] { t::chooseMenu(menuSaveAs); });
    t::post([&] {
        ASSERT_EQ(t::messages().size(), 2u);
        EXPECT_EQ(t::messages()[0].title, "Error");
        EXPECT_EQ(t::messages()[0].text, "Can't write " + pathOf("no-such-folder/room.log"));
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(t::messages()[1].text, "Can't write /proc/version");
        std::string after;
        ASSERT_TRUE(platform::readFile("/proc/version", after));
        EXPECT_EQ(after, before);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - room.log");
        EXPECT_EQ(records::store().fileTitle, "room.log");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST(Sha256, KnownDigestsAcrossTheBlockBoundaries)
{
    const std::pair<std::string, const char*> table[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, digest] : table) {
        EXPECT_EQ(records::sha256Hex(bytes), digest) << bytes.size();
        // The same bytes added in uneven pieces, as a file is read.
        records::Sha256 pieces;
        for (size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 3 % 200 + 1)
            pieces.add(std::string_view(bytes).substr(at, piece));
        EXPECT_EQ(pieces.hex(), digest) << bytes.size();
    }
}

TEST_F(RecordFileCommandsTest, TheDigestFollowsTheFileAsLastImportedOrSaved)
{
    // Line ends of LF only read the same, but a save writes CR LF: other bytes.
    std::string lfLog = roomLog;
    for (size_t at; (at = lfLog.find('\r')) != std::string::npos;)
        lfLog.erase(at, 1);
    writeText("room.log", lfLog);
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile(pathOf("saved.log"), 0);
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([lfLog] {
        EXPECT_EQ(records::store().fileDigest, records::sha256Hex(lfLog));
        t::chooseMenu(menuSaveAs);
    });
    t::post([this] {
        EXPECT_EQ(records::store().fileDigest, records::sha256Hex(readText("saved.log")));
        EXPECT_EQ(records::store().fileDigest, records::sha256Hex(roomLog));
        t::chooseMenu(menuClose);
    });
    t::post([] {
        EXPECT_EQ(records::store().fileDigest, "");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
