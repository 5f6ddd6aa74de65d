#include "widgets/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::setImage(const QImage &image) {
    m_image = image;
    update();
}

void PictureBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_image);
}
