#include "merovast.h"

#include "dbcwidget.h"
#include "devcan.h"
#include "helplauncher.h"
#include "uiaboutdlg.h"
#include "uibusstatus.h"
#include "uibuffersetting.h"
#include "uideviceinfodlg.h"
#include "uifirmwareprogressdlg.h"
#include "uilanguage.h"
#include "uiidformatsetting.h"
#include "uimdiarea.h"
#include "uimdichildcangen.h"
#include "uimessage.h"
#include "uinamesetting.h"
#include "uiopendevice.h"
#include "uistatusbar.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulnamemapping.h"
#include "ulsystem.h"
#include "ui_merovast.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QToolBar>

namespace {

const QString kChineseCatalogue = QStringLiteral(":/translations/Merovast_zh.qm");
constexpr int kStartToolButtonWidth = 75;
constexpr int kChineseToolButtonWidth = 60;
constexpr int kOtherToolButtonWidth = 78;
constexpr int kChineseMinimumWidth = 1080;
constexpr int kOtherMinimumWidth = 1200;

// The first word of the bus-status window's title.
QString deviceFamily(uint32_t devType)
{
    switch (devType) {
    case VCI_DRAVIN_PCI1:
    case VCI_DRAVIN_PCI2:
    case VCI_DRAVIN_PCI4:
        return QStringLiteral("DRAVIN");
    case VCI_KELMO_USB1:
    case VCI_KELMO_USB2:
        return QStringLiteral("KELMO");
    case VCI_DRAVEX_PCIE2:
    case VCI_DRAVEX_PCIE1:
        return QStringLiteral("DRAVEX");
    default:
        return QString();
    }
}

} // namespace

Merovast::Merovast(QWidget *parent) : QMainWindow(parent), form(std::make_unique<Ui::MerovastClass>())
{
    form->setupUi(this);
    setMinimumSize(kChineseMinimumWidth, 600);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/Merovast.ico")));

    mdiArea = new UiMdiArea(this);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);

    createActions();
    createMenus();
    // The buttons have fixed widths; a smaller face lets the labels fit.
    QFont toolBarFont = form->mainToolBar->font();
    if (toolBarFont.pointSizeF() > 6) {
        toolBarFont.setPointSizeF(toolBarFont.pointSizeF() - 1);
        form->mainToolBar->setFont(toolBarFont);
    }
    setToolButtonWidth(kStartToolButtonWidth);

    statusBar = new UiStatusBar(this);
    setStatusBar(statusBar);

    updateActions();

    installQtCatalogue(true);
    translator.load(kChineseCatalogue);
    QCoreApplication::installTranslator(&translator);
}

Merovast::~Merovast()
{
    delete dbcReplayWindow;
    // The channel windows' threads go first: save threads read the name map.
    qDeleteAll(mdiArea->subWindowList());
    delete UlNameMapping::getSingleton();
}

QAction *Merovast::createAction(const char *name, const QString &icon)
{
    auto *action = icon.isEmpty() ? new QAction(this) : new QAction(QIcon(icon), QString(), this);
    action->setObjectName(QLatin1String(name));
    return action;
}

