#include "canrunstatuswidget.h"

#include "ui_canrunstatuswidget.h"

#include <QEvent>

CANRunStatusWidget::CANRunStatusWidget(QWidget *parent)
    : QWidget(parent), form(std::make_unique<Ui::CANRunStatusWidget>())
{
    form->setupUi(this);
    form->pWidgetLEDBusNormal->setState(BusStatusLEDWidget::Green);
}

CANRunStatusWidget::~CANRunStatusWidget() = default;

void CANRunStatusWidget::setRunStatus(int load, int frameRate, bool started)
{
    form->m_progressBarBusLoad->setValue(load);
    form->labelFrameSpeed->setText(QString::number(frameRate));
    form->m_ledBusStatus->setEnabled(started);
    form->m_ledBusStatus->update();
}

void CANRunStatusWidget::setErrorCount(int sendCount, int recCount)
{
    form->labelSendCount->setText(QString::number(sendCount));
    form->labelRecvCount->setText(QString::number(recCount));
}

void CANRunStatusWidget::setBusStatus(const BusStatus &status)
{
    form->pWidgetLEDBusNormal->setState(status.busNormal);
    form->pWidgetLEDBusClose->setState(status.busOff);
    form->pWidgetLEDErrorNegative->setState(status.errorPassive);
    form->pWidgetLEDErrorActive->setState(status.errorActive);
}

void CANRunStatusWidget::setControlStatus(const ControlStatus &status)
{
    form->pWidgetLEDRecvregisterFull->setState(status.receiveBufferFull);
    form->pWidgetLEDRecvregisterOver->setState(status.dataOverrun);
    form->pWidgetLEDSendRegisterEmpty->setState(status.transmitBufferEmpty);
    form->pWidgetLEDSendOver->setState(status.transmissionComplete);
    form->pWidgetLEDRecving->setState(status.receiving);
}

void CANRunStatusWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        form->retranslateUi(this);
    QWidget::changeEvent(event);
}
