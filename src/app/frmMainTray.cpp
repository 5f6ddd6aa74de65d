// The main window in the notification area: the icon's tip and its menu.
#include "app/ProfileListWidget.h"
#include "app/frmMain.h"
#include "core/Autostart.h"
#include "core/MainWindowRules.h"
#include "core/RemoteTrial.h"
#include "settings/ShownText.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"

#include <QActionGroup>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

QString frmMain::trayToolTip() const {
    const QString current = currentProfile();
    QString tip = Text::tr("%1\n%2\nBİLGİSAYAR IP: %3\nMODEM IP: %4")
                      .arg(QStringLiteral(ZELVI_PRODUCT_NAME),
                           current.isEmpty() ? Text::tr("Otomatik IP (DHCP)")
                                             : Text::tr("Profil: %1").arg(current),
                           icip->text(), disip->text());
    if (const int seconds = trialSecondsLeft(); seconds >= 0)
        tip += Text::tr("\nDeğişiklik %1: doğrulanmazsa geri alınır")
                   .arg(MainWindowRules::trialText(seconds));
    return tip;
}

void frmMain::settleRemoteTrial(bool keep) {
    const RemoteTrial::Result result = keep
                                           ? RemoteTrial::confirm(*SettingsIni, *m_services.backend)
                                           : RemoteTrial::undo(*SettingsIni, *m_services.backend);
    showTrial();
    RefreshProfileList();
    if (const QString current = currentProfile(); !current.isEmpty())
        selectProfile(current);
    m_services.prompts->message(result.text, result.status == 0 ? UserPrompts::Icon::Information
                                                                : UserPrompts::Icon::Stop);
}

void frmMain::fillTrayMenu() {
    trayMenu->clear();
    trayMenu->addAction(Text::tr("Pencereyi aç"), this, &frmMain::trayIcon_DoubleClick);
    trayMenu->addSeparator();
    if (RemoteTrial::awaits(*SettingsIni, *m_services.backend)) {
        const QString profile = RemoteTrial::read(*SettingsIni).profile;
        trayMenu->addAction(
            Text::tr("Uzaktan yapılan \"%1\" değişikliğini kalıcı yap").arg(profile), this,
            [this] { settleRemoteTrial(true); });
        trayMenu->addAction(Text::tr("Uzaktan yapılan \"%1\" değişikliğini geri al").arg(profile),
                            this, [this] { settleRemoteTrial(false); });
        trayMenu->addSeparator();
    }
    const QString current = currentProfile();
    auto *group = new QActionGroup(trayMenu);
    for (int row = 0; row < lstProfiles->count(); ++row) {
        const QString name = ProfileListWidget::nameOf(lstProfiles->item(row));
        // A long name is cut in the middle to the list's width, as the list shows it (its
        // designed width: a window started hidden has never laid its list out).
        const QString shown = ShownText::escaped(name);
        QAction *action = trayMenu->addAction(trayMenu->fontMetrics().elidedText(
            shown, Qt::ElideMiddle, lstProfiles->width() - 2 * lstProfiles->frameWidth()));
        action->setToolTip(shown);
        action->setCheckable(true);
        action->setChecked(!current.isEmpty() && MainWindowRules::sameProfileName(name, current));
        action->setActionGroup(group);
        // The entry the user chose in the menu, by name: the list may have been reloaded.
        connect(action, &QAction::triggered, this, [this, name] {
            lstProfiles->clearSelection();
            selectProfile(name);
            cmdProfileActivate_Click();
        });
    }
    if (lstProfiles->count() > 0)
        trayMenu->addSeparator();
    trayMenu->addAction(Text::tr("OTOMATİK IP UYGULA"), this, &frmMain::cmdEnableDHCP_Click);
    trayMenu->addSeparator();
    QAction *atLogin = trayMenu->addAction(Text::tr("Oturum açılınca başlat"));
    atLogin->setCheckable(true);
    atLogin->setChecked(Autostart::isEnabled());
    connect(atLogin, &QAction::toggled, this, [this](bool on) {
        QString error;
        if (!Autostart::setEnabled(on, QCoreApplication::applicationFilePath(), error))
            m_services.prompts->message(error, UserPrompts::Icon::Stop);
    });
    trayMenu->addAction(Text::tr("Çıkış"), this, &QWidget::close);
}
