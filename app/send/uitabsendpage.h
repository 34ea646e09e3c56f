// Base of the send pages of a channel window (Base, Task, File). The send
// tab container drives whichever page is current through onActive and
// keeps every page's Send and Stop buttons in step with what the channel
// is sending through setSendState. GUI thread only.
#pragma once

#include "basesendparam.h"
#include "taskqueue.h"

#include <QAbstractButton>
#include <QFrame>
#include <QPointer>

class QLineEdit;

class UiTabSendPage : public QFrame
{
    Q_OBJECT

public:
    UiTabSendPage(QWidget *parent, int channel);

    int channel() const { return channelIndex; }
    QAbstractButton *sendButton() const { return sendBtn; }
    QAbstractButton *stopButton() const { return stopBtn; }

    // Enables the Send and Stop buttons as given; while the channel sends,
    // the controls that must not change during a run are disabled too.
    void setSendState(bool sendOn, bool stopOn, bool channelSending);

    // As high as the form needs, but narrow: the form scrolls sideways.
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    // The page's tab became current, or the channel was started or stopped
    // while it is current. The base does nothing.
    virtual void onActive();
    // Idle (Send on, Stop off) or sending (Send off, Stop on).
    virtual void onAnswerTaskRunning(bool running);

Q_SIGNALS:
    // Emitted with the page's tab index when it becomes current on a
    // started channel.
    void askTaskRunning(int page);

    // What the container connects on every page; a page emits those it has
    // and connects the inputs below to its slots, without declaring any of
    // them again.
    // Send: run these tasks on the channel's send-task thread.
    void start(taskQueue tObjQ);
    // Stop: end whatever the channel is sending.
    void stop();
    // An identifier was out of range; nothing was sent.
    void maxIdErrorSignal();

    // Inputs the container forwards to the page that takes them.
    void idFormatChangedSignal();
    void AddMoveSend(BaseSendParam param);
    void AddMoveList(BaseSendParam param);

protected:
    // Moves the form set up on the page into a body that scrolls where the
    // page is narrower than the form (a small sub-window), instead of
    // squeezing its controls onto each other; where the page is wide
    // enough nothing changes. Called by the page's constructor right after
    // the form's setup. A form without a layout keeps its widgets' places
    // and must give the body its least size itself, then call
    // updateGeometry().
    void scrollForm();
    // The body that holds the form, or null before scrollForm.
    QWidget *formBody() const { return body; }
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The page's own buttons and the controls fixed while the channel
    // sends (the Task page's strategy); called by the page's constructor.
    void setSendControls(QAbstractButton *send, QAbstractButton *stop, QList<QWidget *> fixedWhileSending = {});
    // onActive of a page: on a stopped channel Send and Stop go off, and on
    // the network devices sendMode goes off for good; on a started channel
    // askTaskRunning(page).
    void activate(int page, QWidget *sendMode = nullptr);

    // The ID field of the Base and File pages: hexadecimal digits only.
    static void restrictToHex(QLineEdit *idEdit);
    // The ID the field holds. With the left-aligned ID format the field is
    // a controller code: its low bits are cleared and it is written back
    // (the send threads convert it to the real ID). Otherwise false when
    // the ID is out of range. Text that is not hexadecimal reads as 0.
    static bool takeId(QLineEdit *idEdit, bool extended, uint32_t &id);
    // Standard: 4 digits, the last 4 kept; extended: 8 digits, zero-padded.
    static void switchIdFormat(QLineEdit *idEdit, bool extended);
    // The ID format in force when it differs from the one the page's IDs
    // are written in (which it then becomes), else -1: the notification
    // also comes when the format stayed the same.
    int idFormatChange();
    // The ID field rewritten for idFormat, standing for the same real ID.
    // An ID out of range has no such form and is left as it is.
    static void convertIdField(QLineEdit *idEdit, bool extended, int idFormat);

private:
    const int channelIndex;
    int shownIdFormat;
    QPointer<QAbstractButton> sendBtn;
    QPointer<QAbstractButton> stopBtn;
    QList<QPointer<QWidget>> fixedControls;
    QWidget *body = nullptr;  // the scrolled form, owned by the page
};
