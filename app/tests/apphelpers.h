// Helpers shared by the program's tests: whole files read and written, and
// the main window set up and driven against the simulated device library.
#pragma once

#include "devcan.h"
#include "merovast.h"
#include "modaldialog.h"
#include "uidevpageusb.h"
#include "uimdichildcangen.h"
#include "uiopendevice.h"
#include "vcisim.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// No device open, the simulator as started, no stored settings, and the
// device configuration kept in programFolder.
inline void resetProgram(const QTemporaryDir &programFolder)
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"), QStringLiteral("INIT"))
            .clear();
    UiDevPageUsb::setConfigFolders(programFolder.path(), programFolder.filePath(QStringLiteral("program")));
}

inline void chooseEnglish(const Merovast &window)
{
    for (QAction *entry : window.findChild<QMenu *>(QStringLiteral("menuLanguage"))->actions()) {
        if (entry->data().toString().contains(QLatin1String("_en")))
            entry->trigger();
    }
}

// DRAVIN-1200 board 1, two channels, through the open-device dialog.
inline void openDravin1200(Merovast &window)
{
    onNextModal<UiOpenDevice>([](UiOpenDevice *dialog) {
        auto *model = dialog->findChild<QComboBox *>(QStringLiteral("m_ctrlCanDevSelect"));
        model->setCurrentIndex(model->findText(QStringLiteral("DRAVIN-1200")));
        auto *index = dialog->findChild<QComboBox *>(QStringLiteral("m_ctrlCanDevIndex"));
        index->setCurrentIndex(index->findData(1));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    window.findChild<QAction *>(QStringLiteral("openAct"))->trigger();
}

// The channel windows in the main window's order.
inline QList<UiMdiChildCanGen *> channelWindows(const Merovast &window)
{
    QList<UiMdiChildCanGen *> windows;
    for (QMdiSubWindow *sub : window.findChild<QMdiArea *>()->subWindowList())
        windows << qobject_cast<UiMdiChildCanGen *>(sub->widget());
    return windows;
}
