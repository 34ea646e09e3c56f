#include "uistatusbar.h"

#include <QEvent>
#include <QLabel>
#include <QToolButton>

#include <cmath>

namespace {

QLabel *addLabel(QStatusBar *bar, const char *name, int minimumWidth)
{
    auto *label = new QLabel(bar);
    label->setObjectName(QLatin1String(name));
    if (minimumWidth > 0)
        label->setMinimumWidth(minimumWidth);
    bar->addPermanentWidget(label);
    return label;
}

} // namespace

UiStatusBar::UiStatusBar(QWidget *parent) : QStatusBar(parent)
{
    spacer = addLabel(this, "spacer", 0);
    sendTimeCaption = addLabel(this, "sendTimeCaption", 50);
    sendTimeValue = addLabel(this, "sendTimeValue", 80);
    sendFramesCaption = addLabel(this, "sendFramesCaption", 50);
    sendFramesValue = addLabel(this, "sendFramesValue", 80);
    recvFramesCaption = addLabel(this, "recvFramesCaption", 50);
    recvFramesValue = addLabel(this, "recvFramesValue", 80);
    clearButton = new QToolButton(this);
    clearButton->setObjectName(QStringLiteral("statusBarBtnClear"));
    clearButton->setFixedWidth(80);
    clearButton->setAutoRaise(true);
    clearButton->setFocusPolicy(Qt::NoFocus);
    addPermanentWidget(clearButton);
    retranslateUi();
    clear();
    connect(clearButton, &QToolButton::clicked, this, &UiStatusBar::clear);
}

void UiStatusBar::setSendTime(double num)
{
    // Converting a double outside the int range to int is undefined, so
    // the whole part is printed from the double itself.
    if (num == -1.0 || !std::isfinite(num)) {
        sendTimeValue->clear();
        return;
    }
    const double whole = std::trunc(num);
    sendTimeValue->setText(QString::number(whole == 0 ? 0.0 : whole, 'f', 0));
}

void UiStatusBar::setSendFrames(ulong num)
{
    sendFramesValue->setText(QString::number(num));
}

void UiStatusBar::setRecvFrames(ulong num)
{
    recvFramesValue->setText(QString::number(num));
}

void UiStatusBar::clear()
{
    sendTimeValue->clear();
    sendFramesValue->setText(QStringLiteral("0"));
    recvFramesValue->setText(QStringLiteral("0"));
    Q_EMIT clearSignal();
}

void UiStatusBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QStatusBar::changeEvent(event);
}

void UiStatusBar::retranslateUi()
{
    sendTimeCaption->setText(tr("Send Time(s)"));
    sendFramesCaption->setText(tr("Send Frames"));
    recvFramesCaption->setText(tr("Receive Frames"));
    clearButton->setText(tr("Clear"));
}
