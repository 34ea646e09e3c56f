// The "Monomer temperature" page of the charging window: the test-point
// temperatures of BMT as a table of number, sampling point and degrees
// Celsius. The first BMT with values sets the row count; later ones change
// only the temperatures of the rows they reach. GUI thread only.
#pragma once

#include <QVector>
#include <QWidget>

#include <memory>

namespace Ui {
class MonomerTemperatureWidget;
}

class MonomerTemperatureWidget : public QWidget
{
    Q_OBJECT

public:
    enum Column { NumberColumn, PointColumn, TemperatureColumn };

    explicit MonomerTemperatureWidget(QWidget *parent = nullptr);
    ~MonomerTemperatureWidget() override;

    void updateBMT(const QVector<qint16> &temperatures);

protected:
    void changeEvent(QEvent *event) override;

private:
    // The temperature header's unit in a form its face can draw, and every
    // section as wide as its text.
    void showHeader();

    std::unique_ptr<Ui::MonomerTemperatureWidget> form;
};
