#include "app/qt/qt_ui.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QSlider>

#include "app/qt/canvas_widget.h"
#include "app/qt/file_dialogs.h"
#include "app/qt/main_window.h"
#include "app/qt/swatch_button.h"

namespace lumipad {

namespace {

QImage toQImage(const Raster& raster) {
    const QImage view(raster.data(), raster.width(), raster.height(),
                      static_cast<qsizetype>(raster.stride()), QImage::Format_RGB888);
    return view.copy();
}

QColor toQColor(Color c) { return QColor(red(c), green(c), blue(c)); }

}  // namespace

void QtUi::setToggleState(int control, bool pressed) {
    if (QAbstractButton* button = window_.button(control)) {
        const QSignalBlocker quiet(button);
        button->setChecked(pressed);
    }
}

void QtUi::setText(int control, const std::string& text) {
    QWidget* widget = window_.control(control);
    const QString qtext = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtext);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtext);
    }
}

int QtUi::sliderPosition(int control) const {
    const QSlider* slider = window_.slider(control);
    return slider != nullptr ? slider->value() : 0;
}

void QtUi::setSliderPosition(int control, int position) {
    if (QSlider* slider = window_.slider(control)) {
        const QSignalBlocker quiet(slider);
        slider->setValue(position);
    }
}

void QtUi::setButtonImage(int control, const Raster& image) {
    if (SwatchButton* button = window_.swatch(control)) button->setImage(toQImage(image));
}

std::optional<Color> QtUi::chooseColor(Color initial) {
    // The first custom colour always offers the colour the chooser started from; the other
    // fifteen keep what the user stored in them during this run.
    QColorDialog::setCustomColor(0, toQColor(initial));
    const QColor chosen = QColorDialog::getColor(toQColor(initial), &window_, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return std::nullopt;
    return rgb(chosen.red(), chosen.green(), chosen.blue());
}

std::string QtUi::openFileDialog(const FileDialogRequest& request) {
    return runFileDialog(&window_, request, FileDialogPurpose::Open);
}

std::string QtUi::saveFileDialog(const FileDialogRequest& request) {
    return runFileDialog(&window_, request, FileDialogPurpose::Save);
}

void QtUi::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lumipad"), QString::fromStdString(text),
                    QMessageBox::Ok, &window_);
    box.exec();
}

bool QtUi::askYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lumipad"),
                    QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No, &window_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtUi::showCanvas(const Rect& changed) { window_.canvas()->present(changed); }

}  // namespace lumipad
