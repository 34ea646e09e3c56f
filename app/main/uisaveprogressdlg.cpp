#include "uisaveprogressdlg.h"

#include "savethread.h"
#include "uimessage.h"
#include "ui_uisaveprogressdlg.h"

#include <QCloseEvent>
#include <QEvent>

UiSaveProgressDlg::UiSaveProgressDlg(QWidget *parent, int channel, const QString &fileName)
    : QDialog(parent, Qt::WindowTitleHint | Qt::FramelessWindowHint),
      form(std::make_unique<Ui::UiSaveProgressDlg>()),
      channel(channel),
      fileName(fileName)
{
    form->setupUi(this);
    connect(form->pushButton, &QPushButton::clicked, this, &UiSaveProgressDlg::onCancel);

    worker = new saveThread(this, channel, fileName);
    form->progressBar->setRange(0, worker->frameCount());
    form->progressBar->setValue(0);
    connect(worker, &saveThread::statusSignal, this, &UiSaveProgressDlg::onChangedStatus);
    connect(worker, &QThread::finished, this, &UiSaveProgressDlg::onSaveThreadExit);
    worker->start(QThread::InheritPriority);
}

UiSaveProgressDlg::~UiSaveProgressDlg()
{
    worker->stop();
    worker->waitForFinish();
}

void UiSaveProgressDlg::onChangedStatus(int value)
{
    form->progressBar->setValue(value);
}

void UiSaveProgressDlg::onSaveThreadExit()
{
    if (ended)
        return;
    ended = true;
    switch (worker->result()) {
    case saveThread::Complete:
        UiMessage::information(this, tr("Hint"), tr("Save successfully"));
        break;
    case saveThread::Cancelled:
        UiMessage::information(this, tr("Hint"), tr("Save cancelled"));
        break;
    default:
        UiMessage::warning(this, tr("Warning"),
                           tr("%1 %2,\n%3").arg(tr("Cannot write file"), fileName, worker->errorString()));
        break;
    }
    QDialog::accept();
}

void UiSaveProgressDlg::onCancel()
{
    worker->stop();
}

void UiSaveProgressDlg::reject()
{
    if (ended)
        QDialog::reject();
    else
        onCancel();
}

void UiSaveProgressDlg::closeEvent(QCloseEvent *event)
{
    if (ended) {
        QDialog::closeEvent(event);
        return;
    }
    onCancel();
    event->ignore();
}

void UiSaveProgressDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        form->retranslateUi(this);
    QDialog::changeEvent(event);
}
