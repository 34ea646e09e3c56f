#include "gbt27931widget.h"

#include "chargeendwidget.h"
#include "chargeerrorwidget.h"
#include "chargehandshakewidget.h"
#include "chargeparamconfigwidget.h"
#include "chargingpages.h"
#include "chargingwidget.h"
#include "gbt27930.h"
#include "handshakemessages.h"
#include "minorparameterwidget.h"
#include "monomertemperaturewidget.h"
#include "monomervoltagewidget.h"
#include "paramconfigmessages.h"
#include "ui_gbt27931widget.h"
#include "uilanguage.h"
#include "ulbuffer.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

namespace {

// Tab texts in index order (context "GBT27931Widget").
const char *const TabTexts[] = {
        QT_TRANSLATE_NOOP("GBT27931Widget", "Charge handshake"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Charge param config"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Charging"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Charging end"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Minor parameter"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Monomer voltage"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Monomer temperature"),
        QT_TRANSLATE_NOOP("GBT27931Widget", "Error message"),
};

// Colours, picture and needle steps shared by both dashboards.
void setUpDashboard(DigitalDashboardWidget *gauge, const QString &unitFormat)
{
    gauge->setFixedSize(180, 180);
    gauge->setValueColor(QColor(255, 0, 0));
    gauge->setTitleColor(QColor(0, 128, 255));
    gauge->setUnitFormat(unitFormat);
    gauge->setPixmapPath(QStringLiteral(":/Resources/Voltage.png"));
    gauge->setAnimation(4, 40);
    gauge->setBandColors({QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)});
}

// Group of a frame outside the transport protocol: its PDU format byte.
uint singleFramePgn(const VCI_CAN_OBJ &frame)
{
    return ((frame.ID >> 16) & 0xFF) << 8;
}

QString clockText(quint16 minutes)
{
    return QString::asprintf("%02d:%02d:00", minutes / 60, minutes % 60);
}

QVBoxLayout *gaugeColumn(QWidget *gauge)
{
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(gauge);
    column->addStretch();
    return column;
}

} // namespace

GBT27931Widget::GBT27931Widget(int channel, bool *openFlag)
    : QWidget(nullptr),
      form(std::make_unique<Ui::GBT27931Widget>()),
      m_channel(channel >= 0 && channel < UlBuffer::Channels ? channel : 0),
      m_pOpenFlag(openFlag)
{
    form->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/GBT27930.png")));
    // Volts 0 to 800, amperes -1000 to 1000.
    setUpDashboard(form->m_pWidgetTotalVoltage, QStringLiteral("%1V"));
    form->m_pWidgetTotalVoltage->setValues(800, 0, 0, 800);
    setUpDashboard(form->m_pWidgetTotalCurrent, QStringLiteral("%1A"));
    form->m_pWidgetTotalCurrent->setValues(1000, 0, -1000, 1000);
    form->label_4->setStyleSheet(QStringLiteral("color:#0080ff;"));
    buildLayout();
    form->m_pWidgetBatterySOC->setValue(0);
    form->m_pWidgetBatterySOC->setText(QStringLiteral("SOC"));

    m_pChargeHandshake = new ChargeHandshakeWidget;
    m_pChargeParamConfig = new ChargeParamConfigWidget;
    m_pCharging = new ChargingWidget;
    m_pChargeEnd = new ChargeEndWidget;
    m_pMinorParameter = new MinorParameterWidget;
    m_pMonomerVoltage = new MonomerVoltageWidget;
    m_pMonomerTemperature = new MonomerTemperatureWidget;
    m_pChargeError = new ChargeErrorWidget;
    for (QWidget *page : std::initializer_list<QWidget *>{m_pChargeHandshake, m_pChargeParamConfig, m_pCharging,
                                                          m_pChargeEnd, m_pMinorParameter, m_pMonomerVoltage,
                                                          m_pMonomerTemperature, m_pChargeError})
        form->m_pTabWidget->addTab(page, QString());
    // Every tab shows its whole text: the window is as wide as they need.
    form->m_pTabWidget->setUsesScrollButtons(false);
    form->m_pTabWidget->setElideMode(Qt::ElideNone);
    retranslateUi();
    applyLanguageSizes();

    // Frames of an earlier charge must not reach this one.
    UlBuffer &buffer = UlBuffer::instance(m_channel);
    buffer.ClearGBT27930();
    buffer.setGBT27930Run(true);
    if (m_pOpenFlag)
        *m_pOpenFlag = true;
    m_running = true;
    connect(this, &GBT27931Widget::ProcessData, this, &GBT27931Widget::onProcessData);
    m_thread = std::thread([this] { pollFrames(); });
}

