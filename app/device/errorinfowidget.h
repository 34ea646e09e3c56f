// The "ErrorInfo" page of a channel window: a worker thread takes the
// channel's controller error records out of its frame buffer every 50 ms
// and hands them, stamped, to the GUI thread, which decodes each into an
// error type and a description and appends a row (the last MaxRows stay).
#pragma once

#include "vci.h"

#include <QMetaType>
#include <QTime>
#include <QVector>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace Ui {
class ErrorInfoWidget;
}

// An error record with the local time at which it was taken.
struct ErrorInfoRecord {
    VCI_ERR_INFO error{};
    QTime taken;
};
Q_DECLARE_METATYPE(ErrorInfoRecord)
Q_DECLARE_METATYPE(QVector<ErrorInfoRecord>)

class ErrorInfoWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 10000;
    static constexpr int PollInterval = 50;  // ms

    enum Column { NumberColumn, TimeColumn, TypeColumn, CountersColumn, DescriptionColumn, ColumnCount };

    ErrorInfoWidget(int channel, QWidget *parent = nullptr);
    // Stops the worker and waits for it (at most one pause of its loop).
    ~ErrorInfoWidget() override;

    int channel() const { return channelIndex; }

    // Texts of the catalogue in force (context "ErrorInfoWidget").
    static QString errorType(const VCI_ERR_INFO &error);
    static QString errorDescription(const VCI_ERR_INFO &error);

Q_SIGNALS:
    // From the worker thread: every record waiting at one poll, oldest first.
    void errorsTaken(QVector<ErrorInfoRecord> records);

public Q_SLOTS:
    // Appends one row stamped now. Counters: receive, transmit.
    void onShowError(QString strType, QString strDes, int RECounter, int TECounter);
    // Removes every row; numbering starts at 1 again.
    void onPushButtonClickedClear();

protected:
    void changeEvent(QEvent *event) override;

private Q_SLOTS:
    void onErrorsTaken(QVector<ErrorInfoRecord> records);

private:
    void retranslateUi();
    void appendRow(const QTime &time, const QString &type, const QString &description, int receiveCounter,
                   int transmitCounter);
    void trimRows();
    void decodeErrorInfo();

    std::unique_ptr<Ui::ErrorInfoWidget> form;
    int channelIndex;
    int nextNumber = 1;
    std::atomic<bool> running{true};
    std::mutex sleepMutex;
    std::condition_variable wake;
    std::thread worker;
};
