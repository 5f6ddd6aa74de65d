#pragma once

#include <QString>

// Messages and questions for the user. Logic asks through this interface; the program
// answers with message boxes, tests with prepared answers.
class UserPrompts {
public:
    enum class Icon { None, Information, Stop, Question };

    virtual ~UserPrompts() = default;
    // Shows a message with only an OK button, and returns when the user has confirmed it.
    virtual void message(const QString &text, Icon icon) = 0;
    // Asks a question with the answers Yes and No; true for Yes.
    virtual bool askYesNo(const QString &text, Icon icon) = 0;
};