GBT27931Widget::~GBT27931Widget()
{
    UlBuffer &buffer = UlBuffer::instance(m_channel);
    buffer.setGBT27930Run(false);
    if (m_pOpenFlag)
        *m_pOpenFlag = false;
    {
        const std::lock_guard<std::mutex> lock(m_sleepMutex);
        m_running = false;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    buffer.ClearGBT27930();
}

void GBT27931Widget::buildLayout()
{
    Ui::GBT27931Widget &f = *form;
    auto *top = new QHBoxLayout;
    top->addStretch();
    top->addLayout(gaugeColumn(f.m_pWidgetTotalVoltage));
    top->addSpacing(30);
    auto *middle = new QVBoxLayout;
    middle->addSpacing(15);
    middle->addWidget(f.m_pWidgetBatterySOC);
    middle->addSpacing(15);
    ChargingPages::addRows(*middle, {{f.label_3, f.m_pLineEditBMSClock}}, true);
    middle->addSpacing(5);
    ChargingPages::addRows(*middle, {{f.label_4, f.m_pLineEditSysOpeMode}}, true);
    middle->addStretch();
    top->addLayout(middle);
    top->addSpacing(30);
    top->addLayout(gaugeColumn(f.m_pWidgetTotalCurrent));
    top->addStretch();

    auto *window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addWidget(f.m_pTabWidget);
}

void GBT27931Widget::retranslateUi()
{
    form->retranslateUi(this);
    form->m_pWidgetTotalVoltage->setTitle(tr("Voltage"));
    form->m_pWidgetTotalCurrent->setTitle(tr("Current"));
    for (int i = 0; i < form->m_pTabWidget->count(); ++i)
        form->m_pTabWidget->setTabText(i, tr(TabTexts[i]));
    setStatus(status);
    showRemainingTime();
}

void GBT27931Widget::applyLanguageSizes()
{
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    ChargingPages::fitLabels({form->label_3, form->label_4}, chinese ? 70 : 120);
    // The clock starts as "00:00:00".
    const QStringList shown{clockText(0), clockText(BcsRecord::MaxRemainingTime),
                            statusText(Status::Charging), statusText(Status::Ended), statusText(Status::Failed)};
    ChargingPages::fitFields({form->m_pLineEditBMSClock, form->m_pLineEditSysOpeMode}, shown, 170);
}

void GBT27931Widget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        applyLanguageSizes();
        // The pages take the change after the window, and hidden ones
        // neither lay themselves out again nor tell the window: once they
        // have their widths, do both for them.
        QTabWidget *tabs = form->m_pTabWidget;
        QMetaObject::invokeMethod(
                tabs,
                [tabs] {
                    for (int i = 0; i < tabs->count(); ++i)
                        tabs->widget(i)->layout()->activate();
                    tabs->updateGeometry();
                },
                Qt::QueuedConnection);
    }
    QWidget::changeEvent(event);
}

QString GBT27931Widget::statusText(Status status)
{
    switch (status) {
    case Status::None:
        break;
    case Status::Charging:
        return tr("Charging", "status line");
    case Status::Ended:
        return tr("End of charging");
    case Status::Failed:
        return tr("Charging failure");
    }
    return QString();
}

void GBT27931Widget::setStatus(Status value)
{
    status = value;
    form->m_pLineEditSysOpeMode->setText(statusText(status));
}

void GBT27931Widget::showRemainingTime()
{
    // Hours and minutes; empty when the last BCS held no valid time.
    if (bcsSeen)
        form->m_pLineEditBMSClock->setText(
                remainingMinutes ? clockText(*remainingMinutes) : QString());
}

void GBT27931Widget::handOver(uint pgn, QByteArray data)
{
    bool post = false;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        const auto older = std::find_if(m_pending.begin(), m_pending.end(),
                                        [pgn](const std::pair<uint, QByteArray> &entry) { return entry.first == pgn; });
        if (older != m_pending.end())
            m_pending.erase(older);
        m_pending.emplace_back(pgn, std::move(data));
        post = !m_deliveryPosted;
        m_deliveryPosted = true;
    }
    // Dropped with the window if it is gone before the event is handled.
    if (post)
        QMetaObject::invokeMethod(this, [this] { deliverPending(); }, Qt::QueuedConnection);
}

void GBT27931Widget::deliverPending()
{
    std::vector<std::pair<uint, QByteArray>> batch;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        batch.swap(m_pending);
        m_deliveryPosted = false;
    }
    for (const auto &message : batch)
        onProcessData(message.first, message.second);
}

