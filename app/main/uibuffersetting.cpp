#include "uibuffersetting.h"

#include "ui_uibuffersetting.h"
#include "ulbuffer.h"

#include <QEvent>
#include <QPushButton>

UiBufferSetting::UiBufferSetting(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiBufferSetting>())
{
    form->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/Merovast.ico")));
    retranslateUi();
    connect(form->buttonBox, &QDialogButtonBox::accepted, this, &UiBufferSetting::accept);
    const UlBuffer &first = UlBuffer::instance(0);
    form->spinBoxBufferSize->setValue(first.getMaxCount());
    form->spinBoxRefreshCycle->setValue(first.getRefreshCycle());
}

UiBufferSetting::~UiBufferSetting() = default;

void UiBufferSetting::accept()
{
    QDialog::accept();
    const int size = form->spinBoxBufferSize->value();
    const int cycle = form->spinBoxRefreshCycle->value();
    for (int channel = 0; channel < UlBuffer::Channels; ++channel) {
        UlBuffer &buffer = UlBuffer::instance(channel);
        buffer.setMaxCount(size);
        buffer.setRefreshCycle(cycle);
    }
    setResult(1);
}

void UiBufferSetting::reject()
{
    QDialog::reject();
    setResult(-1);
}

void UiBufferSetting::retranslateUi()
{
    form->retranslateUi(this);
    form->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Ok"));
}

void UiBufferSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
