#include "dialogs/DialogFrame.h"

#include "dialogs/EditorArt.h"
#include "settings/Text.h"
#include "widgets/modMain.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace DialogFrame {

void setUp(QDialog &dialog, const QString &objectName, const QString &accessibleName, QSize size) {
    dialog.setObjectName(objectName);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog.setWindowTitle(QString());
    dialog.setAccessibleName(accessibleName);
    dialog.setWindowIcon(EditorArt::editorIcon());
    dialog.setFixedSize(size);
    dialog.setFont(QFont(QStringLiteral("Arial"), 8));
}

QLabel *addPicture(QDialog &dialog, QRect place) {
    auto *picture = new QLabel(&dialog);
    picture->setGeometry(place);
    picture->setPixmap(QPixmap::fromImage(EditorArt::editorPicture()));
    picture->setAccessibleName(Text::tr("Ağ bağdaştırıcısı resmi"));
    return picture;
}

QPushButton *addSaveButton(QDialog &dialog, QRect place) {
    auto *save = new QPushButton(Text::tr("KAYDET"), &dialog);
    save->setGeometry(place);
    QPalette green = save->palette();
    green.setColor(QPalette::Button, QColor(128, 255, 128));
    save->setPalette(green);
    return save;
}

bool placeOnFirstShow(QDialog &dialog, bool &shownOnce) {
    if (shownOnce)
        return false;
    shownOnce = true;
    centreOnScreen(&dialog);
    showNoTitle(&dialog);
    return true;
}

} // namespace DialogFrame