void Merovast::createActions()
{
    exitAct = createAction("exitAct", QStringLiteral(":/Resources/exit.png"));
    connect(exitAct, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    importAct = createAction("importAct", QStringLiteral(":/Resources/import.png"));
    connect(importAct, &QAction::triggered, this, &Merovast::fileCnfImport);
    exportAct = createAction("exportAct", QStringLiteral(":/Resources/export.png"));
    connect(exportAct, &QAction::triggered, this, &Merovast::fileCnfExport);
    busStatusAct = createAction("busStatusAct", QStringLiteral(":/Resources/bus_status.png"));
    connect(busStatusAct, &QAction::triggered, this, &Merovast::toolBusStatus);
    nameSettingAct = createAction("nameSettingAct", QStringLiteral(":/Resources/name.png"));
    connect(nameSettingAct, &QAction::triggered, this, &Merovast::toolNameSetting);
    updateFirmwareAct = createAction("updateFirmwareAct", QStringLiteral(":/Resources/update.png"));
    updateFirmwareAct->setVisible(false);
    connect(updateFirmwareAct, &QAction::triggered, this, &Merovast::toolUpdateFireware);

    toolbarsAct = createAction("toolbarsAct", QString());
    toolbarsAct->setCheckable(true);
    toolbarsAct->setChecked(true);
    connect(toolbarsAct, &QAction::triggered, this, &Merovast::viewToolbars);
    statusBarAct = createAction("statusBarAct", QString());
    statusBarAct->setCheckable(true);
    statusBarAct->setChecked(true);
    connect(statusBarAct, &QAction::triggered, this, &Merovast::viewStatusbar);

    tabbedAct = createAction("tabbedAct", QString());
    tabbedAct->setCheckable(true);
    tabbedAct->setChecked(true);
    connect(tabbedAct, &QAction::triggered, this, &Merovast::tabWindows);
    subWindowAct = createAction("subWindowAct", QString());
    subWindowAct->setCheckable(true);
    connect(subWindowAct, &QAction::triggered, this, &Merovast::subWindows);
    viewModeGroup = new QActionGroup(this);
    viewModeGroup->addAction(tabbedAct);
    viewModeGroup->addAction(subWindowAct);

    tileAct = createAction("tileAct", QString());
    tileAct->setCheckable(true);
    tileAct->setChecked(true);
    connect(tileAct, &QAction::triggered, mdiArea, &QMdiArea::tileSubWindows);
    cascadeAct = createAction("cascadeAct", QString());
    cascadeAct->setCheckable(true);
    connect(cascadeAct, &QAction::triggered, mdiArea, &QMdiArea::cascadeSubWindows);
    arrangeGroup = new QActionGroup(this);
    arrangeGroup->addAction(tileAct);
    arrangeGroup->addAction(cascadeAct);

    openAct = createAction("openAct", QStringLiteral(":/Resources/open.png"));
    connect(openAct, &QAction::triggered, this, &Merovast::openDevice);
    closeAct = createAction("closeAct", QStringLiteral(":/Resources/close.png"));
    connect(closeAct, &QAction::triggered, this, &Merovast::onCloseDevice);
    bufferAct = createAction("bufferAct", QStringLiteral(":/Resources/buffer.png"));
    connect(bufferAct, &QAction::triggered, this, &Merovast::devBufferSetting);
    bufferSettingAct = createAction("bufferSettingAct", QStringLiteral(":/Resources/buffer.png"));
    connect(bufferSettingAct, &QAction::triggered, this, &Merovast::devBufferSetting);
    idFormatAct = createAction("idFormatAct", QStringLiteral(":/Resources/id_format.png"));
    connect(idFormatAct, &QAction::triggered, this, &Merovast::devIdFormatSetting);
    idFormatSettingAct = createAction("idFormatSettingAct", QStringLiteral(":/Resources/id_format.png"));
    connect(idFormatSettingAct, &QAction::triggered, this, &Merovast::devIdFormatSetting);
    aboutAct = createAction("aboutAct", QStringLiteral(":/Resources/about.png"));
    connect(aboutAct, &QAction::triggered, this, &Merovast::aboutHelp);
    deviceInfoAct = createAction("deviceInfoAct", QStringLiteral(":/Resources/info.png"));
    connect(deviceInfoAct, &QAction::triggered, this, &Merovast::showInfo);
    helpAct = createAction("helpAct", QStringLiteral(":/Resources/help.png"));
    connect(helpAct, &QAction::triggered, this, &Merovast::showHelp);

    manualScrollAct = createAction("manualScrollAct", QStringLiteral(":/Resources/manualScroll.png"));
    manualScrollAct->setCheckable(true);
    connect(manualScrollAct, &QAction::triggered, this, &Merovast::manualScrollSignal);
    autoScrollAct = createAction("autoScrollAct", QStringLiteral(":/Resources/autoScroll.png"));
    autoScrollAct->setCheckable(true);
    autoScrollAct->setChecked(true);
    connect(autoScrollAct, &QAction::triggered, this, &Merovast::autoScrollSignal);
    scrollGroup = new QActionGroup(this);
    scrollGroup->addAction(manualScrollAct);
    scrollGroup->addAction(autoScrollAct);

    watchAct = createAction("watchAct", QStringLiteral(":/Resources/watch.png"));
    watchAct->setCheckable(true);
    connect(watchAct, &QAction::triggered, this, &Merovast::onWatch);
    dbcReplayAct = createAction("dbcReplayAct", QStringLiteral(":/Resources/DBC.png"));
    connect(dbcReplayAct, &QAction::triggered, this, &Merovast::onDBCReplay);

    retranslateUi();
    createLanguageMenu();
}

void Merovast::createLanguageMenu()
{
    languageGroup = new QActionGroup(this);
    const QDir folder(QStringLiteral(":/translations"), QStringLiteral("*.qm"), QDir::Name, QDir::Files);
    for (const QString &file : folder.entryList()) {
        const QString path = folder.filePath(file);
        QAction *action = new QAction(languageName(path), this);
        action->setData(path);
        action->setCheckable(true);
        action->setChecked(path == kChineseCatalogue);
        languageGroup->addAction(action);
        connect(action, &QAction::triggered, this, &Merovast::changeLanguage);
        languageActs.append(action);
    }
}

QString Merovast::languageName(const QString &catalogue)
{
    // Each catalogue names its own language; lupdate needs to see the text.
    static const char *const source = QT_TRANSLATE_NOOP("Merovast", "English");
    QTranslator probe;
    const QString name = probe.load(catalogue) ? probe.translate("Merovast", source) : QString();
    return name.isEmpty() ? QFileInfo(catalogue).completeBaseName() : name;
}

void Merovast::createMenus()
{
    form->menuFile->addAction(exitAct);

    form->menuOperation->addAction(openAct);
    form->menuOperation->addAction(closeAct);
    form->menuOperation->addSeparator();
    form->menuOperation->addAction(manualScrollAct);
    form->menuOperation->addAction(autoScrollAct);
    form->menuOperation->addSeparator();
    form->menuOperation->addAction(watchAct);
    form->menuOperation->addSeparator();
    form->menuOperation->addAction(bufferSettingAct);
    form->menuOperation->addAction(idFormatSettingAct);

    form->menuView->addAction(toolbarsAct);
    form->menuView->addAction(statusBarAct);

    form->menuTools->addAction(busStatusAct);
    form->menuTools->addAction(nameSettingAct);
    form->menuTools->addAction(updateFirmwareAct);

    form->menuWindow->addAction(tabbedAct);
    form->menuWindow->addAction(subWindowAct);
    form->menuWindow->addSeparator();
    form->menuWindow->addAction(tileAct);
    form->menuWindow->addAction(cascadeAct);

    form->menuLanguage->addActions(languageActs);

    form->menuHelp->addAction(helpAct);
    form->menuHelp->addAction(deviceInfoAct);
    form->menuHelp->addSeparator();
    form->menuHelp->addAction(aboutAct);

    form->mainToolBar->addAction(openAct);
    form->mainToolBar->addAction(closeAct);
    form->mainToolBar->addAction(bufferAct);
    form->mainToolBar->addAction(idFormatAct);
    form->mainToolBar->addAction(busStatusAct);
    form->mainToolBar->addAction(nameSettingAct);
    form->mainToolBar->addAction(manualScrollAct);
    form->mainToolBar->addAction(autoScrollAct);
    form->mainToolBar->addAction(watchAct);
    form->mainToolBar->addAction(dbcReplayAct);
}

void Merovast::updateActions()
{
    const bool open = DevCan::instance().isOpen();
    openAct->setEnabled(!open);
    for (QAction *action : {closeAct, tabbedAct, subWindowAct, tileAct, cascadeAct, deviceInfoAct})
        action->setEnabled(open);
    if (open)
        updateFirmwareAct->setVisible(false);
}

void Merovast::setToolButtonWidth(int width)
{
    QLayout *layout = form->mainToolBar->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (QWidget *widget = layout->itemAt(i)->widget()) {
            widget->setMinimumWidth(width);
            widget->setMaximumWidth(width);
        }
    }
}

