#include "app/ProfileListWidget.h"
#include "app/frmMain.h"
#include "core/MainWindowRules.h"
#include "dialogs/AddressBox.h"
#include "dialogs/frmNewSettings.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

// The window's list of profiles: loaded, followed when anyone changes the settings file, and
// the profile commands of its buttons.

using namespace modNetProfiles;

// ---- the profile list ----------------------------------------------------------------------

void frmMain::RefreshProfileList() {
    m_listRead = FileStamp::of(SettingsIni->FileName());
    ProfilesLoad(SettingsIni->FileName(), m_listTarget, *m_services.prompts);
}

void frmMain::watchSettingsFile() {
    m_settingsWatch = new QFileSystemWatcher(this);
    m_settingsSettle = new QTimer(this);
    m_settingsSettle->setSingleShot(true);
    m_settingsSettle->setInterval(200); // a save is a few steps: the list follows once
    const auto changed = [this] { m_settingsSettle->start(); };
    connect(m_settingsWatch, &QFileSystemWatcher::fileChanged, this, changed);
    connect(m_settingsWatch, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(m_settingsSettle, &QTimer::timeout, this, &frmMain::followSettingsFile);
    // The folder as well: a save replaces the file, and a watch of the file alone ends there.
    m_settingsWatch->addPaths({SettingsIni->FileName(), QFileInfo(SettingsIni->FileName()).path()});
}

void frmMain::followSettingsFile() {
    // A change noticed just before the window unloaded may be handled after its settings went.
    if (m_unloaded || !SettingsIni)
        return;
    const QString path = SettingsIni->FileName();
    if (m_settingsWatch && !m_settingsWatch->files().contains(path))
        m_settingsWatch->addPath(path); // the new file that replaced the watched one
    if (FileStamp::of(path) == m_listRead)
        return;
    const QListWidgetItem *item = selectedProfile();
    const QString selected = item ? ProfileListWidget::nameOf(item) : QString();
    RefreshProfileList();
    if (!selected.isEmpty())
        selectProfile(selected); // gone: nothing is selected
    refreshCaption();            // the current profile may have changed too
}

void frmMain::selectProfile(const QString &name) {
    for (int row = 0; row < lstProfiles->count(); ++row) {
        if (MainWindowRules::sameProfileName(ProfileListWidget::nameOf(lstProfiles->item(row)),
                                             name)) {
            lstProfiles->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            return;
        }
    }
}

QListWidgetItem *frmMain::selectedProfile() const {
    const QList<QListWidgetItem *> selected = lstProfiles->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void frmMain::lstProfiles_Click() {
    const QListWidgetItem *item = selectedProfile();
    if (!item)
        return;
    cmdProfileClone->setEnabled(true);
    cmdProfileActivate->setEnabled(true);
    ProfileParts = MainWindowRules::profileParts(
        SettingsIni->ReadString(ProfilesSection, ProfileListWidget::nameOf(item), QString()));
}

void frmMain::cmdProfileCreateNew_Click() {
    EditMode = 0;
    openEditor(false);
}

void frmMain::cmdProfileEdit_Click() {
    EditMode = 1;
    ProfileEdit();
}

void frmMain::cmdProfileClone_Click() {
    EditMode = 0;
    ProfileEdit();
}

void frmMain::ProfileEdit() {
    if (lstProfiles->count() == 0 || !selectedProfile()) {
        m_services.prompts->message(Text::tr("Önce listeden bir profil seçin."),
                                    UserPrompts::Icon::Information);
        return;
    }
    openEditor(true);
}

void frmMain::openEditor(bool filled) {
    frmNewSettings editor(SettingsIni->FileName(), m_listTarget, *m_services.prompts, this);
    if (filled) {
        for (int i = 0; i < FieldCount; ++i)
            editor.txtIP[i]->setText(i < ProfileParts.size() ? ProfileParts[i] : QString());
        const QListWidgetItem *item = selectedProfile();
        const QString name = item ? ProfileListWidget::nameOf(item) : QString();
        editor.txtProfileName->setText(EditMode == 1 ? name : MainWindowRules::cloneName(name));
    }
    editor.exec();
}

void frmMain::cmdProfileDelete_Click() {
    const QListWidgetItem *item = selectedProfile();
    if (!item) {
        m_services.prompts->message(Text::tr("Silmek için önce listeden bir profil seçin."),
                                    UserPrompts::Icon::Stop);
        return;
    }
    const QString name = ProfileListWidget::nameOf(item);
    if (!m_services.prompts->askYesNo(MainWindowRules::deleteQuestion(name),
                                      UserPrompts::Icon::Stop))
        return;
    const bool deleted = SettingsIni->DeleteKey(ProfilesSection, name) != 0;
    RefreshProfileList();
    if (!deleted) {
        m_services.prompts->message(Text::tr("\"%1\" profili silinemedi.\n%2")
                                        .arg(name, errorText(SettingsIni->lastError())),
                                    UserPrompts::Icon::Stop);
    }
}
