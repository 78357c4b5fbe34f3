// The open-file and save-file dialogs.
#pragma once

#include <string>

#include "app/ui.h"

class QWidget;

namespace lumipad {

enum class FileDialogPurpose { Open, Save };

// Runs the dialog modally over `parent`; the chosen file's full name, or the empty text on
// cancel, close or failure.
std::string runFileDialog(QWidget* parent, const FileDialogRequest& request,
                          FileDialogPurpose purpose);

}  // namespace lumipad
