#include "uifirmwareprogressdlg.h"

#include "canwritethread.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "ui_uifirmwareprogressdlg.h"
#include "ulpipe.h"
#include "ulsendfirmwarethread.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>

UiFirmwareProgressDlg::UiFirmwareProgressDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiFirmwareProgressDlg>())
{
    form->setupUi(this);
    createActions();
    form->progressBar->setMinimum(0);
    form->progressBar->setValue(0);

    writer = new CanWriteThread(Channel, this);
    writer->setObjectName(QStringLiteral("firmwareWriter"));
    writer->setHideSendFrame(true);
    connect(writer, &CanWriteThread::errorSignal, this, &UiFirmwareProgressDlg::onTransmitError);
    connect(writer, &CanWriteThread::tailSignal, this, &UiFirmwareProgressDlg::onStop);

    sender = new UlSendFirmwareThread(this, Channel);
    sender->setObjectName(QStringLiteral("firmwareSender"));
    connect(sender, &UlSendFirmwareThread::progressValueChanged, this,
            &UiFirmwareProgressDlg::curProgressChanged);
    connect(sender, &UlSendFirmwareThread::changeStatus, this, &UiFirmwareProgressDlg::onThreadChangeStatus);
    connect(sender, &QThread::finished, this, &UiFirmwareProgressDlg::onThreadFinished);
    connect(sender, &UlSendFirmwareThread::errorSignal, this, &UiFirmwareProgressDlg::onReadError);
}

UiFirmwareProgressDlg::~UiFirmwareProgressDlg()
{
    stopThreads();
}

void UiFirmwareProgressDlg::createActions()
{
    connect(form->BrowseButton, &QPushButton::clicked, this, &UiFirmwareProgressDlg::onBrowseFile,
            Qt::UniqueConnection);
    connect(form->SendButton, &QPushButton::clicked, this, &UiFirmwareProgressDlg::startSendNowData,
            Qt::UniqueConnection);
    connect(form->StopButton, &QPushButton::clicked, this, &UiFirmwareProgressDlg::onStop,
            Qt::UniqueConnection);
}

void UiFirmwareProgressDlg::curProgressChanged(int nValue)
{
    form->progressBar->setValue(nValue);
}

void UiFirmwareProgressDlg::onCancel()
{
    sender->stop();
    reject();
}

void UiFirmwareProgressDlg::startSendNowData()
{
    const QString path = form->m_ctrlFilename->text();
    if (!checkFile(path) || sender->isRunning())
        return;
    fileName = path;
    // A fresh transmit thread and an empty pipe for every upload: nothing
    // left over from an earlier one is sent, and its last notifications are
    // handled before this upload begins.
    writer->stop();
    writer->waitForFinish();
    UlPipe::instance(int(Channel)).clear();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    writer->start();

    form->SendButton->setEnabled(false);
    sender->setFileType(0);
    sender->setFileName(fileName);
    sender->start();
}

void UiFirmwareProgressDlg::onStop()
{
    sender->stop();
}

void UiFirmwareProgressDlg::onThreadFinished()
{
    form->SendButton->setEnabled(true);
    sender->stop();
}

void UiFirmwareProgressDlg::onThreadChangeStatus()
{
    if (sender->isRunning()) {
        form->SendButton->setEnabled(false);
    } else {
        form->SendButton->setEnabled(true);
        sender->stop();
    }
}

void UiFirmwareProgressDlg::onBrowseFile()
{
    const QString filter = tr("%1 %2(*.bin)").arg(tr("Bin"), tr("File"));
    const QString path = UiFileDialog::getOpenFileName(this, tr("Open"), QDir::currentPath(), filter);
    if (!path.isEmpty())
        form->m_ctrlFilename->setText(path);
}

void UiFirmwareProgressDlg::onReadError()
{
    stopThreads();
    UiMessage::information(this, tr("Error"),
                           tr("%1 %2").arg(tr("Cannot read file"), QDir::toNativeSeparators(fileName)));
}

void UiFirmwareProgressDlg::onTransmitError()
{
    stopThreads();
    UiMessage::information(this, tr("Error"), tr("Send failed."));
}

bool UiFirmwareProgressDlg::checkFile(const QString &path)
{
    if (path.isEmpty()) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1,%3.").arg(tr("Cannot read file"), tr("No file name specified")));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1 %2,\n%3")
                                   .arg(tr("Cannot read file"), QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

void UiFirmwareProgressDlg::stopThreads()
{
    sender->stop();
    writer->stop();
    sender->waitForFinish();
    writer->waitForFinish();
    UlPipe::instance(int(Channel)).clear();
    form->SendButton->setEnabled(true);
}

void UiFirmwareProgressDlg::done(int result)
{
    stopThreads();
    QDialog::done(result);
}

void UiFirmwareProgressDlg::closeEvent(QCloseEvent *event)
{
    stopThreads();
    event->accept();
    QDialog::closeEvent(event);
}

void UiFirmwareProgressDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        form->retranslateUi(this);
    QDialog::changeEvent(event);
}