void GBT27931Widget::pollFrames()
{
    UlBuffer &buffer = UlBuffer::instance(m_channel);
    VCI_CAN_OBJ frame;
    J1939Message message;
    while (m_running) {
        if (!buffer.takeGBT27930Frame(frame)) {
            std::unique_lock<std::mutex> lock(m_sleepMutex);
            m_wake.wait_for(lock, std::chrono::milliseconds(PollInterval), [this] { return !m_running; });
            continue;
        }
        // A remote frame carries no data.
        if (frame.RemoteFlag)
            continue;
        switch (m_reassembler.feed(frame, &message)) {
        case J1939Reassembler::Complete: {
            // The third byte of the announced group (its data page) is not used.
            const uint pgn = message.pgn & 0xFFFF;
            if (handlerFor(pgn))
                handOver(pgn, message.data);
            break;
        }
        case J1939Reassembler::NotTransport: {
            const uint pgn = singleFramePgn(frame);
            if (handlerFor(pgn))
                handOver(pgn, QByteArray(reinterpret_cast<const char *>(frame.Data), std::min<int>(frame.DataLen, 8)));
            break;
        }
        case J1939Reassembler::Consumed:
            break;
        }
    }
}

GBT27931Widget::Handler GBT27931Widget::handlerFor(uint pgn)
{
    // Read-only after its first use, so the poll thread may ask it too.
    static const QHash<uint, Handler> handlers = {
            {Gbt::CHM, &GBT27931Widget::showChm}, {Gbt::BHM, &GBT27931Widget::showBhm},
            {Gbt::CRM, &GBT27931Widget::showCrm}, {Gbt::BRM, &GBT27931Widget::showBrm},
            {Gbt::BCP, &GBT27931Widget::showBcp}, {Gbt::CTS, &GBT27931Widget::showCts},
            {Gbt::CML, &GBT27931Widget::showCml}, {Gbt::BRO, &GBT27931Widget::showBro},
            {Gbt::CRO, &GBT27931Widget::showCro}, {Gbt::BCL, &GBT27931Widget::showBcl},
            {Gbt::BCS, &GBT27931Widget::showBcs}, {Gbt::CCS, &GBT27931Widget::showCcs},
            {Gbt::BSM, &GBT27931Widget::showBsm}, {Gbt::BMV, &GBT27931Widget::showBmv},
            {Gbt::BMT, &GBT27931Widget::showBmt}, {Gbt::BST, &GBT27931Widget::showBst},
            {Gbt::CST, &GBT27931Widget::showCst}, {Gbt::BSD, &GBT27931Widget::showBsd},
            {Gbt::CSD, &GBT27931Widget::showCsd}, {Gbt::BEM, &GBT27931Widget::showBem},
            {Gbt::CEM, &GBT27931Widget::showCem},
    };
    return handlers.value(pgn, nullptr);
}

void GBT27931Widget::onProcessData(uint nPNG, QByteArray arr)
{
    if (const Handler handler = handlerFor(nPNG))
        (this->*handler)(arr);
}

void GBT27931Widget::showChm(const QByteArray &data)
{
    const std::optional<ChmRecord> chm = decodeChm(data);
    if (!chm)
        return;
    m_pChargeHandshake->setProtocolVersion(QString::asprintf("V%d.%d", chm->major, chm->minor));
    m_pChargeHandshake->setChargerHandshake();
}

void GBT27931Widget::showBhm(const QByteArray &data)
{
    if (isWholeBhm(data))
        m_pChargeHandshake->setBmsHandshake();
}

void GBT27931Widget::showCrm(const QByteArray &data)
{
    const std::optional<CrmRecord> crm = decodeCrm(data);
    if (!crm)
        return;
    m_pChargeHandshake->setBmsRecognize(crm->recognised ? 1 : 0);
    m_pChargeHandshake->setChargerNumber(crm->chargerNumber);
    m_pChargeHandshake->setAreaCode(crm->areaCode);
}

void GBT27931Widget::showBrm(const QByteArray &data)
{
    const std::optional<BrmRecord> brm = decodeBrm(data);
    if (!brm)
        return;
    ChargeHandshakeWidget *page = m_pChargeHandshake;
    using Field = ChargeHandshakeWidget::OptionalField;
    page->setBatteryType(brm->batteryType);
    page->setRatedCapacity(brm->ratedCapacity);
    page->setRatedVoltage(brm->ratedVoltage);
    page->setManufacturer(brm->manufacturer);
    if (brm->hasPackSerial)
        page->setBatterySN(QString::number(brm->packSerial));
    else
        page->clearField(Field::BatterySN);
    if (brm->hasProductionDate)
        page->setProductionDate(brm->productionYear, brm->productionMonth, brm->productionDay);
    else
        page->clearField(Field::ProductionDate);
    if (brm->hasChargeCount)
        page->setChargeCount(brm->chargeCount);
    else
        page->clearField(Field::ChargeCount);
    if (brm->hasPropertyRight)
        page->setPropertyRight(brm->ownedByCar);
    else
        page->clearField(Field::PropertyRight);
    page->setVIN(brm->vin);
    if (brm->hasBmsVersion)
        page->setBmsVersion(brm->versionSerial, brm->versionYear, brm->versionMonth, brm->versionDay);
    else
        page->clearField(Field::BmsVersion);
}

