#include "app/title.h"

namespace lumipad {

std::string windowTitle(std::string_view stamp) {
    std::string title = "Lumipad v1.1 beta - made by the Lumipad developers, built ";
    title += stamp;
    return title;
}

}  // namespace lumipad
