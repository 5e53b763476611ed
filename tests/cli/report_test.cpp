// `climadesk report`: the PDF read back by pdftotext and pdfinfo (poppler), every
// figure found, the pages numbered, the paper of the locale, and its refusals.
#include "cli/run.h"
#include "support/program.h"

#include "records/logfile.h"
#include "records/sha256.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {

// 600 records ten minutes apart, newest 2024-03-15 12:00, oldest 2024-03-11
// 08:10, mostly 5.0 degrees C and 50 %RH: 105 runs of two records at 8.5, a
// run of six up to 9.5 from 2024-03-14 07:50, one record at 8.5 at 09:30, two
// gaps, three records down to 1.0 from 12:50 and two at 70 %RH from 14:30.
std::string fridgeLog()
{
    std::vector<records::Record> recs;
    for (int32_t i = 0; i < 600; ++i) {
        int32_t t = 50, h = 500;
        if ((i < 420 && (i % 4 == 1 || i % 4 == 2)) || i == 440)
            t = 85;
        if (i >= 430 && i <= 435)
            t = i == 433 ? 95 : 90;
        if (i == 460 || i == 462)
            t = 15;
        if (i == 461)
            t = 10;
        if (i == 470 || i == 471)
            h = 700;
        if (i == 450 || i == 451)
            t = h = 0;
        recs.push_back({0, h, t});
    }
    records::assignTimes(recs, 1710504000, 600);
    return records::formatLogFile(recs, 600);
}

class ReportTest : public ProgramTest {
protected:
    // The text of page `page` (0: all), laid out as on paper.
    std::string pageText(const std::string& pdf, int page) const
    {
        const std::string range = page ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
        EXPECT_EQ(std::system(("pdftotext -layout" + range + " " + pdf + " page.txt").c_str()), 0);
        return readText("page.txt");
    }

    std::string info(const std::string& pdf) const
    {
        EXPECT_EQ(std::system(("pdfinfo " + pdf + " > info.txt").c_str()), 0);
        return readText("info.txt");
    }
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// "Label   value" on one line of the laid-out text, any blanks between.
bool hasFact(const std::string& text, const std::string& label, const std::string& value)
{
    for (size_t at = text.find(label + " "); at != std::string::npos; at = text.find(label + " ", at + 1)) {
        const size_t start = text.find_first_not_of(' ', at + label.size());
        if (text.compare(start, value.size(), value) == 0)
            return true;
    }
    return false;
}

} // namespace

