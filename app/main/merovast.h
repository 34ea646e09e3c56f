// The program's main window: menus, tool bar, status bar, the
// multiple-document area with one window per channel, the language switch
// and the help launcher.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTranslator>

#include <memory>

class DBCWidget;
class HelpLauncher;
class QActionGroup;
class QMdiSubWindow;
class UiMdiArea;
class UiMdiChildCanGen;
class UiStatusBar;
namespace Ui {
class MerovastClass;
}

class Merovast : public QMainWindow
{
    Q_OBJECT

public:
    explicit Merovast(QWidget *parent = nullptr);
    ~Merovast() override;

Q_SIGNALS:
    void idFormatChanged();
    void manualScrollSignal();
    void autoScrollSignal();

private Q_SLOTS:
    void openDevice();
    void onCloseDevice();
    void devBufferSetting();
    void devIdFormatSetting();
    void onSubWindowActivated(QMdiSubWindow *window);
    void changeLanguage();
    void tabWindows();
    void subWindows();
    void showInfo();
    void showHelp();
    void aboutHelp();
    void viewToolbars();
    void viewStatusbar();
    void fileCnfImport();
    void fileCnfExport();
    void toolBusStatus();
    void toolNameSetting();
    void toolUpdateFireware();
    void onWatch();
    void onDBCReplay();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QAction *createAction(const char *name, const QString &icon);
    void createActions();
    void createLanguageMenu();
    static QString languageName(const QString &catalogue);
    void createMenus();
    void createChildren();
    // Stops and removes every channel window, then closes the device.
    void closeDeviceAndClear();
    // Why the device or (withReplay) the program may not close now, or empty.
    QString closeRefusal(bool withReplay) const;
    void updateActions();
    void setToolButtonWidth(int width);
    void retranslateUi();
    void installQtCatalogue(bool chinese);

    std::unique_ptr<Ui::MerovastClass> form;
    UiMdiArea *mdiArea;
    QPointer<UiMdiChildCanGen> currentChild; // a channel window goes with its sub-window
    std::unique_ptr<HelpLauncher> helpLauncher;
    UiStatusBar *statusBar;
    QActionGroup *viewModeGroup;
    QActionGroup *arrangeGroup;
    QActionGroup *languageGroup;
    QActionGroup *scrollGroup;

    QAction *exitAct;
    QAction *importAct;
    QAction *exportAct;
    QAction *busStatusAct;
    QAction *nameSettingAct;
    QAction *updateFirmwareAct;
    QAction *toolbarsAct;
    QAction *statusBarAct;
    QAction *tabbedAct;
    QAction *subWindowAct;
    QAction *tileAct;
    QAction *cascadeAct;
    QAction *openAct;
    QAction *closeAct;
    QAction *bufferAct;        // tool bar only
    QAction *bufferSettingAct; // menu
    QAction *idFormatAct;      // tool bar only
    QAction *idFormatSettingAct;
    QAction *aboutAct;
    QAction *deviceInfoAct;
    QAction *helpAct;
    QAction *manualScrollAct;
    QAction *autoScrollAct;
    QAction *watchAct;
    QAction *dbcReplayAct;
    QList<QAction *> languageActs; // one per catalogue, sorted by file name

    int currentChannel = 0;
    QTranslator translator; // installed by the window, removed when it goes
    // Qt's own texts (file dialogs, standard buttons), in force with the
    // Chinese catalogue.
    QTranslator qtTranslator;
    bool dbcReplayOpen = false;
    // Holds dbcReplayOpen's address, so it must not outlive the window.
    QPointer<DBCWidget> dbcReplayWindow;
};
