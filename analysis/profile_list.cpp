// profile_list.cpp: the list of the RH Profile window.
#include "analysis/profile.h"

#include "app/ids.h"
#include "platform/controls.h"
#include "records/store.h"

namespace analysis {

namespace {

ProfileCounts profileCounts;

// Inserts a row at the top of the list: it ends up above every earlier row.
void addRow(const std::string& label, const std::array<int64_t, humidityBands>& counts)
{
    std::string row = label;
    for (int64_t count : counts) {
        row += '\n';
        row += hoursText(count, records::store().interval);
    }
    platform::insertListRow(app::profileList, 0, row);
}

void addProfileTotal()
{
    addRow("Tot", profileTotals(profileCounts));
    platform::insertListRow(app::profileList, 0, "");
}

void addProfileRow(const std::string& label, int band)
{
    addRow(label, profileCounts[static_cast<size_t>(band)]);
}

} // namespace

void fillProfile()
{
    platform::clearList(app::profileList);
    const records::RecordStore& s = records::store();
    profileCounts = countProfile(s.records, s.rangeStart, s.rangeEnd);
    addProfileTotal();
    for (int band = 0; band < temperatureBands; ++band)
        addProfileRow(temperatureBandLabel(band), band);
}

} // namespace analysis
