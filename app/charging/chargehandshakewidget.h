// Tab "Charge handshake" of the charging window: handshake lamps of charger
// and BMS, the charger's protocol version, recognition, number and area
// code, and the battery and vehicle data the BMS reports. The window's
// dispatcher fills it through the setters; fields keep their last values.
// GUI thread only.
#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class ChargeHandshakeWidget;
}

class ChargeHandshakeWidget : public QWidget
{
    Q_OBJECT

public:
    // A handshake lamp turns grey at the next tick of this period.
    static constexpr int HandshakeTimeout = 2000; // ms

    // The parent is not used: the window's tab widget adopts the page.
    explicit ChargeHandshakeWidget(QWidget *parent = nullptr);
    ~ChargeHandshakeWidget() override;

    void setChargerHandshake();
    void setBmsHandshake();
    // Recognition lamp state: 1 green, 0 grey.
    void setBmsRecognize(int state);
    void setProtocolVersion(const QString &text);
    void setChargerNumber(quint32 number);
    void setAreaCode(const QString &text);
    void setBatteryType(quint8 code);
    void setRatedCapacity(double ampereHours);
    void setRatedVoltage(double volts);
    void setManufacturer(const QString &text);
    void setBatterySN(const QString &text);
    void setProductionDate(int year, int month, int day);
    void setChargeCount(quint32 count);
    void setPropertyRight(bool ownedByCar);
    void setVIN(const QString &text);
    void setBmsVersion(quint8 serial, quint16 year, quint8 month, quint8 day);
    // Both handshake lamps grey.
    void resetHandshake();

    // BRM fields the BMS may leave out that are not texts (an empty text
    // empties the others).
    enum class OptionalField { BatterySN, ProductionDate, ChargeCount, PropertyRight, BmsVersion };
    // Empties the field of a value the BMS did not provide.
    void clearField(OptionalField field);

    // Text of a battery-type code in the catalogue in force; empty for
    // codes outside the table.
    static QString batteryTypeText(quint8 code);

Q_SIGNALS:
    void UpdateHandshakeStatusDisabled();

public Q_SLOTS:
    void onUpdateHandshakeStatusDisabled();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildLayout();
    // Label widths by language, and fields as wide as the longest values
    // they can show in it.
    void applyLanguageWidths();
    void showDecodedTexts();
    static QString dateText(int year, int month, int day);
    static QString versionText(quint8 serial, quint16 year, quint8 month, quint8 day);
    static QString propertyText(bool ownedByCar);

    std::unique_ptr<Ui::ChargeHandshakeWidget> form;
    QTimer handshakeTimer;
    // The last values shown as texts, to show them again in a new language.
    std::optional<quint8> batteryType;
    std::optional<bool> propertyRight;
};
