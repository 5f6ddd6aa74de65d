#include "dialogs/frmNewSettings.h"

#include "core/AddressRules.h"
#include "core/ProfileRules.h"
#include "dialogs/AddressBox.h"
#include "dialogs/DialogFrame.h"
#include "dialogs/EditorArt.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"
#include "widgets/PictureBox.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/ReturnPressesButtons.h"
#include "widgets/Twips.h"
#include "widgets/modMain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr std::array<int, 4> kBoxColumns = {2970, 3420, 3870, 4320};
constexpr std::array<int, 5> kBoxRows = {450, 840, 1230, 2475, 2865};

struct LabelPlace {
    const char *text;
    int left;
    int top;
};
constexpr std::array<LabelPlace, 7> kAddressLabels = {{
    {QT_TRANSLATE_NOOP("Text", "IP AYARLARI"), 195, 105},
    {QT_TRANSLATE_NOOP("Text", "ZELVİ IP"), 570, 465},
    {QT_TRANSLATE_NOOP("Text", "MASKE 255.255.255.0 olcak"), 570, 855},
    {QT_TRANSLATE_NOOP("Text", "MODEM IP"), 570, 1245},
    {QT_TRANSLATE_NOOP("Text", "DNS AYARLARI"), 195, 2130},
    {QT_TRANSLATE_NOOP("Text", "DNS 1"), 570, 2490},
    {QT_TRANSLATE_NOOP("Text", "DNS 2"), 570, 2880},
}};

