#pragma once

#include <QImage>
#include <QWidget>

// A frame that shows a picture at its top-left corner and holds other controls on top of
// it. What is drawn into the picture stays until the picture is replaced.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QImage &image() const { return m_image; }
    void setImage(const QImage &image);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};
