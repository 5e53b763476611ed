// Scripted dialogs, recorded message boxes, and printing to a PDF file.
#include "support/seam.h"

#include "platform/dialogs.h"
#include "platform/images.h"
#include "platform/print.h"

using namespace platform;
namespace t = platform::testing;

namespace {

class DialogsTest : public SeamTest {};

const std::string logPatterns = "OSTREL record (*.log)|*.log|All files (*.*)|*.*";

} // namespace

TEST_F(DialogsTest, FileDialogsTakeScriptedAnswersAndSplitTheProposal)
{
    t::answerSaveFile("/tmp/out", 1);
    FileChoice choice = saveFileDialog("Please choose file to save", "C:\\data\\cellar.log", logPatterns);
    EXPECT_EQ(choice.path, "/tmp/out");
    EXPECT_EQ(choice.pattern, 1);
    EXPECT_EQ(t::lastDialog().kind, "save file");
    EXPECT_EQ(t::lastDialog().folder, "C:\\data\\");
    EXPECT_EQ(t::lastDialog().fileName, "cellar.log");
    EXPECT_EQ(t::lastDialog().patterns, logPatterns);

    t::answerOpenFile("");
    EXPECT_TRUE(openFileDialog("Please choose a Ostrel Sentrel File to load", "/work/", logPatterns).path.empty());
    EXPECT_EQ(t::lastDialog().folder, "/work/");
    EXPECT_EQ(t::lastDialog().fileName, "");
}

TEST_F(DialogsTest, UnscriptedOrMismatchedDialogsFailTheTestAndCancel)
{
    EXPECT_TRUE(openFileDialog("Please choose a Ostrel Sentrel File to load", "", logPatterns).path.empty());
    t::answerColor(rgb(1, 2, 3));
    EXPECT_TRUE(saveFileDialog("Please choose file to save", "", logPatterns).path.empty());
    std::vector<std::string> failures = takeFailures();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0], "unscripted open file dialog \"Please choose a Ostrel Sentrel File to load\"");
    EXPECT_EQ(failures[1], "unscripted save file dialog \"Please choose file to save\"");
    EXPECT_EQ(chooseColor(0), rgb(1, 2, 3));   // the answer is still there for its dialog
}

TEST_F(DialogsTest, ColourMessagesAndWebAddressesAreRecorded)
{
    t::answerColor(std::nullopt);
    t::answerColor(0);
    EXPECT_FALSE(chooseColor(255).has_value());
    EXPECT_EQ(chooseColor(255), Color{0});   // black is a choice, not a cancel

    messageBox("Error", "Wrong file format", MessageIcon::None);
    messageBox("Busy", "Sentrel32 connected but now is busy...\n\nPlease wait a moment then retry.", MessageIcon::Warning);
    ASSERT_EQ(t::messages().size(), 2u);
    EXPECT_EQ(t::messages()[0].title, "Error");
    EXPECT_EQ(t::messages()[0].text, "Wrong file format");
    EXPECT_EQ(t::messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(t::messages()[1].icon, MessageIcon::Warning);

    openWebAddress("https://climadesk.example.com/");
    EXPECT_EQ(t::openedWebAddresses(), (std::vector<std::string>{"https://climadesk.example.com/"}));
}

TEST_F(DialogsTest, PrintsAPageOfImagesToAPdfFile)
{
    t::answerPrint("");
    EXPECT_FALSE(printDialog());
    t::answerPrint(pathOf("page.pdf"));
    ASSERT_TRUE(printDialog());
    ASSERT_TRUE(startPrintJob("Graph print"));
    Size page = printPageSize();
    EXPECT_GT(page.width, 1000);
    EXPECT_GT(page.height, page.width);   // portrait by default
    createImage(71, 300, 200);
    fillRect(71, 0, 0, 300, 200, rgb(255, 0, 0));
    drawPrintImage(71, 0, 0, 900, 600);
    endPrintJob();
    std::string pdf = readText("page.pdf");
    ASSERT_GT(pdf.size(), 100u);
#ifdef _WIN32
    // Under Wine the only printer driver writes PostScript, titled with the job's name.
    if (pdf.substr(0, 4) == "%!PS") {
        EXPECT_NE(pdf.find("\n%%Title: Graph print"), std::string::npos) << pdf.substr(0, 400);
        EXPECT_NE(pdf.find("\n%%Pages: 1"), std::string::npos) << pdf.substr(0, 400);
        return;
    }
#endif
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
}
