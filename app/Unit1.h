#pragma once
// The about box: who made the program, its version, and a link to the maker's web page.
// It is shown beside the main window, never over it as a modal dialog.

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;

    // Shows the box centred on the screen; a box already open stays as it is.
    void showCentred();

private:
    void RzURLLabel1Click();
    void applyLook();

    std::unique_ptr<Ui::TAboutBox> ui;
};
