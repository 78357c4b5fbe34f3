// An image button: a push button that shows a picture centred on its face, shifted by one
// pixel right and down while held down.
#pragma once

#include <QImage>
#include <QPushButton>

namespace lumipad {

class SwatchButton : public QPushButton {
  public:
    explicit SwatchButton(QWidget* parent) : QPushButton(parent) {}

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
};

}  // namespace lumipad