bool isEnter(const QKeyEvent *event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

frmNewSettings::frmNewSettings(const QString &settingsPath, ProfileList &reloadTarget,
                               UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_settingsPath(settingsPath), m_reloadTarget(reloadTarget),
      m_prompts(prompts) {
    DialogFrame::setUp(*this, QStringLiteral("frmNewSettings"), Text::tr("Profil"),
                       QSize(px(6000), px(5175)));

    Label1 = new QLabel(Text::tr("AYAR ADI"), this);
    Label1->setGeometry(twipRect(300, 270, 1335, 285));
    Label1->setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));

    txtProfileName = new PlainLineEdit(this);
    txtProfileName->setObjectName(QStringLiteral("txtProfileName"));
    txtProfileName->setGeometry(twipRect(240, 615, 4020, 285));
    txtProfileName->installEventFilter(this);
    Label1->setBuddy(txtProfileName);
    txtProfileName->setAccessibleName(Text::tr("AYAR ADI"));

    Picture1 = new PictureBox(this);
    Picture1->setGeometry(twipRect(240, 1140, 5535, 3345));
    Picture1->setImage(EditorArt::addressFrameBackground());

    for (std::size_t i = 0; i < lblAddress.size(); ++i) {
        const LabelPlace &place = kAddressLabels[i];
        lblAddress[i] = new QLabel(Text::tr(place.text), Picture1);
        lblAddress[i]->setTextFormat(Qt::PlainText);
        lblAddress[i]->move(px(place.left), px(place.top));
        lblAddress[i]->adjustSize();
    }

    for (int i = 0; i < modNetProfiles::FieldCount; ++i) {
        auto *box = new AddressBox(i, Picture1);
        box->setGeometry(twipRect(kBoxColumns[i % 4], kBoxRows[i / 4], 375, 270));
        connect(box, &AddressBox::focusLost, this, &frmNewSettings::txtIP_LostFocus);
        // A screen reader names each box by its row and place, not as one of twenty "text"s.
        box->setAccessibleName(
            Text::tr("%1, %2. bölüm").arg(AddressRules::rowName(i / 4)).arg(i % 4 + 1));
        txtIP[i] = box;
    }

    cmdSave = DialogFrame::addSaveButton(*this, twipRect(3090, 4695, 1245, 345));
    connect(cmdSave, &QPushButton::clicked, this, &frmNewSettings::cmdSave_Click);

    cmdCancel = new QPushButton(Text::tr("KAPAT"), this);
    cmdCancel->setGeometry(twipRect(4455, 4695, 1245, 345));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // No button reacts to Enter.
    for (QPushButton *button : {cmdSave, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    Image1 = DialogFrame::addPicture(*this, twipRect(5220, 225, 480, 480));
    Picture1->setAccessibleName(Text::tr("Adresler"));

    QWidget *previous = txtProfileName;
    for (AddressBox *box : txtIP) {
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    ReturnPressesButtons::install(this);
    txtProfileName->setFocus();

    Form_Load();
}

void frmNewSettings::Form_Load() {
    AzzeraCampi();
    const QColor face = colorFromBgr(ButtonFaceColor());
    for (QLabel *label : lblAddress) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, face);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
}

void frmNewSettings::Form_Activate() {
    FillPictureBackground(*Picture1, ButtonFaceColor());
}

void frmNewSettings::AzzeraCampi() {
    for (AddressBox *box : txtIP)
        box->clear();
    txtProfileName->clear();
}

modNetProfiles::ProfileFields frmNewSettings::fields() const {
    modNetProfiles::ProfileFields f;
    for (int i = 0; i < modNetProfiles::FieldCount; ++i)
        f[i] = txtIP[i]->text();
    return f;
}

int frmNewSettings::VerificaCampi() const {
    return AddressRules::VerificaCampi(txtProfileName->text(), fields());
}

void frmNewSettings::cmdSave_Click() {
    // The rules every writer of profiles asks (ProfileRules); a blank box only takes the focus.
    const QString name = txtProfileName->text();
    if (const std::optional<ProfileRules::Problem> problem =
            ProfileRules::saveProblem(name, fields())) {
        using Kind = ProfileRules::Problem::Kind;
        switch (problem->kind) {
        case Kind::BlankName:
            txtProfileName->setFocus();
            return;
        case Kind::BlankBox:
            txtIP[std::size_t(problem->box)]->setFocus();
            return;
        case Kind::OctetTooLarge:
            m_prompts.message(Text::tr("Profil kaydedilmedi.\n%1\nGirdiğiniz bilgiler bu "
                                       "pencerede duruyor.")
                                  .arg(problem->reason),
                              UserPrompts::Icon::Stop);
            txtIP[std::size_t(problem->box)]->setFocus();
            return;
        case Kind::UnstorableName:
            m_prompts.message(Text::tr("Profil kaydedilemedi: bu ad ayar dosyasında "
                                       "saklanamaz.\n%1\nLütfen adı değiştirin.")
                                  .arg(problem->reason),
                              UserPrompts::Icon::Stop);
            txtProfileName->setFocus();
            return;
        }
    }

    // Another window or command holding the settings folder: said in the caption while the
    // save waits for it (the window paints meanwhile).
    const QString caption = windowTitle();
    const modNetProfiles::SaveResult result =
        modNetProfiles::ProfileSave(m_settingsPath, name, fields(), m_prompts, [this] {
            setWindowTitle(Text::tr("Ayar dosyasını başka bir pencere ya da komut kullanıyor; "
                                    "kaydetmek için bekleniyor…"));
        });
    setWindowTitle(caption);
    modNetProfiles::ProfilesLoad(m_settingsPath, m_reloadTarget, m_prompts);
    if (!result.notice.isEmpty())
        m_prompts.message(result.notice, UserPrompts::Icon::Information);
    if (result.outcome == modNetProfiles::SaveResult::Outcome::Failed) {
        m_prompts.message(Text::tr("Profil kaydedilemedi.\n%1 (Hata %2)\nGirdiğiniz "
                                   "bilgiler bu pencerede duruyor.")
                              .arg(result.error.description)
                              .arg(result.error.number),
                          UserPrompts::Icon::Stop);
    }
}

void frmNewSettings::txtIP_LostFocus(int index) {
    if (txtIP[index]->text().isEmpty() || index != AddressRules::LastIpBox)
        return;
    const AddressRules::MaskDecision decision = AddressRules::maskRule(txtIP[0]->text());
    switch (decision.action) {
    case AddressRules::MaskDecision::Action::SetMask:
        for (int i = 0; i < 4; ++i)
            txtIP[AddressRules::FirstMaskBox + i]->setText(decision.mask[i]);
        break;
    case AddressRules::MaskDecision::Action::FocusFirstOctet:
        // After the focus change under way has finished.
        QMetaObject::invokeMethod(
            txtIP[0], [box = txtIP[0]] { box->setFocus(Qt::OtherFocusReason); },
            Qt::QueuedConnection);
        break;
    case AddressRules::MaskDecision::Action::None:
        break;
    }
}

bool frmNewSettings::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtProfileName &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            // Enter inserts nothing; when it is let go, the focus moves on to the first box.
            if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
                QCoreApplication::postEvent(
                    txtProfileName, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNewSettings::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmNewSettings::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (DialogFrame::placeOnFirstShow(*this, m_shownOnce))
        Form_Activate();
}
