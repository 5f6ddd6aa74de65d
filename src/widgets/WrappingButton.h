#pragma once

#include <QPushButton>

// A push button whose text wraps at word boundaries to fit its face.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