void Merovast::changeLanguage()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    const QString catalogue = action->data().toString();
    const bool chinese = catalogue.contains(QLatin1String("zh"));
    // Set first: windows read the code while they retranslate.
    UiLanguage::setCode(chinese ? UiLanguage::Chinese : UiLanguage::Other);
    installQtCatalogue(chinese);
    translator.load(catalogue);
    QCoreApplication::installTranslator(&translator);
    setToolButtonWidth(chinese ? kChineseToolButtonWidth : kOtherToolButtonWidth);
    setMinimumWidth(chinese ? kChineseMinimumWidth : kOtherMinimumWidth);
}

// Qt's catalogue as the system keeps it (Debian: qttranslations5-l10n), or
// one beside the program; without one Qt's texts stay English.
void Merovast::installQtCatalogue(bool chinese)
{
    QCoreApplication::removeTranslator(&qtTranslator);
    if (!chinese)
        return;
    const QString name = QStringLiteral("qtbase_zh_CN");
    if (qtTranslator.load(name, QLibraryInfo::location(QLibraryInfo::TranslationsPath))
        || qtTranslator.load(name, UlSystem::programFolder() + QStringLiteral("/translations")))
        QCoreApplication::installTranslator(&qtTranslator);
}

void Merovast::retranslateUi()
{
    exitAct->setText(tr("Exit"));
    exitAct->setStatusTip(tr("Exit application"));
    importAct->setText(tr("Import"));
    importAct->setStatusTip(tr("Import Config"));
    exportAct->setText(tr("Export"));
    exportAct->setStatusTip(tr("Export Config"));
    busStatusAct->setText(tr("Bus Status"));
    busStatusAct->setStatusTip(tr("Bus Status"));
    nameSettingAct->setText(tr("Name Setting"));
    nameSettingAct->setStatusTip(tr("Name Setting"));
    updateFirmwareAct->setText(tr("Update Firmware"));
    updateFirmwareAct->setStatusTip(tr("Update Firmware"));
    toolbarsAct->setText(tr("Toolbars"));
    toolbarsAct->setStatusTip(tr("Show or hide the toolbars"));
    statusBarAct->setText(tr("Status Bar"));
    statusBarAct->setStatusTip(tr("Show or hide the status bar"));
    tabbedAct->setText(tr("Tabbed"));
    tabbedAct->setStatusTip(tr("Tabbed the windows"));
    subWindowAct->setText(tr("SubWindow"));
    subWindowAct->setStatusTip(tr("Sub the windows"));
    tileAct->setText(tr("&Tile"));
    tileAct->setStatusTip(tr("Tile the windows"));
    cascadeAct->setText(tr("&Cascade"));
    cascadeAct->setStatusTip(tr("Cascade the windows"));
    openAct->setText(tr("&Open"));
    openAct->setStatusTip(tr("Open the device"));
    closeAct->setText(tr("&Close"));
    closeAct->setStatusTip(tr("Close the device"));
    bufferAct->setText(tr("Buffer"));
    bufferAct->setStatusTip(tr("Data List Setting"));
    bufferSettingAct->setText(tr("Buffer Setting"));
    bufferSettingAct->setStatusTip(tr("Data List Setting"));
    idFormatAct->setText(tr("ID Format"));
    idFormatAct->setStatusTip(tr("ID Format"));
    idFormatSettingAct->setText(tr("ID Format Setting"));
    idFormatSettingAct->setStatusTip(tr("ID Format Setting"));
    aboutAct->setText(tr("&About"));
    aboutAct->setStatusTip(tr("About Merovast"));
    deviceInfoAct->setText(tr("Device Information"));
    deviceInfoAct->setStatusTip(tr("Device Information"));
    helpAct->setText(tr("&Help"));
    helpAct->setStatusTip(tr("How to use"));
    manualScrollAct->setText(tr("ManualScroll"));
    manualScrollAct->setStatusTip(tr("Manual Scroll"));
    manualScrollAct->setToolTip(tr("Manual Scroll"));
    autoScrollAct->setText(tr("AutoScroll"));
    autoScrollAct->setStatusTip(tr("Auto Scroll"));
    autoScrollAct->setToolTip(tr("Auto Scroll"));
    watchAct->setText(tr("Watch"));
    watchAct->setStatusTip(tr("Watch Data"));
    watchAct->setToolTip(tr("Watch Data"));
    dbcReplayAct->setText(tr("DBC replay"));
    dbcReplayAct->setStatusTip(tr("Read data from file"));
}

