#include "uiidformatsetting.h"

#include "ui_uiidformatsetting.h"
#include "ulglobalset.h"

#include <QEvent>
#include <QPushButton>
#include <QSettings>

UiIdFormatSetting::UiIdFormatSetting(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiIdFormatSetting>())
{
    form->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/Merovast.ico")));
    retranslateUi();
    connect(form->buttonBox, &QDialogButtonBox::accepted, this, &UiIdFormatSetting::accept);
    if (UlGlobalSet::instance().IDFORMAT == 0)
        form->m_radioRight->setChecked(true);
    else
        form->m_radioLeft->setChecked(true);
}

UiIdFormatSetting::~UiIdFormatSetting() = default;

void UiIdFormatSetting::accept()
{
    QDialog::accept();
    const int format = form->m_radioLeft->isChecked() ? 1 : 0;
    UlGlobalSet::instance().IDFORMAT = format;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                       QStringLiteral("INIT"));
    settings.setValue(QStringLiteral("IDFORMAT"), format);
    setResult(1);
}

void UiIdFormatSetting::reject()
{
    QDialog::reject();
    setResult(-1);
}

void UiIdFormatSetting::retranslateUi()
{
    form->retranslateUi(this);
    form->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Ok"));
}

void UiIdFormatSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
