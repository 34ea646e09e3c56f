// The error view: every error code decoded, records taken from the
// channel's error list all at once and shown with their counters, the row
// limit, and Clear.
#include "errorinfowidget.h"
#include "guitest.h"
#include "ulbuffer.h"

#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

constexpr int kChannel = 3;
constexpr int kWaitMs = 10000;

VCI_ERR_INFO makeError(quint32 code, quint8 first = 0, quint8 receive = 0, quint8 transmit = 0, quint8 arbitration = 0)
{
    VCI_ERR_INFO e{};
    e.ErrorCode = code;
    e.PassiveErrorData[0] = first;
    e.PassiveErrorData[1] = receive;
    e.PassiveErrorData[2] = transmit;
    e.ArbitrationLostData = arbitration;
    return e;
}

QString busError(const char *type, const char *direction, const char *position)
{
    return QStringLiteral("error type:%1;   Error direction:%2;   Error position:%3")
            .arg(QLatin1String(type), QLatin1String(direction), QLatin1String(position));
}

} // namespace

class tst_ErrorInfoWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void decode_data();
    void decode();
    void rowsFromInjectedRecords();
    void drainsEveryWaitingRecordAtOnePoll();
    void keepsLastRows();
    void clearRestartsNumbering();

private:
    static QTableWidget *table(ErrorInfoWidget &w)
    {
        return w.findChild<QTableWidget *>(QStringLiteral("m_tableWidgetInfo"));
    }
};

void tst_ErrorInfoWidget::init()
{
    VCI_ERR_INFO e;
    while (UlBuffer::instance(kChannel).getErrorData(e)) {
    }
}

void tst_ErrorInfoWidget::decode_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("arbitration");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("description");

    const QString passive = QStringLiteral("CAN Controller negative error");
    QTest::newRow("E1") << 0xE1u << 0 << 0 << "CAN Controller internal FIFO overflow" << QString();
    QTest::newRow("E2") << 0xE2u << 0 << 0 << "CAN Controller error warning" << QString();
    QTest::newRow("E5") << 0xE5u << 0 << 0 << "CAN Controller bus error" << QString();
    QTest::newRow("unknown code") << 0xE6u << 0x83 << 5 << "Unknown error" << QString();
    QTest::newRow("E3 stuff, send, start of frame") << 0xE3u << 0x83 << 0 << passive
                                                    << busError("Stuff error", "Send", "start of frame");
    QTest::newRow("E3 bit, receive, ID.28") << 0xE3u << 0x22 << 0 << passive
                                            << busError("Bit error", "Recv", "ID.28 to ID.21");
    QTest::newRow("E3 form, overload") << 0xE3u << 0x5C << 0 << passive
                                       << busError("Formal error", "Send", "overload flag");
    QTest::newRow("E3 other, position 16") << 0xE3u << 0xF0 << 0 << passive
                                           << busError("Other type of error", "Recv", "Unknown error");
    QTest::newRow("E3 position 31") << 0xE3u << 0x1F << 0 << passive << busError("Bit error", "Send", "Unknown error");
    QTest::newRow("E4 bit 0") << 0xE4u << 0 << 0 << "CAN Controller arbitration missing"
                              << "Arbitration is lost in the identifier's bit1";
    QTest::newRow("E4 bit 10") << 0xE4u << 0 << 10 << "CAN Controller arbitration missing"
                               << "Arbitration is lost in the identifier's bit11";
    QTest::newRow("E4 SRTR") << 0xE4u << 0 << 11 << "CAN Controller arbitration missing"
                             << "Arbitration is lost in the SRTR bit";
    QTest::newRow("E4 IDE") << 0xE4u << 0 << 12 << "CAN Controller arbitration missing"
                            << "Arbitration is lost in the IDE bit";
    QTest::newRow("E4 bit 13") << 0xE4u << 0 << 13 << "CAN Controller arbitration missing"
                               << "Arbitration is lost in the identifier's bit12";
    QTest::newRow("E4 RTR, upper bits ignored") << 0xE4u << 0 << 0xFF << "CAN Controller arbitration missing"
                                                << "Arbitration is lost in the RTR bit";
    const char *numbers[] = {"No error",   "Bit stuffing error", "Formal error", "ACK error",
                             "The recessive dislocation", "Dominant dislocation", "CRC error"};
    for (int n = 0; n < 7; ++n)
        QTest::addRow("E8 number %d", n) << 0xE8u << n << 0 << passive << QString::fromLatin1(numbers[n]);
    QTest::newRow("E8 number 9") << 0xE8u << 9 << 0 << passive << "Unknown error";
}