void Merovast::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        retranslateUi();
    }
    QMainWindow::changeEvent(event);
}

QString Merovast::closeRefusal(bool withReplay) const
{
    if (withReplay && dbcReplayOpen)
        return tr("Please close the DBC replay dialog box first");
    if (UiBusStatus::isShowing)
        return tr("Please close the bus state dialog box first");
    for (QMdiSubWindow *window : mdiArea->subWindowList()) {
        auto *child = qobject_cast<UiMdiChildCanGen *>(window->widget());
        if (child && child->isDbcOpen())
            return tr("Please close the DBC dialog box first");
        if (child && child->isGbtOpen())
            return tr("Please close the charging pile dialog box first");
    }
    const UlGlobalSet &settings = UlGlobalSet::instance();
    const int channels = qMin(int(DevCan::instance().getChannels()), UlGlobalSet::Channels);
    for (int channel = 0; channel < channels; ++channel) {
        if (settings.channel[channel].sending)
            return tr("Please stop sending data first");
    }
    return QString();
}

void Merovast::closeEvent(QCloseEvent *event)
{
    const QString refusal = closeRefusal(true);
    if (!refusal.isEmpty()) {
        UiMessage::information(this, tr("Hint"), refusal);
        event->ignore();
        return;
    }
    closeDeviceAndClear();
    helpLauncher.reset(); // stops a running viewer
    event->accept();
}

