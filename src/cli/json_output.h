#pragma once

#include <nlohmann/json.hpp>

namespace traveno::cli {

// Listings print what the store holds, and text written by older versions may not be valid UTF-8:
// such a byte prints as U+FFFD instead of stopping the listing.
inline constexpr auto kReplaceInvalidUtf8 = nlohmann::json::error_handler_t::replace;

}  // namespace traveno::cli
