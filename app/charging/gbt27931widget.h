// The GB/T 27930 charging window of one channel: a top-level window without
// parent that deletes itself when closed. While it exists the channel's
// GB/T 27930 queue is on and its opener's open flag is true.
//
// A poll thread drains the queue, reassembles multi-packet messages and
// hands the complete messages (PGN and data bytes) to the GUI thread,
// where onProcessData dispatches each to its decoder and page. The
// hand-over keeps the newest message per PGN and posts one delivery per
// batch, so a busy GUI thread costs a bounded amount of memory and sees
// the newest values when it returns. The window only listens: it sends
// nothing and answers no transport request.
#pragma once

#include "j1939reassembler.h"

#include <QByteArray>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace Ui {
class GBT27931Widget;
}

class ChargeEndWidget;
class ChargeErrorWidget;
class ChargeHandshakeWidget;
class ChargeParamConfigWidget;
class ChargingWidget;
class MinorParameterWidget;
class MonomerTemperatureWidget;
class MonomerVoltageWidget;

class GBT27931Widget : public QWidget
{
    Q_OBJECT

public:
    // The poll thread's pause when the queue is empty.
    static constexpr int PollInterval = 100; // ms

    GBT27931Widget(int channel, bool *openFlag);
    // Switches the queue off, clears the open flag, stops the poll thread
    // and empties the queue.
    ~GBT27931Widget() override;

    int channel() const { return m_channel; }

Q_SIGNALS:
    // One complete message, dispatched on the GUI thread. The poll thread
    // hands its messages over through the coalescing queue instead.
    void ProcessData(uint nPNG, QByteArray arr);

public Q_SLOTS:
    // The dispatcher: decodes a message and shows it; PGNs without a
    // decoder and messages too short for theirs change nothing.
    void onProcessData(uint nPNG, QByteArray arr);

protected:
    void changeEvent(QEvent *event) override;

private:
    // What the status line says, kept to say it again in a new language.
    enum class Status { None, Charging, Ended, Failed };

    void buildLayout();
    void retranslateUi();
    // Widths that hold the texts of the language in force; the window's
    // minimum size is what its layout needs then.
    void applyLanguageSizes();
    static QString statusText(Status status);
    void setStatus(Status status);
    void showRemainingTime();
    void pollFrames();
    // Poll thread: queues a message for the GUI thread, replacing an older
    // one of its PGN, and posts a delivery unless one is on its way.
    void handOver(uint pgn, QByteArray data);
    // GUI thread: dispatches the queued messages in order of arrival.
    void deliverPending();

    // Message handlers of the dispatcher, one per PGN; handlerFor holds
    // the table (null for a PGN without one).
    using Handler = void (GBT27931Widget::*)(const QByteArray &);
    static Handler handlerFor(uint pgn);
    void showChm(const QByteArray &data);
    void showBhm(const QByteArray &data);
    void showCrm(const QByteArray &data);
    void showBrm(const QByteArray &data);
    void showBcp(const QByteArray &data);
    void showCts(const QByteArray &data);
    void showCml(const QByteArray &data);
    void showBro(const QByteArray &data);
    void showCro(const QByteArray &data);
    void showBcl(const QByteArray &data);
    void showBcs(const QByteArray &data);
    void showCcs(const QByteArray &data);
    void showBsm(const QByteArray &data);
    void showBmv(const QByteArray &data);
    void showBmt(const QByteArray &data);
    void showBst(const QByteArray &data);
    void showCst(const QByteArray &data);
    void showBsd(const QByteArray &data);
    void showCsd(const QByteArray &data);
    void showBem(const QByteArray &data);
    void showCem(const QByteArray &data);

    std::unique_ptr<Ui::GBT27931Widget> form;
    int m_channel;
    bool *m_pOpenFlag;
    Status status = Status::None;
    bool bcsSeen = false; // the clock keeps the form's text until the first BCS
    std::optional<quint16> remainingMinutes; // from the last BCS; none when it was not valid

    // Pages, owned by the tab widget.
    MinorParameterWidget *m_pMinorParameter = nullptr;
    MonomerVoltageWidget *m_pMonomerVoltage = nullptr;
    MonomerTemperatureWidget *m_pMonomerTemperature = nullptr;
    ChargeErrorWidget *m_pChargeError = nullptr;
    ChargeHandshakeWidget *m_pChargeHandshake = nullptr;
    ChargeParamConfigWidget *m_pChargeParamConfig = nullptr;
    ChargingWidget *m_pCharging = nullptr;
    ChargeEndWidget *m_pChargeEnd = nullptr;

    // Poll thread: the reassembler is its own; m_running is written by the
    // GUI thread under m_sleepMutex so that a pause ends at once.
    J1939Reassembler m_reassembler;
    std::atomic<bool> m_running{false};
    std::mutex m_sleepMutex;
    std::condition_variable m_wake;
    std::thread m_thread;

    // Messages handed over and not yet dispatched: at most one per PGN.
    std::mutex m_pendingMutex;
    std::vector<std::pair<uint, QByteArray>> m_pending;
    bool m_deliveryPosted = false;
};