void tst_ErrorInfoWidget::decode()
{
    QFETCH(quint32, code);
    QFETCH(int, first);
    QFETCH(int, arbitration);
    QFETCH(QString, type);
    QFETCH(QString, description);
    const VCI_ERR_INFO error = makeError(code, quint8(first), 0, 0, quint8(arbitration));
    QCOMPARE(ErrorInfoWidget::errorType(error), type);
    QCOMPARE(ErrorInfoWidget::errorDescription(error), description);
}

void tst_ErrorInfoWidget::rowsFromInjectedRecords()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    ErrorInfoWidget widget(kChannel);
    QTableWidget *rows = table(widget);
    QCOMPARE(rows->columnCount(), 5);
    QCOMPARE(rows->horizontalHeaderItem(3)->text(), QStringLiteral("TEC/REC"));
    const QTime before = QTime::currentTime();
    buffer.addErrorData(makeError(0xE3, 0x83, 5, 7));
    buffer.addErrorData(makeError(0xE6));
    QTRY_COMPARE_WITH_TIMEOUT(rows->rowCount(), 2, kWaitMs);
    QCOMPARE(rows->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(rows->item(0, 2)->text(), QStringLiteral("CAN Controller negative error"));
    QCOMPARE(rows->item(0, 3)->text(), QStringLiteral("7/5"));
    QCOMPARE(rows->item(0, 4)->text(), busError("Stuff error", "Send", "start of frame"));
    QCOMPARE(rows->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(rows->item(1, 2)->text(), QStringLiteral("Unknown error"));
    QCOMPARE(rows->item(1, 4)->text(), QString());
    const QTime shown = QTime::fromString(rows->item(0, 1)->text(), QStringLiteral("hh:mm:ss.zzz"));
    QVERIFY(shown.isValid());
    QVERIFY(qAbs(before.msecsTo(shown)) < kWaitMs);
    // Other channels' errors stay where they are.
    UlBuffer::instance(0).addErrorData(makeError(0xE1));
    QTest::qWait(3 * ErrorInfoWidget::PollInterval);
    QCOMPARE(rows->rowCount(), 2);
    QCOMPARE(UlBuffer::instance(0).countError(), 1);
    VCI_ERR_INFO e;
    UlBuffer::instance(0).getErrorData(e);
}

// One record per poll would take 25 s for these; all of them arrive at once.
void tst_ErrorInfoWidget::drainsEveryWaitingRecordAtOnePoll()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    for (int i = 0; i < 500; ++i)
        buffer.addErrorData(makeError(0xE5, 0, quint8(i), 0));
    ErrorInfoWidget widget(kChannel);
    QTRY_COMPARE_WITH_TIMEOUT(table(widget)->rowCount(), 500, 5000);
    QCOMPARE(buffer.countError(), 0);
    QCOMPARE(table(widget)->item(499, 3)->text(), QStringLiteral("0/243"));  // 499 & 0xFF
}

void tst_ErrorInfoWidget::keepsLastRows()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    ErrorInfoWidget widget(kChannel);
    for (int i = 0; i < 6; ++i)
        widget.onShowError(QStringLiteral("t"), QString(), 0, 0);
    for (int i = 0; i < ErrorInfoWidget::MaxRows + 5; ++i)
        buffer.addErrorData(makeError(0xE2));
    QTRY_COMPARE_WITH_TIMEOUT(table(widget)->item(0, 0)->text(), QStringLiteral("12"), kWaitMs);
    QCOMPARE(table(widget)->rowCount(), ErrorInfoWidget::MaxRows);
    QCOMPARE(table(widget)->item(ErrorInfoWidget::MaxRows - 1, 0)->text(), QStringLiteral("10011"));
}

void tst_ErrorInfoWidget::clearRestartsNumbering()
{
    ErrorInfoWidget widget(kChannel);
    auto *clear = widget.findChild<QPushButton *>(QStringLiteral("m_pushButtonClear"));
    clear->click();
    QCOMPARE(table(widget)->rowCount(), 0);
    widget.onShowError(QStringLiteral("a"), QString(), 1, 2);
    widget.onShowError(QStringLiteral("b"), QString(), 1, 2);
    clear->click();
    QCOMPARE(table(widget)->rowCount(), 0);
    widget.onShowError(QStringLiteral("c"), QStringLiteral("d"), 3, 4);
    QCOMPARE(table(widget)->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(table(widget)->item(0, 3)->text(), QStringLiteral("4/3"));
}

MEROVAST_GUI_TEST_MAIN(tst_ErrorInfoWidget)
#include "tst_errorinfowidget.moc"
