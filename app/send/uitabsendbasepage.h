// The "Base" send page: one frame (type, format, send mode, ID, data) and
// how to repeat it (frames per burst, pause between bursts, frames in all,
// ID and data byte counting up). Send turns the fields into one send task
// for the container, which runs it on the channel's send-task thread; the
// page itself sends nothing. "Add to Send" from the frame list fills it.
#pragma once

#include "uitabsendpage.h"

#include <memory>

class taskObj;

namespace Ui {
class UiTabSendBasePage;
}

class UiTabSendBasePage : public UiTabSendPage
{
    Q_OBJECT

public:
    UiTabSendBasePage(QWidget *parent, int channel);
    ~UiTabSendBasePage() override;

    // Fills task from the fields; false (with maxIdErrorSignal) when the ID
    // is out of range. With the left-aligned ID format the ID field is
    // masked to a controller code and written back.
    bool buildFrames(taskObj &task);

public Q_SLOTS:
    void startSendNowData();
    void stopSendNowData();
    void curFormatChanged(int index);
    // The ID field keeps its real ID under the ID format now in force.
    void onIdFormatChanged();
    void onMovetoSend(BaseSendParam param);
    void onActive() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::UiTabSendBasePage> form;
};
