#pragma once

#include <QDialog>

class AdapterBackend;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class UserPrompts;

// Chooses the adapters a profile goes to: one adapter from the list, or all of them with
// the check box. The caller reads SelectedNIC() after the dialog has closed: a
// description, "*ALL", or an empty text when nothing was chosen; SelectedAdapter() gives the
// chosen adapter's whole caption instead of its description, which tells apart two adapters
// of the same description.
class frmSelectNIC : public QDialog {
    Q_OBJECT

public:
    frmSelectNIC(AdapterBackend &backend, UserPrompts &prompts, QWidget *parent = nullptr);

    QString SelectedNIC() const { return m_selection; }
    QString SelectedAdapter() const { return m_adapter; }

    void chkAllNIC_Click();
    void cmdSave_Click();
    void cmdCancel_Click();

    QCheckBox *chkAllNIC;
    QListWidget *lstNIC;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QLabel *lblNIC;
    QLabel *Image1;

    // Esc is "KAPAT".
    void reject() override;

protected:
    // Closing by the window frame keeps the selection as it stands.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FillNICList();

    AdapterBackend &m_backend;
    UserPrompts &m_prompts;
    QString m_selection;
    QString m_adapter;
    bool m_shownOnce = false;
};
