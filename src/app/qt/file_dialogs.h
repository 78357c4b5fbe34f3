// The open-file and save-file dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "app/ui.h"

class QFileDialog;
class QWidget;

namespace lumipad {

enum class FileDialogPurpose { Open, Save };

// The longest full name a dialog hands back; a longer one is refused in the dialog.
inline constexpr qsizetype kMaxChosenNameLength = 259;

// Runs the dialog modally over `parent`; the chosen file's full name, or the empty text on
// cancel, close or failure.
std::string runFileDialog(QWidget* parent, const FileDialogRequest& request,
                          FileDialogPurpose purpose);

// Everything runFileDialog sets up before the dialog is shown.
void configureFileDialog(QFileDialog& dialog, const FileDialogRequest& request,
                         FileDialogPurpose purpose);

// "label|patterns|label|patterns..." as Qt's filter entries "label (pattern pattern)".
QStringList qtNameFilters(std::string_view filter);

// The initial name split at its last separator: the folder the dialog opens in (empty: the
// dialog's default folder) and the text preset in the name field.
struct InitialName {
    QString folder;
    QString name;
};
InitialName splitInitialName(const std::string& initialName);

// Why the dialog refuses a confirmed name; None when it may close with it.
enum class ChosenNameProblem { None, TooLong, NoSuchFolder };
ChosenNameProblem checkChosenName(const QString& fullName);

}  // namespace lumipad
