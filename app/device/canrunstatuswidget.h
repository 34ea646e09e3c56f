// One channel's panel in the bus-status window: bus load, frame rate and
// whether the channel runs; the controller's status-register lamps; the bus
// lamps; the receive and transmit error counters.
#pragma once

#include "busstatus.h"
#include "controlstatus.h"

#include <QWidget>

#include <memory>

namespace Ui {
class CANRunStatusWidget;
}

class CANRunStatusWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CANRunStatusWidget(QWidget *parent = nullptr);
    ~CANRunStatusWidget() override;

    // load in percent (values outside 0..100 leave the bar as it was),
    // frameRate in frames per second.
    void setRunStatus(int load, int frameRate, bool started);
    void setErrorCount(int sendCount, int recCount);
    void setBusStatus(const BusStatus &status);
    void setControlStatus(const ControlStatus &status);

    Ui::CANRunStatusWidget *widgets() const { return form.get(); }

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::CANRunStatusWidget> form;
};
