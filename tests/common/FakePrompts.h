#pragma once

#include "settings/UserPrompts.h"

#include <QStringList>

// Records what the program tells the user and answers questions as prepared.
class FakePrompts : public UserPrompts {
public:
    void message(const QString &text, Icon icon) override {
        messages.append(text);
        icons.append(icon);
    }
    using UserPrompts::askYesNo;
    bool askYesNo(const QString &text, Icon icon, Default preset) override {
        questions.append(text);
        questionIcons.append(icon);
        presets.append(preset);
        return answer;
    }

    bool answer = false;
    QStringList messages;
    QList<Icon> icons;
    QStringList questions;
    QList<Icon> questionIcons;
    QList<Default> presets;
};
