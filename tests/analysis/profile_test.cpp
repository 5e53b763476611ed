// The humidity profile and the record-time picker.
#include "support/program.h"

#include "analysis/profile.h"
#include "analysis/statistics.h"
#include "app/ids.h"
#include "platform/controls.h"
#include "platform/window.h"

using namespace app;
namespace t = platform::testing;

namespace {

class ProfileTest : public ProgramTest {};


// The cells of a list row.
std::vector<std::string> cells(const std::string& row)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = row.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(row.substr(start, end - start));
    out.push_back(row.substr(start));
    return out;
}

// Rows top to bottom: 65-70 C first (index 0), 0-5 C at 13, the empty row, "Tot".
std::string cell(int band, int humidityBand)
{
    std::vector<std::string> rows = t::listRows(profileList);
    return cells(rows.at(static_cast<size_t>(13 - band))).at(static_cast<size_t>(humidityBand + 1));
}

std::string total(int humidityBand)
{
    return cells(t::listRows(profileList).at(15)).at(static_cast<size_t>(humidityBand + 1));
}

} // namespace

TEST(ProfileBands, EdgesBelongToTheLowerBand)
{
    EXPECT_EQ(analysis::humidityBand(50), 0);
    EXPECT_EQ(analysis::humidityBand(51), 1);
    EXPECT_EQ(analysis::humidityBand(200), 2);
    EXPECT_EQ(analysis::humidityBand(201), 3);
    EXPECT_EQ(analysis::humidityBand(900), 9);
    EXPECT_EQ(analysis::humidityBand(901), 10);
    EXPECT_EQ(analysis::humidityBand(1000), 10);
    EXPECT_EQ(analysis::humidityBand(-5), 0);
    EXPECT_EQ(analysis::temperatureBand(0), -1);
    EXPECT_EQ(analysis::temperatureBand(-15), -1);
    EXPECT_EQ(analysis::temperatureBand(701), -1);
    EXPECT_EQ(analysis::temperatureBand(1), 0);
    EXPECT_EQ(analysis::temperatureBand(50), 0);
    EXPECT_EQ(analysis::temperatureBand(51), 1);
    EXPECT_EQ(analysis::temperatureBand(700), 13);
    EXPECT_EQ(analysis::hoursText(6, 600), "1.00");
    EXPECT_EQ(analysis::hoursText(1, 600), "0.17");
    EXPECT_EQ(analysis::hoursText(0, 600), "-");
    EXPECT_EQ(analysis::hoursText(3, 0), "0.00");
}

TEST_F(ProfileTest, TableCountsTheRangeInHours)
{
    t::post([] {
        std::vector<std::pair<int32_t, int32_t>> day(24, {210, 450});
        day.push_back({0, 0});      // a gap: never counted
        day.push_back({-15, 450});  // below every band
        day.push_back({701, 450});  // above every band
        day.push_back({700, 1000}); // 65-70 C, 90-95 %
        loadValues(day, 3600);
        t::click(profileButton);
    });
    t::post([] {
        std::vector<std::string> rows = t::listRows(profileList);
        ASSERT_EQ(rows.size(), 16u);
        EXPECT_EQ(cells(rows[0])[0], "65-70\xB0" "C");
        EXPECT_EQ(cells(rows[13])[0], " 0- 5\xB0" "C");
        EXPECT_EQ(rows[14], "");
        EXPECT_EQ(cells(rows[15])[0], "Tot");
        EXPECT_EQ(t::listColumnTitles(profileList).at(11), "90-95%");
        EXPECT_EQ(cell(4, 5), "24.00");     // 20-25 C, 40-50 %
        EXPECT_EQ(total(5), "24.00");
        EXPECT_EQ(cell(13, 10), "1.00");
        EXPECT_EQ(total(10), "1.00");
        EXPECT_EQ(cell(4, 4), "-");
        EXPECT_EQ(total(0), "-");
        EXPECT_EQ(platform::text(profileToText), "To: 2024-03-15 12:00:00");
        t::click(profileToButton);
    });
    t::post([] {
        // "To" lists records From .. last; choosing From = To counts one record.
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), 28u);
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), 27);
        t::chooseDropDownEntry(timePickerList, 0);
        t::click(timePickerOkButton);
    });
    t::post([] { t::click(profileFromButton); });
    t::post([] {
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), 1u);   // nothing after "To"
        t::click(timePickerOkButton);
    });
    t::post([] {
        EXPECT_EQ(records::store().rangeStart, 0);
        EXPECT_EQ(records::store().rangeEnd, 0);
        EXPECT_EQ(cell(4, 5), "1.00");
        EXPECT_EQ(total(5), "1.00");
        EXPECT_EQ(t::listRows(profileList).size(), 16u);
        t::click(okButton);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ProfileTest, PickerListsItsRangeAndReturnsTheChoice)
{
    // Step 2 calls the picker three times; each call's loop takes the next step.
    t::post([] {
        loadValues(std::vector<std::pair<int32_t, int32_t>>(101, {210, 450}), 60);
        t::click(profileButton);
    });
    t::post([] {
        EXPECT_EQ(analysis::pickRecordTime(10, 100, 100), 100);
        EXPECT_EQ(analysis::pickRecordTime(0, 42, 100), 42);
        EXPECT_EQ(analysis::pickRecordTime(7, 7, 7), 7);
        EXPECT_TRUE(platform::windowExists(profileWindow));
        t::click(okButton);
    });
    t::post([] {
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), 91u);
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), 90);
        EXPECT_EQ(t::dropDownEntries(timePickerList).back(), "2024-03-15 12:00:00");
        t::click(timePickerOkButton);
    });
    t::post([] {
        t::chooseDropDownEntry(timePickerList, 5);
        t::requestClose(timePickerWindow);   // the close box keeps `current`
    });
    t::post([] {
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), 1u);
        t::click(timePickerOkButton);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}
