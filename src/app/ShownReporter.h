#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

// Prints "shown after N ms" when a window has first been painted (or, when it starts hidden, when
// its load has ended) and ends the program: the moment start-up measurements stop at.
class ShownReporter : public QObject {
public:
    ShownReporter(QWidget *window, const QElapsedTimer &sinceStart);
    // The window stays hidden: start-up is over now.
    void reportNow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QElapsedTimer m_sinceStart;
    bool m_done = false;
};
