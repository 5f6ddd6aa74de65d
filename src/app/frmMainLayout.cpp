// The main window's controls: texts, places (in twips, 15 to a pixel), fonts, colours and
// the tab order.
#include "app/frmMain.h"
#include "settings/Text.h"
#include "widgets/MiddleElision.h"
#include "widgets/RawPicture.h"
#include "widgets/ReturnPressesButtons.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"
#include "widgets/modMain.h"

#include <QAccessibleWidget>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

// The main window is a window to a screen reader, as the dialogs are dialogs (a plain widget
// would be a "filler").
QAccessibleInterface *windowAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("frmMain") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// Bold, as every font the window sets. "Arial Unicode MS" falls back to a font with every
// Turkish letter.
QFont boldFont(const QStringList &families, qreal points) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QFont arial(qreal points) {
    return boldFont({QStringLiteral("Arial")}, points);
}

QFont arialUnicode(qreal points) {
    return boldFont({QStringLiteral("Arial Unicode MS"), QStringLiteral("Liberation Sans"),
                     QStringLiteral("DejaVu Sans")},
                    points);
}

// The logo as the label shows it: scaled to its box when the program was built, for a screen
// of one pixel a point; otherwise the whole picture, which the label scales itself.
QImage logoFor(QSize box, qreal pixelRatio) {
    if (pixelRatio == 1.0) {
        QImage shown = RawPicture::fromResource(
            QStringLiteral(":/app/logo-%1x%2.raw").arg(box.width()).arg(box.height()));
        if (!shown.isNull())
            return shown;
    }
    return RawPicture::fromResource(QStringLiteral(":/app/logo.raw"));
}

void colourText(QWidget *widget, quint32 bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colorFromBgr(bgr));
    widget->setPalette(palette);
}

void colourFace(QPushButton *button, quint32 bgr) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colorFromBgr(bgr));
    button->setPalette(palette);
}

} // namespace

