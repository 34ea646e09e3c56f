#include "uibusstatus.h"

#include "canrunstatuswidget.h"
#include "devcan.h"
#include "ui_uibusstatus.h"
#include "ulbuffer.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QVBoxLayout>

#include <climits>

bool UiBusStatus::isShowing = false;

namespace {

// Error counters from this value on mean error passive.
constexpr int kPassiveCount = 127;

} // namespace

UiBusStatus::UiBusStatus(int channelCount, const QString &title, QWidget *parent)
    : QDialog(parent),
      form(std::make_unique<Ui::UiBusStatus>()),
      channels(qBound(1, channelCount, int(Channels))),
      titleSuffix(title)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/Merovast.ico")));
    setAttribute(Qt::WA_DeleteOnClose);
    qRegisterMetaType<ControlStatus>("ControlStatus");
    qRegisterMetaType<BusStatus>("BusStatus");

    auto *layout = new QVBoxLayout(this);
    for (int ch = 0; ch < channels; ++ch) {
        groups[ch] = new QGroupBox(this);
        auto *inner = new QVBoxLayout(groups[ch]);
        panels[ch] = new CANRunStatusWidget(groups[ch]);
        inner->addWidget(panels[ch]);
        layout->addWidget(groups[ch]);
        // The first tick shows what happened since the window opened.
        const UlBuffer &buffer = UlBuffer::instance(ch);
        previousBits[ch] = buffer.size();
        previousFrames[ch] = buffer.frames();
    }
    retranslateUi();

    connect(this, &UiBusStatus::showRunStatus, this, &UiBusStatus::onShowRunStatus);
    connect(this, &UiBusStatus::showControlStatus, this, &UiBusStatus::onShowControlStatus);
    connect(this, &UiBusStatus::showBusStatus, this, &UiBusStatus::onShowBusStatus);
    connect(this, &UiBusStatus::showErrorCount, this, &UiBusStatus::onShowErrorCount);
    connect(&timer, &QTimer::timeout, this, &UiBusStatus::UpdateStatus);
    timer.start(RefreshMs);
    isShowing = true;
}

UiBusStatus::~UiBusStatus()
{
    timer.stop();
    isShowing = false;
}

CANRunStatusWidget *UiBusStatus::panel(int channel) const
{
    return channel >= 0 && channel < channels ? panels[channel] : nullptr;
}

void UiBusStatus::retranslateUi()
{
    form->retranslateUi(this);
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + titleSuffix);
    for (int ch = 0; ch < channels; ++ch)
        groups[ch]->setTitle(tr("Channel") + QStringLiteral(" %1").arg(ch));
}

void UiBusStatus::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void UiBusStatus::closeEvent(QCloseEvent *event)
{
    timer.stop();
    QDialog::closeEvent(event);
}

void UiBusStatus::onShowRunStatus(int nChannel, int nLoad, int nSpeed, bool status)
{
    if (CANRunStatusWidget *p = panel(nChannel))
        p->setRunStatus(nLoad, nSpeed, status);
}

void UiBusStatus::onShowControlStatus(int nChannel, ControlStatus cs)
{
    if (CANRunStatusWidget *p = panel(nChannel))
        p->setControlStatus(cs);
}

void UiBusStatus::onShowBusStatus(int nChannel, BusStatus bs, int sendCount, int recCount)
{
    if (CANRunStatusWidget *p = panel(nChannel)) {
        p->setBusStatus(bs);
        p->setErrorCount(sendCount, recCount);
    }
}

void UiBusStatus::onShowErrorCount(int nChannel, int sendCount, int recCount)
{
    if (CANRunStatusWidget *p = panel(nChannel))
        p->setErrorCount(sendCount, recCount);
}

void UiBusStatus::UpdateStatus()
{
    DevCan &device = DevCan::instance();
    for (int ch = 0; ch < channels; ++ch) {
        const UlBuffer &buffer = UlBuffer::instance(ch);
        // Counters below the last reading were reset in between: count
        // from the reset.
        const qint64 bits = buffer.size();
        if (bits < previousBits[ch])
            previousBits[ch] = 0;
        const qint64 bitRate = qMax(1, device.maxBaudrate(uint32_t(ch)));
        const qint64 load = qMin<qint64>(100, (bits - previousBits[ch]) * 100 / bitRate);
        previousBits[ch] = bits;

        const qint64 frames = buffer.frames();
        if (frames < previousFrames[ch])
            previousFrames[ch] = 0;
        const qint64 rate = frames - previousFrames[ch];
        previousFrames[ch] = frames;

        Q_EMIT showRunStatus(ch, int(load), int(qMin<qint64>(rate, INT_MAX)), device.isStarted(uint32_t(ch)));

        VCI_CAN_STATUS status{};
        if (device.readCANStatus(uint32_t(ch), &status) != 1)
            continue;
        const int sr = status.StatusReg;
        ControlStatus control;
        control.receiveBufferFull = sr & 0x01 ? 1 : 0;
        control.dataOverrun = sr & 0x02 ? 2 : 0;
        control.transmitBufferEmpty = sr & 0x04 ? 1 : 0;
        control.transmissionComplete = sr & 0x08 ? 1 : 0;
        control.receiving = sr & 0x10 ? 1 : 0;
        panels[ch]->setControlStatus(control);

        BusStatus bus;
        if (sr & 0x80)
            bus.busOff = 2;
        else
            bus.busNormal = 1;
        const int rec = status.RxErrorCounter;
        const int tec = status.TxErrorCounter;
        if (rec >= kPassiveCount || tec >= kPassiveCount)
            bus.errorPassive = 2;
        else if (rec > 0 || tec > 0)
            bus.errorActive = 2;
        Q_EMIT showBusStatus(ch, bus, tec, rec);
    }
}