void Merovast::openDevice()
{
    UiOpenDevice dialog(this);
    const int result = dialog.exec();
    if (result == QDialog::Accepted) {
        createChildren();
        updateActions();
    } else if (result == UiOpenDevice::OpenFailed) {
        UiMessage::information(this, tr("Error"), tr("Open device failed."));
    }
}

// The device is open with every channel started: one tab per channel.
void Merovast::createChildren()
{
    const int channels = qMin(int(DevCan::instance().getChannels()), UlGlobalSet::Channels);
    for (int channel = 0; channel < channels; ++channel) {
        auto *child = new UiMdiChildCanGen(mdiArea, channel);
        QMdiSubWindow *window = mdiArea->addSubWindow(child);
        window->setWindowIcon(QIcon(QStringLiteral(":/Resources/null.ico")));
        child->show();
        connect(this, &Merovast::idFormatChanged, child, &UiMdiChildCanGen::idFormatChangedSignal);
        connect(this, &Merovast::manualScrollSignal, child, &UiMdiChildCanGen::manualScrollSignal);
        connect(this, &Merovast::autoScrollSignal, child, &UiMdiChildCanGen::autoScrollSignal);
    }
    mdiArea->setViewMode(QMdiArea::TabbedView);
    tabbedAct->setChecked(true);
    const QList<QMdiSubWindow *> windows = mdiArea->subWindowList();
    if (windows.isEmpty()) {
        UiMessage::information(this, tr("Error"), tr("Open device failed."));
        return;
    }
    mdiArea->setActiveSubWindow(windows.first());
    onSubWindowActivated(windows.first());
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &Merovast::onSubWindowActivated, Qt::UniqueConnection);
}

void Merovast::onCloseDevice()
{
    const QString refusal = closeRefusal(false);
    if (!refusal.isEmpty()) {
        UiMessage::information(this, tr("Hint"), refusal);
        return;
    }
    closeDeviceAndClear();
    updateActions();
}

void Merovast::closeDeviceAndClear()
{
    // The status bar stays on the last channel while the windows go.
    disconnect(mdiArea, &QMdiArea::subWindowActivated, this, &Merovast::onSubWindowActivated);
    DevCan &device = DevCan::instance();
    for (QMdiSubWindow *window : mdiArea->subWindowList()) {
        if (auto *child = qobject_cast<UiMdiChildCanGen *>(window->widget())) {
            child->onStop();
            child->onClear();
            device.clearBuffer(uint32_t(child->channel()));
        }
        mdiArea->removeSubWindow(window);
        delete window;
    }
    currentChild = nullptr;
    device.closeDevice();
}

void Merovast::devBufferSetting()
{
    UiBufferSetting dialog(this);
    if (dialog.exec() != 1 || !DevCan::instance().isOpen())
        return;
    const int cycle = UlBuffer::instance(0).getRefreshCycle();
    for (QMdiSubWindow *window : mdiArea->subWindowList()) {
        if (auto *child = qobject_cast<UiMdiChildCanGen *>(window->widget()))
            child->setRefreshCycle(cycle);
    }
}

void Merovast::devIdFormatSetting()
{
    UiIdFormatSetting dialog(this);
    if (dialog.exec() == 1)
        Q_EMIT idFormatChanged();
}

