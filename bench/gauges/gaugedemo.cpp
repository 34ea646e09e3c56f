// The painted gauges side by side in several states: battery gauges (low,
// middle, full, charging), round dashboards set up as the charging window's
// voltage and current gauges and with their default look, horizontal and
// vertical scales, and switch buttons in every style, on and off.
//
//   gaugedemo [--screenshot FILE.png] [--chinese]
//
// --screenshot lets the animations run for 1.5 s, saves a picture of the
// window and exits; --chinese gives the captions and switch texts in
// Chinese.

#include "batterywidget.h"
#include "digitaldashboardwidget.h"
#include "qscale.h"
#include "switchbutton.h"
#include "uifont.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

BatteryWidget *battery(double value, bool charging, const QString &caption)
{
    auto *gauge = new BatteryWidget;
    gauge->setFixedSize(250, 80);
    gauge->setText(caption);
    gauge->setValue(value);
    gauge->setCharging(charging);
    return gauge;
}

// As the charging window sets up its two gauges.
DigitalDashboardWidget *chargingGauge(const QString &title, const QString &unit, double minimum, double maximum)
{
    auto *gauge = new DigitalDashboardWidget;
    gauge->setFixedSize(180, 180);
    gauge->setValueColor(QColor(255, 0, 0));
    gauge->setTitleColor(QColor(0, 128, 255));
    gauge->setPixmapPath(QStringLiteral(":/Resources/Voltage.png"));
    gauge->setAnimation(4, 40);
    gauge->setBandColors({QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)});
    gauge->setUnitFormat(unit);
    gauge->setTitle(title);
    gauge->setValues(maximum, 0, minimum, maximum);
    return gauge;
}

QScale *scale(double minimum, double maximum, double value, const QSize &size)
{
    auto *gauge = new QScale;
    gauge->setRange(minimum, maximum);
    gauge->setValue(value);
    gauge->setFixedSize(size);
    return gauge;
}

SwitchButton *switchButton(SwitchButton::ButtonStyle style, bool on, const QString &off, const QString &onText)
{
    auto *button = new SwitchButton;
    button->setFixedSize(100, 30);
    button->setButtonStyle(style);
    button->setText(off, onText);
    button->switchTo(on);
    return button;
}

// Two pictures of a toggle for the picture style.
void drawSwitchPictures(const QString &folder)
{
    for (bool on : {false, true}) {
        QImage image(60, 30, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(on ? QColor(0x2e, 0x9e, 0x57) : QColor(0x8a, 0x93, 0x9c));
        painter.drawRoundedRect(QRectF(1, 1, 58, 28), 14, 14);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRectF(on ? 33 : 3, 3, 24, 24));
        painter.end();
        image.save(folder + (on ? "/on.png" : "/off.png"));
    }
}

QLabel *heading(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return label;
}

} // namespace

int main(int argc, char *argv[])
{
    const char *screenshot = nullptr;
    bool chinese = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (!std::strcmp(argv[i], "--chinese")) {
            chinese = true;
        } else {
            std::fprintf(stderr, "usage: %s [--screenshot FILE.png] [--chinese]\n", argv[0]);
            return 2;
        }
    }
    QApplication app(argc, argv);
    UiFont::chooseApplicationFont(app);
    const auto text = [chinese](const char *english, const char *chineseText) {
        return QString::fromUtf8(chinese ? chineseText : english);
    };
    QTemporaryDir pictures;
    drawSwitchPictures(pictures.path());

    QWidget window;
    window.setWindowTitle(QStringLiteral("Gauges"));
    auto *grid = new QGridLayout(&window);
    grid->addWidget(heading(text("Battery gauge", "电池")), 0, 0, 1, 4);
    grid->addWidget(battery(12, false, QStringLiteral("SOC")), 1, 0);
    grid->addWidget(battery(49.6, false, text("Level", "电量")), 1, 1);
    grid->addWidget(battery(100, false, QStringLiteral("SOC")), 1, 2);
    grid->addWidget(battery(64, true, text("Charging", "充电")), 1, 3);

    grid->addWidget(heading(text("Round dashboard", "仪表盘")), 2, 0, 1, 4);
    DigitalDashboardWidget *voltage = chargingGauge(text("Voltage", "电压"), QStringLiteral("%1V"), 0, 800);
    DigitalDashboardWidget *current = chargingGauge(text("Current", "电流"), QStringLiteral("%1A"), -1000, 1000);
    voltage->setCurrentValue(412.78);
    current->setCurrentValue(-250);
    current->setTargetValue(-150); // moving during the screenshot's wait
    auto *plain = new DigitalDashboardWidget;
    plain->setFixedSize(180, 180);
    plain->setTitle(text("Speed", "速度"));
    plain->setUnitFormat(QStringLiteral("%1km/h"));
    plain->setCurrentValue(75.5);
    auto *large = new DigitalDashboardWidget;
    large->setFixedSize(260, 260);
    large->setValues(0, 0, 0, 1);
    large->setValueDecimals(2);
    large->setScaleDecimals(2);
    large->setAnimation(1, 40);
    large->setBandColor(QColor(255, 170, 0));
    large->setTargetValue(1);
    grid->addWidget(voltage, 3, 0, Qt::AlignCenter);
    grid->addWidget(current, 3, 1, Qt::AlignCenter);
    grid->addWidget(plain, 3, 2, Qt::AlignCenter);
    grid->addWidget(large, 3, 3, Qt::AlignCenter);

    grid->addWidget(heading(text("Scale", "刻度")), 4, 0, 1, 4);
    grid->addWidget(scale(0, 100, 40, QSize(300, 100)), 5, 0);
    QScale *given = scale(-50, 50, 12.5, QSize(300, 140));
    given->setMajorStepSize(25);
    grid->addWidget(given, 5, 1);
    grid->addWidget(scale(0, 1, 0.8, QSize(100, 300)), 5, 2, 3, 1);
    QScale *offset = scale(5, 95, 60, QSize(100, 300));
    offset->setMajorStepSize(10);
    offset->setMinorStepCount(5);
    grid->addWidget(offset, 5, 3, 3, 1);

    grid->addWidget(heading(text("Switch button", "开关")), 6, 0, 1, 2);
    auto *switches = new QGridLayout;
    const QString off = text("OFF", "关");
    const QString on = text("ON", "开");
    switches->addWidget(switchButton(SwitchButton::SwitchStylePill, false, off, on), 0, 0);
    switches->addWidget(switchButton(SwitchButton::SwitchStylePill, true, off, on), 0, 1);
    switches->addWidget(switchButton(SwitchButton::SwitchStyleRect, false, off, on), 1, 0);
    switches->addWidget(switchButton(SwitchButton::SwitchStyleRect, true, off, on), 1, 1);
    switches->addWidget(switchButton(SwitchButton::SwitchStyleOverhang, false, off, on), 2, 0);
    switches->addWidget(switchButton(SwitchButton::SwitchStyleOverhang, true, off, on), 2, 1);
    for (bool checked : {false, true}) {
        SwitchButton *picture = switchButton(SwitchButton::SwitchStyleImage, checked, off, on);
        picture->setImage(pictures.filePath("off.png"), pictures.filePath("on.png"));
        switches->addWidget(picture, 3, checked ? 1 : 0);
    }
    grid->addLayout(switches, 7, 0, 1, 2);

    window.show();
    if (!screenshot)
        return app.exec();
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const bool saved = window.grab().save(QString::fromLocal8Bit(screenshot));
    std::printf("%s %s\n", saved ? "saved" : "could not save", screenshot);
    return saved ? 0 : 1;
}
