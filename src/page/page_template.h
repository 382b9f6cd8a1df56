// The puzzle page's template: src/page/assets (HTML with its style sheet
// and script inline), embedded at build time by embed_page_assets.cmake.
// The program fills the fields marked %%NAME%% in it.
#pragma once

#include <string_view>

namespace arrowgrid {

extern const std::string_view PAGE_TEMPLATE;

}  // namespace arrowgrid
