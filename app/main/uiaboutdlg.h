// The modal about dialog: logo, the program's version as the build set
// it, the ownership notice with the current year, and the project's web
// link, which opens in the desktop's browser.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
namespace Ui {
class UiAboutDlg;
}

class UiAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit UiAboutDlg(QWidget *parent = nullptr);
    ~UiAboutDlg() override;

    // The version the build gave the program ("1.0.0").
    static QString versionText();

public Q_SLOTS:
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiAboutDlg> form;
    QLabel *textLabel;
};
