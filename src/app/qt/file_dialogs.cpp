#include "app/qt/file_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace lumipad {

namespace {

// What the dialog says when it refuses a confirmed name; empty when the name may be used.
QString refusal(const QString& name) {
    switch (checkChosenName(name)) {
        case ChosenNameProblem::TooLong:
            return QStringLiteral(
                       "%1\nThe name is too long: a file name may have at most %2 "
                       "characters.")
                .arg(name, QString::number(kMaxChosenNameLength));
        case ChosenNameProblem::NoSuchFolder:
            return QStringLiteral("%1\nThis folder does not exist.\nPlease check the folder name.")
                .arg(QFileInfo(name).path());
        case ChosenNameProblem::None:
            break;
    }
    return {};
}

// Qt's own handling of a confirmed name would take one in a folder that does not exist, and
// names of any length; this dialog refuses them and stays open.
class CheckedFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            if (const QString why = refusal(chosen.front()); !why.isEmpty()) {
                QMessageBox::warning(this, windowTitle(), why);
                return;
            }
        }
        QFileDialog::accept();
    }
};

QString pattern(QString text) {
    text = text.trimmed();
    // "*.*" means every file; on this platform that pattern would skip names without a dot.
    return text == QLatin1String("*.*") ? QStringLiteral("*") : text;
}

}  // namespace

QStringList qtNameFilters(std::string_view filter) {
    const QStringList fields =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (const QString cleaned = pattern(p); !cleaned.isEmpty()) patterns << cleaned;
        }
        entries << fields[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return entries;
}

InitialName splitInitialName(const std::string& initialName) {
    const QString whole = QFile::decodeName(QByteArray::fromStdString(initialName));
    const qsizetype separator = whole.lastIndexOf(QLatin1Char('/'));
    InitialName split;
    if (separator < 0) {
        split.name = whole;
    } else {
        split.folder = separator == 0 ? QStringLiteral("/") : whole.left(separator);
        split.name = whole.mid(separator + 1);
    }
    // '/' cannot be left in the name part; NUL is the one other character a name may not hold.
    if (split.name.contains(QChar(u'\0'))) split.name.clear();
    return split;
}

ChosenNameProblem checkChosenName(const QString& fullName) {
    const QFileInfo info(fullName);
    // A folder is not chosen: the dialog opens it.
    if (info.isDir()) return ChosenNameProblem::None;
    if (fullName.toUcs4().size() > kMaxChosenNameLength) return ChosenNameProblem::TooLong;
    if (!QFileInfo(info.path()).isDir()) return ChosenNameProblem::NoSuchFolder;
    return ChosenNameProblem::None;
}

void configureFileDialog(QFileDialog& dialog, const FileDialogRequest& request,
                         FileDialogPurpose purpose) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The program asks its own overwrite question after the dialog has closed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setAcceptMode(purpose == FileDialogPurpose::Open ? QFileDialog::AcceptOpen
                                                            : QFileDialog::AcceptSave);
    // Also for opening: a name that does not exist is handed back, and the load reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // The extension stays the user's: the written format follows it.
    dialog.setDefaultSuffix(QString());
    // Qt's own dialog shows no "open as read-only" check box, so there is none to hide.

    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size()) {
        dialog.selectNameFilter(filters[static_cast<qsizetype>(request.filterIndex)]);
    }

    const InitialName initial = splitInitialName(request.initialName);
    // A folder that is gone cannot be opened; the dialog then starts in its default folder.
    if (!initial.folder.isEmpty() && QFileInfo(initial.folder).isDir()) {
        dialog.setDirectory(initial.folder);
    }
    if (!initial.name.isEmpty()) dialog.selectFile(initial.name);
}

std::string runFileDialog(QWidget* parent, const FileDialogRequest& request,
                          FileDialogPurpose purpose) {
    CheckedFileDialog dialog(parent);
    configureFileDialog(dialog, request, purpose);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return QFile::encodeName(chosen.front()).toStdString();
}

}  // namespace lumipad
