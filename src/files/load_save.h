// The Load and Save buttons: file dialogs, messages, and the canvas and history around a file.
#pragma once

#include <string>
#include <string_view>

namespace lumipad {

class Lumipad;

inline constexpr std::string_view kFileTypeFilter =
    "PNG Images|*.png|JPG Images|*.jpg; *.jpeg|BMP Images|*.bmp|All Files|*.*";

void loadPicture(Lumipad& app);
void savePicture(Lumipad& app);
void formatFromExtension(Lumipad& app);
void applyDefaultFileName(Lumipad& app);
// The text after the dot that starts the name's extension, or the empty text.
std::string extensionOf(std::string_view name);

}  // namespace lumipad