void frmMain::setupUi() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(Text::tr("ZELVİ IP AYAR EKRANI"));
    setWindowIcon(
        QIcon(QPixmap::fromImage(RawPicture::fromResource(QStringLiteral(":/app/icon.raw")))));
    setFixedSize(px(8700), px(5100));
    setFont(QFont(QStringLiteral("Arial"), 8));
    QPalette background = palette();
    background.setColor(QPalette::Window, colorFromBgr(0x00808080));
    setPalette(background);
    setAutoFillBackground(true);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);

    const auto button = [this](const QString &text, QRect place) {
        auto *b = new WrappingButton(text, this);
        b->setGeometry(place);
        b->setAutoDefault(false);
        return b;
    };
    ipnedir = button(Text::tr("BİLLGİSAYAR IPLERİ"), twipRect(360, 3600, 5445, 375));
    Command2 = button(Text::tr("PORT TESTİ"), twipRect(7290, 3330, 1245, 645));
    Command1 = button(Text::tr("MODEME GİT"), twipRect(6000, 3330, 1185, 645));
    cmdEnableDHCP = button(Text::tr("OTOMATİK IP UYGULA"), twipRect(7290, 1950, 1245, 1290));
    colourFace(cmdEnableDHCP, 0x0080FFFF);
    cmdProfileActivate = button(Text::tr("ZELVİ IP UYGULA"), twipRect(6000, 1950, 1185, 1290));
    colourFace(cmdProfileActivate, 0x0080FF80);
    cmdProfileActivate->setEnabled(false);
    cmdProfileEdit = button(Text::tr("DÜZENLE"), twipRect(1695, 3150, 1335, 375));
    cmdProfileDelete = button(Text::tr("SİL"), twipRect(3075, 3150, 1335, 375));
    cmdProfileClone = button(Text::tr(" KOPYALA"), twipRect(4470, 3150, 1335, 375));
    cmdProfileClone->setEnabled(false);
    cmdProfileCreateNew = button(Text::tr("EKLE"), twipRect(345, 3150, 1335, 375));

    lstProfiles = new QListWidget(this);
    lstProfiles->setObjectName(QStringLiteral("lstProfiles"));
    lstProfiles->setGeometry(twipRect(300, 1080, 5445, 1935));
    lstProfiles->setFont(arialUnicode(14.25));
    lstProfiles->setSelectionMode(QAbstractItemView::SingleSelection);
    // Ordered by the load (MainWindowRules::sortedProfileNames); every entry is one line.
    lstProfiles->setUniformItemSizes(true);
    MiddleElision::install(lstProfiles);

    Image1 = new QLabel(this);
    Image1->setGeometry(twipRect(6000, 1080, 2535, 765));
    Image1->setPixmap(QPixmap::fromImage(logoFor(Image1->size(), devicePixelRatioF())));
    Image1->setScaledContents(true);

    const auto label = [this](const QString &text, QRect place, const QFont &font, quint32 colour,
                              Qt::Alignment alignment) {
        auto *l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText);
        l->setGeometry(place);
        l->setFont(font);
        l->setAlignment(alignment);
        colourText(l, colour);
        return l;
    };
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
    Label4 =
        label(Text::tr("MODEM IP"), twipRect(360, 4470, 3135, 495), arial(18), 0x0080C0FF, left);
    Label3 = label(Text::tr("BİLGİSAYAR IP"), twipRect(360, 3990, 3135, 495), arial(18), 0x0080C0FF,
                   left);
    // The address lines reach to the buttons' column (2655 and 2775 twips wide at first): the
    // widest address, 255.255.255.255, and "SERVİS HATASI" were cut off at both ends.
    disip = label(QStringLiteral("888.888.888.888"), twipRect(3060, 4470, 2880, 525), arial(18),
                  0x0080C0FF, centred);
    icip = label(QStringLiteral("888.888.888.888"), twipRect(3060, 3990, 2880, 495), arial(18),
                 0x0080C0FF, centred);
    Label2 = label(Text::tr("NUVAR POS ZELVİ IP PROGRAMI"), twipRect(390, 150, 7995, 585),
                   arialUnicode(24), 0x00FFFFFF, centred);
    // Wider than at first (1695 twips), over the list's free width: "SELECT ZELVİ IP" was cut.
    Label1 =
        label(Text::tr("ZELVİ IP SEÇ"), twipRect(300, 795, 2400, 285), arial(12), 0x00FFFFFF, left);

    const std::pair<QWidget *, const char *> names[] = {
        {ipnedir, "ipnedir"},
        {Command2, "Command2"},
        {Command1, "Command1"},
        {cmdEnableDHCP, "cmdEnableDHCP"},
        {cmdProfileActivate, "cmdProfileActivate"},
        {cmdProfileEdit, "cmdProfileEdit"},
        {cmdProfileDelete, "cmdProfileDelete"},
        {cmdProfileClone, "cmdProfileClone"},
        {cmdProfileCreateNew, "cmdProfileCreateNew"},
        {Image1, "Image1"},
        {Label4, "Label4"},
        {Label3, "Label3"},
        {disip, "disip"},
        {icip, "icip"},
        {Label2, "Label2"},
        {Label1, "Label1"},
    };
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    // What a screen reader says: the list and the address lines by the labels beside them, the
    // logo by the name it shows, each button by its caption without blanks.
    static const bool roleKnown = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(roleKnown)
    setAccessibleName(Text::tr("ZELVİ IP AYAR EKRANI"));
    Label1->setBuddy(lstProfiles);
    lstProfiles->setAccessibleName(Label1->text());
    icip->setAccessibleName(Label3->text());
    disip->setAccessibleName(Label4->text());
    Image1->setAccessibleName(QStringLiteral("NUVAR POS ZELVİ IP"));
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAccessibleName(b->text().trimmed());
    ReturnPressesButtons::install(this);

    setTabOrder(lstProfiles, cmdProfileCreateNew);
    setTabOrder(cmdProfileCreateNew, cmdProfileEdit);
    setTabOrder(cmdProfileEdit, cmdProfileClone);
    setTabOrder(cmdProfileClone, cmdProfileDelete);
    setTabOrder(cmdProfileDelete, cmdProfileActivate);
    setTabOrder(cmdProfileActivate, cmdEnableDHCP);
    setTabOrder(cmdEnableDHCP, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, ipnedir);
    lstProfiles->setFocus(); // tab index 0: the keyboard starts in the list

    trayMenu = new QMenu(this);
    trayMenu->setToolTipsVisible(true); // a profile's whole name where the entry is cut
}
