#include "widgets/MessageBoxPrompts.h"

#include "settings/Text.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(UserPrompts::Icon icon) {
    switch (icon) {
    case UserPrompts::Icon::Information:
        return QMessageBox::Information;
    case UserPrompts::Icon::Stop:
        return QMessageBox::Critical;
    case UserPrompts::Icon::Question:
        return QMessageBox::Question;
    case UserPrompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxPrompts::message(const QString &text, Icon icon) {
    QMessageBox box(boxIcon(icon), QStringLiteral(ZELVI_PRODUCT_NAME), text, QMessageBox::Ok,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxPrompts::askYesNo(const QString &text, Icon icon, Default preset) {
    QMessageBox box(boxIcon(icon), QStringLiteral(ZELVI_PRODUCT_NAME), text,
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(Text::tr("Evet"));
    box.button(QMessageBox::No)->setText(Text::tr("Hayır"));
    box.setDefaultButton(preset == Default::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
