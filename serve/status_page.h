// status_page.h: the page `climadesk serve` shows at "/": one row per logger.
//
// Plain HTML with its CSS and no script; a <meta http-equiv="refresh"> reloads
// it every interval. Each row holds the logger's name, address, state
// ("answering", or since when it has not answered), the temperature, humidity
// and dew point of the last answered query and the time of that answer; the
// readings of a logger that no longer answers stay, greyed. A row with a
// reading beyond a limit gets the class "beyond" and each value beyond its limit
// the class "alarm". Times are the machine's local clock. UTF-8 throughout.
#pragma once

#include "analysis/limits.h"
#include "serve/poller.h"

#include <cstdint>
#include <string>
#include <vector>

namespace serve {

// The page for `states`, refreshing every `refreshSeconds` (at least 1).
std::string statusPage(const std::vector<LoggerState>& states, const analysis::Limits& limits, int64_t refreshSeconds);

// `text` with &, <, >, " written as HTML character references.
std::string escapedHtml(const std::string& text);

} // namespace serve
