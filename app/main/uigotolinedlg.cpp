#include "uigotolinedlg.h"

#include "ui_uigotolinedlg.h"

#include <QEvent>
#include <QPushButton>

UiGotoLineDlg::UiGotoLineDlg(QWidget *parent) : QDialog(parent), form(std::make_unique<Ui::UiGotoLineDlg>())
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form->setupUi(this);
    retranslateUi();
}

UiGotoLineDlg::~UiGotoLineDlg() = default;

void UiGotoLineDlg::setLineCount(int n)
{
    lineCount = n;
    form->label->setText(tr("Line Number(1 - %1):").arg(n));
    form->spinBox->setMaximum(n);
}

void UiGotoLineDlg::accept()
{
    QDialog::accept();
    setResult(form->spinBox->value() - 1);
}

void UiGotoLineDlg::reject()
{
    QDialog::reject();
    setResult(-1);
}

void UiGotoLineDlg::retranslateUi()
{
    form->retranslateUi(this);
    form->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Ok"));
    form->buttonBox->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    if (lineCount >= 0)
        form->label->setText(tr("Line Number(1 - %1):").arg(lineCount));
}

void UiGotoLineDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
