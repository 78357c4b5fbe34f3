// The file dialogs and message boxes on the offscreen platform: how a dialog is set up from a
// request, what it hands back for what the user types, and the two kinds of message box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/file_dialogs.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_ui.h"
#include "files/load_save.h"

// Readable failure messages.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace lumipad {
namespace {

const QStringList kQtFilters = {"PNG Images (*.png)", "JPG Images (*.jpg *.jpeg)",
                                "BMP Images (*.bmp)", "All Files (*)"};

// Acts on the modal windows that open while the code under test waits in its own event loop.
// Each step is offered the active modal window until it reports that it has acted on it; after
// ten seconds every modal window is rejected so that a test never hangs.
class ModalScript {
  public:
    using Step = std::function<bool(QWidget* modal)>;

    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(10);
        clock_.start();
    }
    bool finished() const { return next_ == steps_.size(); }

  private:
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        if (clock_.elapsed() > 10000) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            return;
        }
        if (next_ < steps_.size() && steps_[next_](modal)) ++next_;
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
    QElapsedTimer clock_;
};

QLineEdit* nameField(QWidget* dialog) { return dialog->findChild<QLineEdit*>("fileNameEdit"); }

// Types `name` into the file dialog's name field and confirms it. The confirmation runs from
// its own timer since it may open a message box and wait for it.
ModalScript::Step typeAndConfirm(const QString& name) {
    return [name](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr || nameField(dialog) == nullptr) return false;
        nameField(dialog)->setText(name);
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
        return true;
    };
}

ModalScript::Step cancel() {
    return [](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) return false;
        dialog->reject();
        return true;
    };
}

// The dialog's message box refusing a name: its text is kept, then it is dismissed with OK.
ModalScript::Step refusal(QString* seen) {
    return [seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return false;
        *seen = box->text();
        box->button(QMessageBox::Ok)->click();
        return true;
    };
}

class FileDialogs : public ::testing::Test {
  protected:
    // Qt's dialog reads and writes its state in the user's settings; keep it away from them.
    static void SetUpTestSuite() {
        settings_ = new QTemporaryDir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_->path());
    }
    static void TearDownTestSuite() { delete settings_; }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir("pics"));
    }
    std::string at(const QString& name) const {
        return QFile::encodeName(dir_.filePath(name)).toStdString();
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

    static QTemporaryDir* settings_;
    QTemporaryDir dir_;
};

QTemporaryDir* FileDialogs::settings_ = nullptr;

