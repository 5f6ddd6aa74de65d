#pragma once

#include "UserPrompts.h"

#include <QStringList>

// Records what the program tells the user and answers questions as prepared.
class FakePrompts : public UserPrompts {
public:
    void message(const QString &text, Icon icon) override {
        messages.append(text);
        icons.append(icon);
    }
    bool askYesNo(const QString &text) override {
        questions.append(text);
        return answer;
    }

    bool answer = false;
    QStringList messages;
    QList<Icon> icons;
    QStringList questions;
};
