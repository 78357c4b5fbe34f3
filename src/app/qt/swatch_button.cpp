#include "app/qt/swatch_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace lumipad {

void SwatchButton::setImage(const QImage& image) {
    image_ = image;
    repaint();
}

void SwatchButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    if (image_.isNull()) return;
    const int shift = isDown() ? 1 : 0;
    const QPoint topLeft((width() - image_.width()) / 2 + shift,
                         (height() - image_.height()) / 2 + shift);
    painter.drawImage(topLeft, image_);
}

}  // namespace lumipad