TEST_F(FileDialogs, FilterEntriesArePairsOfLabelAndPatterns) {
    const struct {
        const char* filter;
        QStringList entries;
    } cases[] = {
        {kFileTypeFilter.data(), kQtFilters},
        {"Text|*.txt;*.md|Alone", {"Text (*.txt *.md)"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(qtNameFilters(c.filter), c.entries) << c.filter;
}

TEST_F(FileDialogs, TheInitialNameSplitsAtItsLastSeparator) {
    const struct {
        std::string initial;
        QString folder;
        QString name;
    } cases[] = {
        {"Lumipad.png", "", "Lumipad.png"},
        {"/home/u/pics/photo.jpg", "/home/u/pics", "photo.jpg"},
        {"/photo.jpg", "/", "photo.jpg"},
        {"pics/", "pics", ""},
        {"back\\slash.png", "", "back\\slash.png"},  // an ordinary character here
        {std::string("pics/a\0b.png", 12), "pics", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.initial);
        const InitialName split = splitInitialName(c.initial);
        EXPECT_EQ(split.folder, c.folder);
        EXPECT_EQ(split.name, c.name);
    }
}

TEST_F(FileDialogs, ConfirmedNamesNeedAnExistingFolderAndAtMost259Characters) {
    const QString base = path("pics") + "/";
    auto padded = [&](qsizetype length) { return base + QString(length - base.size(), 'a'); };
    const struct {
        const char* what;
        QString name;
        ChosenNameProblem problem;
    } cases[] = {
        {"new file in an existing folder", base + "new.png", ChosenNameProblem::None},
        {"259 characters", padded(259), ChosenNameProblem::None},
        {"260 characters", padded(260), ChosenNameProblem::TooLong},
        {"folder missing", path("nope/new.png"), ChosenNameProblem::NoSuchFolder},
        {"a folder is opened, not chosen", path("pics"), ChosenNameProblem::None},
    };
    for (const auto& c : cases) EXPECT_EQ(checkChosenName(c.name), c.problem) << c.what;
}

TEST_F(FileDialogs, ADialogIsSetUpFromTheRequest) {
    // Where a dialog opens that is not told a folder: Qt's last visited one, else the current.
    auto defaultFolder = [] {
        QFileDialog plain;
        plain.setOption(QFileDialog::DontUseNativeDialog);
        return plain.directory().absolutePath();
    };
    const QString none = "(default)";

    const struct {
        const char* what;
        FileDialogPurpose purpose;
        std::string initial;
        std::int64_t filterIndex;
        QString folder;
        QString field;
    } cases[] = {
        {"load from a folder", FileDialogPurpose::Open, at("pics/photo.jpg"), 1, path("pics"),
         "photo.jpg"},
        {"save into a folder", FileDialogPurpose::Save, at("pics/scan.bmp"), 2, path("pics"),
         "scan.bmp"},
        {"no folder in the name", FileDialogPurpose::Save, "Lumipad.png", 0, none, "Lumipad.png"},
        {"folder gone", FileDialogPurpose::Open, at("gone/photo.png"), 0, none, "photo.png"},
        {"name part a file may not have", FileDialogPurpose::Save,
         at("pics/") + std::string("a\0b.png", 7), 0, path("pics"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool open = c.purpose == FileDialogPurpose::Open;
        const QString folder = c.folder == none ? defaultFolder() : c.folder;
        QFileDialog dialog;
        configureFileDialog(dialog,
                            {open ? "Load Image..." : "Save Image...", c.initial,
                             std::string(kFileTypeFilter), c.filterIndex},
                            c.purpose);
        EXPECT_EQ(dialog.windowTitle(), open ? "Load Image..." : "Save Image...");
        EXPECT_EQ(dialog.acceptMode(), open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog.defaultSuffix(), "");
        EXPECT_EQ(dialog.nameFilters(), kQtFilters);
        EXPECT_EQ(dialog.selectedNameFilter(), kQtFilters[c.filterIndex]);
        EXPECT_EQ(dialog.directory().absolutePath(), folder);
        ASSERT_NE(nameField(&dialog), nullptr);
        EXPECT_EQ(nameField(&dialog)->text(), c.field);
    }
}

TEST_F(FileDialogs, TheDialogHandsBackTheFullNameOrNothing) {
    QFile existing(path("pics/exists.png"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const QString cwd = QDir::currentPath();
    const QString tooLong = path("pics/") + QString(300 - path("pics/").size(), 'a');
    QString refused;

    const struct {
        const char* what;
        FileDialogPurpose purpose;
        std::int64_t filterIndex;
        std::vector<ModalScript::Step> steps;
        std::string result;
        QString refusalMentions;  // empty: no refusal expected
    } cases[] = {
        {"typed name in the proposed folder",
         FileDialogPurpose::Save,
         0,
         {typeAndConfirm("new.bmp")},
         at("pics/new.bmp"),
         ""},
        {"no extension added, whatever the filter",
         FileDialogPurpose::Save,
         2,
         {typeAndConfirm("sketch")},
         at("pics/sketch"),
         ""},
        {"an existing file, without a question of the dialog's own",
         FileDialogPurpose::Save,
         0,
         {typeAndConfirm("exists.png")},
         at("pics/exists.png"),
         ""},
        {"loading a name that does not exist",
         FileDialogPurpose::Open,
         0,
         {typeAndConfirm("ghost.png")},
         at("pics/ghost.png"),
         ""},
        {"cancelled", FileDialogPurpose::Open, 0, {cancel()}, "", ""},
        {"folder of the typed name missing",
         FileDialogPurpose::Save,
         0,
         {typeAndConfirm(path("nope/x.png")), refusal(&refused), cancel()},
         "",
         path("nope")},
        {"name too long",
         FileDialogPurpose::Save,
         0,
         {typeAndConfirm(tooLong), refusal(&refused), cancel()},
         "",
         "259"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        refused.clear();
        ModalScript script(c.steps);
        const std::string chosen = runFileDialog(
            nullptr,
            {"Save Image...", at("pics/old.png"), std::string(kFileTypeFilter), c.filterIndex},
            c.purpose);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(chosen, c.result);
        if (c.refusalMentions.isEmpty()) {
            EXPECT_TRUE(refused.isEmpty()) << refused.toStdString();
        } else {
            EXPECT_TRUE(refused.contains(c.refusalMentions)) << refused.toStdString();
        }
        EXPECT_EQ(QDir::currentPath(), cwd);
    }
}

// What a message box showed and how it was set up.
struct BoxSeen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    QAbstractButton* defaultButton = nullptr;
    QAbstractButton* yes = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
};

ModalScript::Step answerBox(BoxSeen& seen, std::function<void(QMessageBox*)> answer) {
    return [&seen, answer](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return false;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->defaultButton();
        seen.yes = box->button(QMessageBox::Yes);
        seen.modality = box->windowModality();
        answer(box);
        return true;
    };
}

TEST(MessageBoxes, AMessageHasTheProgramsTitleNoIconAndOneOkButton) {
    MainWindow window({96, 96});
    QtUi ui(window);
    BoxSeen seen;
    ModalScript script(
        {answerBox(seen, [](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); })});
    ui.showMessage("Cannot load image: /tmp/x.png");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(seen.title, "Lumipad");
    EXPECT_EQ(seen.text, "Cannot load image: /tmp/x.png");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_NE(seen.modality, Qt::NonModal);
}

TEST(MessageBoxes, TheQuestionOffersYesAndNoWithYesTheDefault) {
    const struct {
        const char* what;
        std::function<void(QMessageBox*)> answer;
        bool result;
    } cases[] = {
        {"Yes", [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }, true},
        {"No", [](QMessageBox* b) { b->button(QMessageBox::No)->click(); }, false},
        {"Return picks the default", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); },
         true},
        {"Escape", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, false},
    };
    MainWindow window({96, 96});
    QtUi ui(window);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BoxSeen seen;
        ModalScript script({answerBox(seen, c.answer)});
        EXPECT_EQ(ui.askYesNo("Overwrite this file? /tmp/x.png"), c.result);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(seen.title, "Lumipad");
        EXPECT_EQ(seen.text, "Overwrite this file? /tmp/x.png");
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_NE(seen.defaultButton, nullptr);
        EXPECT_EQ(seen.defaultButton, seen.yes);
        EXPECT_NE(seen.modality, Qt::NonModal);
    }
}

}  // namespace
}  // namespace lumipad
