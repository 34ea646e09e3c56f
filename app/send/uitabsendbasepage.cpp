#include "uitabsendbasepage.h"

#include "ui_uitabsendbasepage.h"

#include "combopopupwidth.h"
#include "hexformatter.h"
#include "taskobj.h"
#include "ulglobalset.h"

#include <QEvent>

UiTabSendBasePage::UiTabSendBasePage(QWidget *parent, int channel)
    : UiTabSendPage(parent, channel), form(std::make_unique<Ui::UiTabSendBasePage>())
{
    form->setupUi(this);
    scrollForm();
    ComboPopupWidth::installAll(this);
    restrictToHex(form->m_ctrlId);
    HexFormatter::install(form->m_ctrlData);
    setSendControls(form->SendButton, form->StopButton);

    connect(form->SendButton, &QPushButton::clicked, this, &UiTabSendBasePage::startSendNowData);
    connect(form->StopButton, &QPushButton::clicked, this, &UiTabSendBasePage::stopSendNowData);
    connect(form->m_ctrlFormat, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiTabSendBasePage::curFormatChanged);
    connect(this, &UiTabSendPage::idFormatChangedSignal, this, &UiTabSendBasePage::onIdFormatChanged);
    connect(this, &UiTabSendPage::AddMoveSend, this, &UiTabSendBasePage::onMovetoSend);
    onAnswerTaskRunning(false);
}

UiTabSendBasePage::~UiTabSendBasePage() = default;

void UiTabSendBasePage::startSendNowData()
{
    taskObj task;
    if (!buildFrames(task))
        return;
    taskQueue queue;
    queue.enqueue(task);
    Q_EMIT start(queue);
}

void UiTabSendBasePage::stopSendNowData()
{
    Q_EMIT stop();
}

bool UiTabSendBasePage::buildFrames(taskObj &task)
{
    CanObj frame;  // no time stamp, user value 0
    task.Frames = form->m_ctrlFrames->value();
    task.Interval = form->m_ctrlInterval->value();
    task.Times = form->m_ctrlSendTimes->value();
    task.IdIncrease = form->m_ctrlIdFlag->currentIndex();
    task.DataIncrease = form->m_ctrlDataFlag->currentIndex();
    frame.SendType = uint8_t(form->m_ctrlSendMode->currentIndex());
    frame.RemoteFlag = uint8_t(form->m_ctrlType->currentIndex());
    frame.ExternFlag = uint8_t(form->m_ctrlFormat->currentIndex());

    const QStringList parts = form->m_ctrlData->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (frame.DataLen == 8)
            break;
        frame.Data[frame.DataLen++] = uint8_t(part.right(2).toUInt(nullptr, 16));
    }

    if (!takeId(form->m_ctrlId, frame.ExternFlag != 0, frame.ID)) {
        Q_EMIT maxIdErrorSignal();
        return false;
    }
    CanData data;
    data.push(frame);
    task.frames.append(data);

    QString bytes;
    for (int i = 0; i < frame.DataLen; ++i)
        bytes += QString::asprintf(i ? " %02x" : "%02x", frame.Data[i]);
    form->m_ctrlData->setText(bytes);
    return true;
}

void UiTabSendBasePage::curFormatChanged(int index)
{
    switchIdFormat(form->m_ctrlId, index == 1);
}

void UiTabSendBasePage::onIdFormatChanged()
{
    const int idFormat = idFormatChange();
    if (idFormat >= 0)
        convertIdField(form->m_ctrlId, form->m_ctrlFormat->currentIndex() == 1, idFormat);
}

void UiTabSendBasePage::onMovetoSend(BaseSendParam param)
{
    form->m_ctrlFormat->setCurrentIndex(param.format ? 1 : 0);
    form->m_ctrlType->setCurrentIndex(param.type ? 1 : 0);
    form->m_ctrlId->setText(QString::number(param.id, 16));
    form->m_ctrlData->setText(param.data);
}

void UiTabSendBasePage::onActive()
{
    activate(0, form->m_ctrlSendMode);
}

void UiTabSendBasePage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        form->retranslateUi(this);
    UiTabSendPage::changeEvent(event);
}
