#include "app/Unit1.h"

#include "widgets/form_look.h"
#include "app/program_identity.h"
#include "ui_Unit1.h"

#include <QDesktopServices>
#include <QScreen>
#include <QUrl>

using look::Weight;

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setModal(false);
    ui->ProductName->setText(identity::kMakerName);
    ui->Version->setText(identity::kComment);
    ui->ProgramVersion->setText(QStringLiteral("версия ") + identity::kVersion);
    applyLook();
    connect(ui->RzURLLabel1, &LinkLabel::clicked, this, &TAboutBox::RzURLLabel1Click);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showCentred()
{
    if (isVisible())
        return;
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

// The system's browser opens the page; the link then shows in the colour of a visited one.
void TAboutBox::RzURLLabel1Click()
{
    QDesktopServices::openUrl(QUrl(identity::kMakerWebAddress));
    look::setLook(ui->RzURLLabel1, ui->RzURLLabel1->font(), look::kPurple);
}

void TAboutBox::applyLook()
{
    look::setLook(this, look::formFont(11, Weight::Regular), look::kBlack);
    look::setLook(ui->ProductName, look::formFont(11, Weight::Bold), look::kNavy);
    look::setLook(ui->TestName, look::formFont(13, Weight::Regular), look::kPurple);
    look::setLook(ui->ProgramVersion, look::formFont(11, Weight::Regular), look::kBlack);
    look::setLook(ui->Version, look::formFont(11, Weight::Regular), look::kRed);
    look::setLook(ui->RzURLLabel1, look::formFont(13, Weight::Bold), look::kNavy);
    const std::initializer_list<QLabel *> texts = {ui->ProductName, ui->TestName,
                                                   ui->ProgramVersion, ui->RzURLLabel1};
    for (QLabel *label : texts)
        look::widenToContent(label);
    // The substitute font makes this line wider than designed: widened to both sides, it
    // keeps clear of the panel's edge.
    look::widenToContentAroundCentre(ui->Version);
}
