// Type-ahead in the "Input Time" picker with real keys, as a person types: the
// closed and the open list select the first entry that begins with everything
// typed so far, a blank is part of the text, the selected entry stays while it
// begins with the text, and a pause of a second starts a new search.
#include "support/program.h"

#include "app/ids.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "records/store.h"

using namespace app;
namespace t = platform::testing;

namespace {

class PickerTest : public ProgramTest {};

// 500 hourly records up to 2024-01-20 00:00: the oldest is 2023-12-30 05:00.
constexpr int32_t newest = 1705708800;
constexpr int32_t count = 500;

// The entry of the record at `time` ("From" list: entry = record index).
int entryAt(int32_t time)
{
    return (time - (newest - (count - 1) * 3600)) / 3600;
}

constexpr int32_t jan10at00 = 1704844800;
constexpr int32_t jan10at12 = jan10at00 + 12 * 3600;
constexpr int32_t jan11at00 = jan10at00 + 24 * 3600;
constexpr int32_t jan02at00 = jan10at00 - 8 * 86400;

void pauseTyping()
{
    t::pumpFor(1100);
}

} // namespace

TEST_F(PickerTest, TypingSelectsTheFirstEntryThatBeginsWithAllTyped)
{
    t::post([] {
        fillStore(count, 3600, newest);
        t::click(profileButton);
    });
    t::post([] { t::click(profileFromButton); });
    t::post([] {
        ASSERT_TRUE(platform::windowExists(timePickerWindow));
        // Closed: the blank neither opens the list nor ends the text.
        t::typeText(timePickerList, "2024-01-10 12");
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), entryAt(jan10at12));
        EXPECT_EQ(t::openList(timePickerList).highlighted, -1);
        // A new search whose text the selected entry begins with: it stays, and
        // typing on goes forward to the first entry of the longer text.
        pauseTyping();
        t::typeText(timePickerList, "2024-01-1");
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), entryAt(jan10at12));
        t::typeText(timePickerList, "1");
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), entryAt(jan11at00));
        // Without a pause the text goes on: nothing begins with it, nothing moves.
        t::typeText(timePickerList, "2");
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), entryAt(jan11at00));
        // A pause, and "2" starts afresh: the selected entry begins with it.
        pauseTyping();
        t::typeText(timePickerList, "2");
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), entryAt(jan11at00));
    });
    t::post([] {
        // The open list shows the selection and types the same way.
        t::sendKey(timePickerList, t::Key::F4);
        t::OpenList shown = t::openList(timePickerList);
        EXPECT_EQ(shown.highlighted, entryAt(jan11at00));
        EXPECT_LE(shown.first, shown.highlighted);
        EXPECT_GE(shown.last, shown.highlighted);
        pauseTyping();
        t::typeText(timePickerList, "2024-01-02 0");
        shown = t::openList(timePickerList);
        EXPECT_EQ(shown.highlighted, entryAt(jan02at00));
        EXPECT_LE(shown.first, shown.highlighted);
        EXPECT_GE(shown.last, shown.highlighted);
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), entryAt(jan02at00));
        t::sendKey(timePickerList, t::Key::Escape);   // closes the list only
    });
    t::post([] {
        EXPECT_EQ(t::openList(timePickerList).highlighted, -1);
        ASSERT_TRUE(platform::windowExists(timePickerWindow));
        t::click(timePickerOkButton);
    });
    t::post([] {
        EXPECT_EQ(records::store().rangeStart, entryAt(jan02at00));
        EXPECT_EQ(platform::text(profileFromText), "From: 2024-01-02 00:00:00");
        t::click(okButton);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}
