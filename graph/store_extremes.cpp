// Extremes of the store, and the colour swatches.
#include "app/ids.h"
#include "app/settings.h"
#include "graph/curves.h"
#include "graph/graph.h"
#include "platform/images.h"
#include "records/store.h"

namespace graph {

namespace {

Extremes storeExtremes;

} // namespace

const Extremes& extremes()
{
    return storeExtremes;
}

void scanExtremes()
{
    const std::vector<records::Record>& recs = records::store().records;
    const ExtremePlaces p = findExtremes(recs);
    storeExtremes = Extremes{};
    if (p.humidityMin >= 0) {
        const auto at = [&](int32_t index) -> const records::Record& { return recs[static_cast<size_t>(index)]; };
        storeExtremes = {at(p.humidityMin).humidity, at(p.humidityMax).humidity, at(p.temperatureMin).temperature,
                         at(p.temperatureMax).temperature};
    }
    records::store().recordCount = records::recordTotal();
    forgetCurveSummary();
}

void paintSwatches()
{
    const app::Settings& s = app::settings();
    platform::fillRect(app::humiditySwatch, 0, 0, 20, 10, s.humidityColor & 0xFFFFFF);
    platform::fillRect(app::temperatureSwatch, 0, 0, 20, 10, s.temperatureColor & 0xFFFFFF);
}

} // namespace graph
