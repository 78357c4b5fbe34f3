#include "app/qt/file_dialogs.h"

#include <QFileDialog>

namespace lumipad {

std::string runFileDialog(QWidget* parent, const FileDialogRequest& request,
                          FileDialogPurpose purpose) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(purpose == FileDialogPurpose::Open ? QFileDialog::AcceptOpen
                                                            : QFileDialog::AcceptSave);
    dialog.selectFile(QString::fromStdString(request.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace lumipad