TEST_F(ReportTest, EveryFigureOnNumberedPages)
{
    const std::string log = fridgeLog();
    writeText("fridge.log", log);
    unsetenv("LC_ALL");
    setenv("LC_PAPER", "de_DE.UTF-8", 1);
    ProgramRun run = runClimadesk({"report", "fridge.log", "fridge.pdf", "--temp-limits", "2,8", "--rh-limits", ",65",
                                   "--delay", "20"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    const std::string text = pageText("fridge.pdf", 0);
    const std::string degrees = "\xC2\xB0" "C";   // pdftotext writes UTF-8

    // 1. The file.
    EXPECT_TRUE(contains(text, "Climadesk report")) << text;
    EXPECT_TRUE(hasFact(text, "Record file", "fridge.log"));
    EXPECT_TRUE(hasFact(text, "SHA-256", records::sha256Hex(log))) << text;
    EXPECT_TRUE(hasFact(text, "Period", "2024-03-11 08:10:00 to 2024-03-15 12:00:00"));
    EXPECT_TRUE(hasFact(text, "Interval", "10 minutes"));
    EXPECT_TRUE(hasFact(text, "Records", "600"));
    EXPECT_TRUE(hasFact(text, "Gaps", "2"));
    EXPECT_TRUE(hasFact(text, "Coverage", "99.7 %"));
    // 2. The limits.
    EXPECT_TRUE(hasFact(text, "Temperature high", "8.0 " + degrees));
    EXPECT_TRUE(hasFact(text, "Temperature low", "2.0 " + degrees));
    EXPECT_TRUE(hasFact(text, "Humidity high", "65.0 RH%"));
    EXPECT_FALSE(contains(text, "Humidity low"));
    EXPECT_TRUE(hasFact(text, "Delay", "20 minutes"));
    // 3. The readings (the figures worked out apart from the program).
    EXPECT_TRUE(hasFact(text, "Minimum", "1.0 " + degrees + " 2024-03-14 13:00:00")) << text;
    EXPECT_TRUE(hasFact(text, "Maximum", "9.5 " + degrees + " 2024-03-14 08:20:00"));
    EXPECT_TRUE(hasFact(text, "Mean", "6.26 " + degrees));
    EXPECT_TRUE(hasFact(text, "Mean kinetic temperature", "6.44 " + degrees));
    EXPECT_TRUE(hasFact(text, "Highest 24-hour MKT", "6.93 " + degrees));
    EXPECT_TRUE(hasFact(text, "Highest 30-day MKT", "-"));
    EXPECT_TRUE(hasFact(text, "Minimum", "50.0 RH% 2024-03-11 08:10:00"));
    EXPECT_TRUE(hasFact(text, "Maximum", "70.0 RH% 2024-03-14 14:30:00"));
    EXPECT_TRUE(hasFact(text, "Mean", "50.07 RH%"));
    EXPECT_TRUE(hasFact(text, "Minimum", "-8.3 " + degrees + " 2024-03-14 13:00:00"));
    EXPECT_TRUE(hasFact(text, "Maximum", "0.0 " + degrees + " 2024-03-14 14:30:00"));
    EXPECT_TRUE(hasFact(text, "Mean", "-3.40 " + degrees));
    // 4. The excursions: the single record at 8.5 is shorter than the delay.
    EXPECT_TRUE(contains(text, "Temperature high: above 8.0 " + degrees));
    EXPECT_TRUE(hasFact(text, "Excursions", "106"));
    EXPECT_TRUE(hasFact(text, "Time beyond", "1 days, 12 hours\n"));
    EXPECT_TRUE(hasFact(text, "Cumulative time beyond", "1 days, 12 hours, 10 minutes"));
    EXPECT_TRUE(hasFact(text, "Longest", "2024-03-14 07:50:00, 60 minutes, peak 9.5 " + degrees));
    EXPECT_TRUE(hasFact(text, "First", "2024-03-11 08:20:00"));
    EXPECT_TRUE(hasFact(text, "2024-03-11 08:20:00", "2024-03-11 08:40:00"));
    EXPECT_TRUE(contains(text, "2024-03-14 02:20:00"));   // the 100th excursion listed
    EXPECT_FALSE(contains(text, "2024-03-14 03:00:00"));  // the 101st is not
    EXPECT_TRUE(contains(text, "and 6 more"));
    EXPECT_TRUE(contains(text, "Temperature low: below 2.0 " + degrees));
    EXPECT_TRUE(hasFact(text, "Longest", "2024-03-14 12:50:00, 30 minutes, peak 1.0 " + degrees));
    EXPECT_TRUE(contains(text, "Humidity high: above 65.0 RH%"));
    EXPECT_TRUE(hasFact(text, "Longest", "2024-03-14 14:30:00, 20 minutes, peak 70.0 RH%"));
    // 5 and 6.
    EXPECT_TRUE(contains(text, "Humidity profile (hours)"));
    EXPECT_TRUE(hasFact(text, " 5-10" + degrees, "-"));
    for (const char* label : {"Reviewed by", "Signature", "Date"})
        EXPECT_TRUE(contains(text, label)) << label;

    // Every page says which it is of how many, and when it was made; A4 paper.
    const std::string about = info("fridge.pdf");
    EXPECT_TRUE(contains(about, "(A4)")) << about;
    const size_t pagesAt = about.find("Pages:");
    ASSERT_NE(pagesAt, std::string::npos);
    const int pages = std::atoi(about.c_str() + about.find_first_not_of(' ', pagesAt + 6));
    EXPECT_GE(pages, 3);
    for (int page = 1; page <= pages; ++page) {
        const std::string one = pageText("fridge.pdf", page);
        EXPECT_TRUE(contains(one, "Page " + std::to_string(page) + " of " + std::to_string(pages))) << one;
        const size_t created = one.find("Created by Climadesk 1.0 on ");
        ASSERT_NE(created, std::string::npos) << page;
        const std::string when = one.substr(created + 28, 16);
        EXPECT_TRUE(when[4] == '-' && when[7] == '-' && when[10] == ' ' && when[13] == ':') << when;
    }

    // Letter where the locale's paper is Letter.
    setenv("LC_PAPER", "en_US.UTF-8", 1);
    ProgramRun letter = runClimadesk({"report", "fridge.log", "letter.pdf"});
    unsetenv("LC_PAPER");
    ASSERT_EQ(letter.exitCode, 0) << letter.err;
    EXPECT_TRUE(contains(info("letter.pdf"), "612 x 792 pts (letter)")) << info("letter.pdf");
    EXPECT_TRUE(contains(pageText("letter.pdf", 0), "No limits set"));
}

TEST_F(ReportTest, FahrenheitLimitsAndRefusals)
{
    writeText("fridge.log", fridgeLog());
    ProgramRun run = runClimadesk({"report", "fridge.log", "f.pdf", "--fahrenheit", "--temp-limits", "35.6,46.4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = pageText("f.pdf", 0);
    const std::string degrees = "\xC2\xB0" "F";
    EXPECT_TRUE(hasFact(text, "Temperature high", "46.4 " + degrees)) << text;
    EXPECT_TRUE(hasFact(text, "Maximum", "49.1 " + degrees + " 2024-03-14 08:20:00"));
    EXPECT_TRUE(hasFact(text, "Excursions", "107"));   // no delay: the single record counts

    // Nothing is written where the report cannot go, and what was there stays.
    writeText("locked.pdf", "old");
    chmod("locked.pdf", 0444);
    ProgramRun locked = runClimadesk({"report", "fridge.log", "locked.pdf"});
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_EQ(locked.err, "Can't write locked.pdf\n");
    EXPECT_EQ(readText("locked.pdf"), "old");
    ProgramRun missing = runClimadesk({"report", "none.log", "out.pdf"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Can't read none.log\n");
    ProgramRun bad = runClimadesk({"report", "fridge.log", "out.pdf", "--rh-limits", "70,60"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(contains(bad.err, "--rh-limits: the low limit lies above the high one: 70,60")) << bad.err;
    struct stat st;
    EXPECT_NE(stat("out.pdf", &st), 0);
}
