// The main window's title.
#pragma once

#include <string>
#include <string_view>

namespace lumipad {

// "MM/DD/YYYY HH:MM": when this program was built.
const char* buildStamp();

// "Lumipad v1.1 beta - " and the maker's notice holding the build date and time.
std::string windowTitle(std::string_view stamp);

}  // namespace lumipad
