#pragma once

#include "settings/UserPrompts.h"

#include <QPointer>
#include <QWidget>

// Asks the user with message boxes that carry the program's title, over `parent`.
class MessageBoxPrompts : public UserPrompts {
public:
    explicit MessageBoxPrompts(QWidget *parent = nullptr) : m_parent(parent) {}

    void message(const QString &text, Icon icon) override;
    using UserPrompts::askYesNo;
    bool askYesNo(const QString &text, Icon icon, Default preset) override;

private:
    QPointer<QWidget> m_parent;
};
