#pragma once

#include "settings/modNetProfiles.h"

#include <QDialog>
#include <array>

class AddressBox;
class PictureBox;
class ProfileList;
class QLabel;
class QLineEdit;
class QPushButton;
class UserPrompts;

// The profile editor: a name and five addresses of four octet boxes each. The caller sets
// EditMode, creates the dialog (which loads it with every field empty), fills the fields
// for an edit or a clone, and shows it modally. Each save writes the profile into the
// settings file and reloads the caller's profile list; the dialog stays open until
// "KAPAT", Esc or the close box.
class frmNewSettings : public QDialog {
    Q_OBJECT

public:
    frmNewSettings(const QString &settingsPath, ProfileList &reloadTarget, UserPrompts &prompts,
                   QWidget *parent = nullptr);

    // Empties the name and every address box.
    void AzzeraCampi();
    // -1 when the input may be saved; -2 when the name is blank; otherwise the index of the
    // first blank required address box.
    int VerificaCampi() const;
    modNetProfiles::ProfileFields fields() const;

    void cmdSave_Click();

    QLabel *Label1;
    QLineEdit *txtProfileName;
    PictureBox *Picture1;
    std::array<QLabel *, 7> lblAddress{};
    std::array<AddressBox *, modNetProfiles::FieldCount> txtIP{};
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QLabel *Image1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    void txtIP_LostFocus(int index);

    QString m_settingsPath;
    ProfileList &m_reloadTarget;
    UserPrompts &m_prompts;
    bool m_shownOnce = false;
};