void Merovast::onSubWindowActivated(QMdiSubWindow *window)
{
    auto *child = window ? qobject_cast<UiMdiChildCanGen *>(window->widget()) : nullptr;
    if (!child || child == currentChild)
        return;
    if (currentChild) {
        disconnect(currentChild, &UiMdiChildCanGen::recvNumSignal, statusBar, &UiStatusBar::setRecvFrames);
        disconnect(currentChild, &UiMdiChildCanGen::sendNumSignal, statusBar, &UiStatusBar::setSendFrames);
        disconnect(currentChild, &UiMdiChildCanGen::usedTimeSignal, statusBar, &UiStatusBar::setSendTime);
        disconnect(currentChild, &UiMdiChildCanGen::clearSignal, statusBar, &UiStatusBar::clear);
        disconnect(statusBar, &UiStatusBar::clearSignal, currentChild, &UiMdiChildCanGen::clsNum);
    }
    connect(child, &UiMdiChildCanGen::recvNumSignal, statusBar, &UiStatusBar::setRecvFrames);
    connect(child, &UiMdiChildCanGen::sendNumSignal, statusBar, &UiStatusBar::setSendFrames);
    connect(child, &UiMdiChildCanGen::usedTimeSignal, statusBar, &UiStatusBar::setSendTime);
    connect(child, &UiMdiChildCanGen::clearSignal, statusBar, &UiStatusBar::clear);
    connect(statusBar, &UiStatusBar::clearSignal, child, &UiMdiChildCanGen::clsNum);
    currentChild = child;
    currentChannel = child->channel();
}

void Merovast::tabWindows()
{
    mdiArea->setViewMode(QMdiArea::TabbedView);
}

void Merovast::subWindows()
{
    mdiArea->setViewMode(QMdiArea::SubWindowView);
}

void Merovast::showInfo()
{
    UiDeviceInfoDlg dialog(this);
    dialog.exec();
}

void Merovast::showHelp()
{
    if (!helpLauncher)
        helpLauncher = std::make_unique<HelpLauncher>();
    helpLauncher->showDocumentation();
}

void Merovast::aboutHelp()
{
    UiAboutDlg dialog(this);
    dialog.exec();
}

void Merovast::viewToolbars()
{
    form->mainToolBar->setVisible(form->mainToolBar->isHidden());
    toolbarsAct->setChecked(!form->mainToolBar->isHidden());
}

void Merovast::viewStatusbar()
{
    statusBar->setVisible(statusBar->isHidden());
    statusBarAct->setChecked(!statusBar->isHidden());
}

void Merovast::fileCnfImport()
{
}

void Merovast::fileCnfExport()
{
}

void Merovast::toolBusStatus()
{
    if (UiBusStatus::isShowing)
        return;
    const DevCan &device = DevCan::instance();
    const QString title = QStringLiteral("%1 %2 %3")
                                  .arg(deviceFamily(device.getDevType()), tr("Device"),
                                       QString::number(device.getDevIndex()));
    // Top-level and modeless; it deletes itself when closed.
    auto *window = new UiBusStatus(int(device.getChannels()), title);
    window->setModal(false);
    window->show();
}

void Merovast::toolNameSetting()
{
    UiNameSetting dialog(this);
    dialog.exec();
}

// The command stays hidden; the dialog ends its threads before it returns.
void Merovast::toolUpdateFireware()
{
    UiFirmwareProgressDlg dialog(this);
    dialog.exec();
}

void Merovast::onWatch()
{
    for (QMdiSubWindow *window : mdiArea->subWindowList()) {
        if (auto *child = qobject_cast<UiMdiChildCanGen *>(window->widget()))
            child->onClear();
    }
    UlGlobalSet &settings = UlGlobalSet::instance();
    settings.onWatch();
    if (!settings.isWatch()) {
        for (int channel = 0; channel < UlBuffer::Channels; ++channel)
            UlBuffer::instance(channel).clearW();
    }
    watchAct->setChecked(settings.isWatch());
}

void Merovast::onDBCReplay()
{
    if (dbcReplayOpen)
        return;
    dbcReplayWindow = new DBCWidget(DBCWidget::ReplayMode, 0, &dbcReplayOpen);
    dbcReplayWindow->show();
}
