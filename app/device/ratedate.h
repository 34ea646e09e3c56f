// One found bit timing as the probing dialog shows it: rate ("%.03f"
// kbit/s), BTR0 and BTR1 ("0x%02X"), sample point ("87.50%") and remark.
#pragma once

#include <QMetaType>
#include <QString>

struct RateDate {
    QString rate;
    QString btr0;
    QString btr1;
    QString samplePoint;
    QString remark;
};

Q_DECLARE_METATYPE(RateDate)
