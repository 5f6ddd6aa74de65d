#include "dialogs/frmSelectNIC.h"

#include "adapters/AdapterCommands.h"
#include "dialogs/DialogFrame.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"
#include "widgets/MiddleElision.h"
#include "widgets/ReturnPressesButtons.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

frmSelectNIC::frmSelectNIC(AdapterBackend &backend, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_backend(backend), m_prompts(prompts) {
    DialogFrame::setUp(*this, QStringLiteral("frmSelectNIC"), Text::tr("Ağ bağdaştırıcısı seçimi"),
                       QSize(px(6210), px(4200)));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    setAutoFillBackground(true);

    chkAllNIC = new QCheckBox(Text::tr("Tüm Ağ Bağdaştırıcılarında Etkinleştir"), this);
    chkAllNIC->setGeometry(twipRect(180, 240, 4875, 255));
    lstNIC = new QListWidget(this);
    lstNIC->setGeometry(twipRect(120, 900, 5955, 2400));
    lstNIC->setSelectionMode(QAbstractItemView::SingleSelection);
    MiddleElision::install(lstNIC);
    cmdSave = DialogFrame::addSaveButton(*this, twipRect(3420, 3420, 1245, 345));
    cmdCancel = new QPushButton(Text::tr("KAPAT"), this);
    cmdCancel->setGeometry(twipRect(4800, 3420, 1245, 345));
    for (QPushButton *b : {cmdSave, cmdCancel})
        b->setAutoDefault(false);
    lblNIC = new QLabel(Text::tr("Seleziona la Sceda di Rete"), this);
    lblNIC->setTextFormat(Qt::PlainText);
    lblNIC->setGeometry(twipRect(120, 660, 1920, 195));
    // Our font is a little wider than the one the layout was drawn with: never cut the text.
    lblNIC->resize(std::max(lblNIC->width(), lblNIC->sizeHint().width()), lblNIC->height());
    QPalette white = lblNIC->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lblNIC->setPalette(white);
    Image1 = DialogFrame::addPicture(*this, twipRect(5280, 240, 480, 480));
    lblNIC->setBuddy(lstNIC);
    lstNIC->setAccessibleName(lblNIC->text());

    setTabOrder(chkAllNIC, lstNIC);
    setTabOrder(lstNIC, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    ReturnPressesButtons::install(this);

    connect(chkAllNIC, &QCheckBox::toggled, this, &frmSelectNIC::chkAllNIC_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmSelectNIC::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectNIC::cmdCancel_Click);

    FillNICList();
}

void frmSelectNIC::FillNICList() {
    for (const QString &caption : AdapterCommands::adapterCaptions(m_backend)) {
        auto *item = new QListWidgetItem(AdapterCommands::descriptionOf(caption), lstNIC);
        item->setData(Qt::UserRole, caption);
    }
}

void frmSelectNIC::chkAllNIC_Click() {
    const bool all = chkAllNIC->isChecked();
    lstNIC->setEnabled(!all);
    m_selection = all ? QStringLiteral("*ALL") : QString();
    m_adapter = m_selection;
}

void frmSelectNIC::cmdSave_Click() {
    if (!chkAllNIC->isChecked()) {
        // The selected adapter, however it was selected (a click, the keyboard, a screen
        // reader's selection that leaves the current item elsewhere).
        const QList<QListWidgetItem *> selected = lstNIC->selectedItems();
        const QListWidgetItem *item = selected.isEmpty() ? nullptr : selected.first();
        if (!item) {
            m_prompts.message(Text::tr("Ağ bağdaştırıcısı seçilmedi.\nListeden bir "
                                       "bağdaştırıcı seçin ya da tüm bağdaştırıcılar "
                                       "kutusunu işaretleyin."),
                              UserPrompts::Icon::Stop);
            return;
        }
        m_selection = item->text();
        m_adapter = item->data(Qt::UserRole).toString();
    }
    done(QDialog::Accepted);
}

void frmSelectNIC::cmdCancel_Click() {
    m_selection.clear();
    m_adapter.clear();
    done(QDialog::Rejected);
}

void frmSelectNIC::reject() {
    cmdCancel_Click();
}

void frmSelectNIC::closeEvent(QCloseEvent *event) {
    event->accept();
    done(QDialog::Rejected);
}

void frmSelectNIC::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    DialogFrame::placeOnFirstShow(*this, m_shownOnce);
}