void GBT27931Widget::showBcp(const QByteArray &data)
{
    const std::optional<BcpRecord> bcp = decodeBcp(data);
    if (!bcp)
        return;
    m_pChargeParamConfig->setBatteryParameters(*bcp);
    form->m_pWidgetBatterySOC->setValue(bcp->stateOfCharge);
}

void GBT27931Widget::showCts(const QByteArray &data)
{
    if (const std::optional<CtsRecord> cts = decodeCts(data))
        m_pChargeParamConfig->setTimeSync(*cts);
}

void GBT27931Widget::showCml(const QByteArray &data)
{
    if (const std::optional<CmlRecord> cml = decodeCml(data))
        m_pChargeParamConfig->setChargerLimits(cml->maxVoltage, cml->minVoltage, cml->maxCurrent, cml->minCurrent);
}

void GBT27931Widget::showBro(const QByteArray &data)
{
    if (const std::optional<quint8> code = decodeReady(data))
        m_pChargeParamConfig->setBmsReady(*code);
}

void GBT27931Widget::showCro(const QByteArray &data)
{
    if (const std::optional<quint8> code = decodeReady(data))
        m_pChargeParamConfig->setChargerReady(*code);
}

void GBT27931Widget::showBcl(const QByteArray &data)
{
    const std::optional<BclRecord> bcl = decodeBcl(data);
    if (!bcl)
        return;
    m_pCharging->updateBCL(*bcl);
    setStatus(Status::Charging);
    form->m_pWidgetBatterySOC->setCharging(true);
}

void GBT27931Widget::showBcs(const QByteArray &data)
{
    const std::optional<BcsRecord> bcs = decodeBcs(data);
    if (!bcs)
        return;
    m_pCharging->updateBCS(*bcs);
    bcsSeen = true;
    remainingMinutes = bcs->remainingTime;
    showRemainingTime();
    // Values outside a dashboard's range leave its needle where it is.
    form->m_pWidgetTotalVoltage->setCurrentValue(bcs->measuredVoltage);
    form->m_pWidgetTotalCurrent->setCurrentValue(bcs->measuredCurrent);
    setStatus(Status::Charging);
    form->m_pWidgetBatterySOC->setValue(bcs->stateOfCharge);
}

void GBT27931Widget::showCcs(const QByteArray &data)
{
    if (const std::optional<CcsRecord> ccs = decodeCcs(data))
        m_pCharging->updateCCS(*ccs);
}

void GBT27931Widget::showBsm(const QByteArray &data)
{
    if (const std::optional<BsmRecord> bsm = decodeBsm(data))
        m_pMinorParameter->updateBSM(*bsm);
}

void GBT27931Widget::showBmv(const QByteArray &data)
{
    m_pMonomerVoltage->updateBMV(decodeBmv(data));
}

void GBT27931Widget::showBmt(const QByteArray &data)
{
    m_pMonomerTemperature->updateBMT(decodeBmt(data));
}

void GBT27931Widget::showBst(const QByteArray &data)
{
    if (const std::optional<StopStatusRecord> bst = decodeStopStatus(data))
        m_pCharging->updateBST(*bst);
}

void GBT27931Widget::showCst(const QByteArray &data)
{
    if (const std::optional<StopStatusRecord> cst = decodeStopStatus(data))
        m_pCharging->updateCST(*cst);
}

void GBT27931Widget::showBsd(const QByteArray &data)
{
    const std::optional<BsdRecord> bsd = decodeBsd(data);
    if (!bsd)
        return;
    m_pChargeEnd->updateBSD(*bsd);
    setStatus(Status::Ended);
    form->m_pWidgetBatterySOC->setCharging(false);
}

void GBT27931Widget::showCsd(const QByteArray &data)
{
    if (const std::optional<CsdRecord> csd = decodeCsd(data))
        m_pChargeEnd->updateCSD(*csd);
}

void GBT27931Widget::showBem(const QByteArray &data)
{
    const std::optional<TimeoutCodes> bem = decodeBem(data);
    if (!bem)
        return;
    setStatus(Status::Failed);
    form->m_pWidgetBatterySOC->setCharging(false);
    m_pChargeError->updateBEM(*bem);
}

void GBT27931Widget::showCem(const QByteArray &data)
{
    const std::optional<TimeoutCodes> cem = decodeCem(data);
    if (!cem)
        return;
    setStatus(Status::Failed);
    form->m_pWidgetBatterySOC->setCharging(false);
    m_pChargeError->updateCEM(*cem);
}
