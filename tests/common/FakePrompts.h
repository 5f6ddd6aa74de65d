#pragma once

#include "settings/UserPrompts.h"

#include <QStringList>
#include <functional>
#include <utility>

// Records what the program tells the user and answers questions as prepared.
class FakePrompts : public UserPrompts {
public:
    void message(const QString &text, Icon icon) override {
        messages.append(text);
        icons.append(icon);
        if (onMessage)
            std::exchange(onMessage, nullptr)();
    }
    using UserPrompts::askYesNo;
    bool askYesNo(const QString &text, Icon icon, Default preset) override {
        questions.append(text);
        questionIcons.append(icon);
        presets.append(preset);
        return answer;
    }

    bool answer = false;
    std::function<void()> onMessage; // once, while the next message is shown
    QStringList messages;
    QList<Icon> icons;
    QStringList questions;
    QList<Icon> questionIcons;
    QList<Default> presets;
};
