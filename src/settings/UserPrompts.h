#pragma once

#include <QString>

// Messages and questions for the user. Logic asks through this interface; the program
// answers with message boxes, tests with prepared answers.
class UserPrompts {
public:
    enum class Icon { None, Information, Stop, Question };
    // The answer that Enter gives, before the user has chosen.
    enum class Default { Yes, No };

    virtual ~UserPrompts() = default;
    // Shows a message with only an OK button, and returns when the user has confirmed it.
    virtual void message(const QString &text, Icon icon) = 0;
    // Asks a question with the answers Yes and No; true for Yes.
    virtual bool askYesNo(const QString &text, Icon icon, Default preset) = 0;
    bool askYesNo(const QString &text, Icon icon) { return askYesNo(text, icon, Default::Yes); }
};
