#include "errorinfowidget.h"

#include "ui_errorinfowidget.h"
#include "ulbuffer.h"

#include <QEvent>
#include <QHeaderView>

#include <iterator>

namespace {

const int kColumnWidths[ErrorInfoWidget::ColumnCount] = {80, 100, 220, 120, 200};
constexpr int kRowHeight = 20;

QString fromCatalogue(const char *text)
{
    return QCoreApplication::translate("ErrorInfoWidget", text);
}

// Error code capture (SJA1000 layout): bits 7-6 type, bit 5 direction,
// bits 4-0 position in the frame.
QString busErrorDescription(quint8 capture)
{
    static const char *const types[] = {
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Bit error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Formal error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Stuff error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Other type of error"),
    };
    struct Position {
        const char *text;  // null: unknown position
        bool translated;   // identifier and bit names are register names, never translated
    };
    static const Position positions[32] = {
            {nullptr, false},
            {nullptr, false},
            {"ID.28 to ID.21", false},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "start of frame"), true},
            {"bit SRTR", false},
            {"bit IDE", false},
            {"ID.20 to ID.18", false},
            {"ID.17 to ID.13", false},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "CRC sequence"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "reserved bit 0"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "data field"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "data length code"), true},
            {"bit RTR", false},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "reserved bit 1"), true},
            {"ID.4 to ID.0", false},
            {"ID.12 to ID.5", false},
            {nullptr, false},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "active error flag"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "intermission"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "tolerate dominant bits"), true},
            {nullptr, false},
            {nullptr, false},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "passive error flag"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "error delimiter"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "CRC delimiter"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "acknowledge slot"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "end of frame"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "acknowledge delimiter"), true},
            {QT_TRANSLATE_NOOP("ErrorInfoWidget", "overload flag"), true},
            {nullptr, false},
            {nullptr, false},
            {nullptr, false},
    };
    const Position &position = positions[capture & 31];
    QString positionText;
    if (!position.text)
        positionText = fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Unknown error"));
    else
        positionText = position.translated ? fromCatalogue(position.text) : QString::fromLatin1(position.text);
    const QString direction = capture & 0x20 ? fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Recv"))
                                             : fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Send"));
    const QString separator = QStringLiteral(";   ");
    return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "error type:")) + fromCatalogue(types[capture >> 6])
           + separator + fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Error direction:")) + direction + separator
           + fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Error position:")) + positionText;
}

// Arbitration lost capture (SJA1000 layout): bits 4-0 the bit position.
QString arbitrationDescription(quint8 capture)
{
    const int bit = capture & 31;
    const QString identifierBit =
            fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Arbitration is lost in the identifier's bit"));
    if (bit <= 10)
        return identifierBit + QString::number(bit + 1);
    if (bit == 11)
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Arbitration is lost in the SRTR bit"));
    if (bit == 12)
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Arbitration is lost in the IDE bit"));
    if (bit <= 30)
        return identifierBit + QString::number(bit - 1);
    return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Arbitration is lost in the RTR bit"));
}

QString errorNumberDescription(quint8 number)
{
    static const char *const texts[] = {
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "No error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Bit stuffing error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Formal error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "ACK error"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "The recessive dislocation"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "Dominant dislocation"),
            QT_TRANSLATE_NOOP("ErrorInfoWidget", "CRC error"),
    };
    return number < std::size(texts) ? fromCatalogue(texts[number])
                                     : fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Unknown error"));
}

} // namespace

ErrorInfoWidget::ErrorInfoWidget(int channel, QWidget *parent)
    : QWidget(parent),
      form(std::make_unique<Ui::ErrorInfoWidget>()),
      channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0)
{
    qRegisterMetaType<ErrorInfoRecord>("ErrorInfoRecord");
    qRegisterMetaType<QVector<ErrorInfoRecord>>("QVector<ErrorInfoRecord>");
    form->setupUi(this);
    connect(form->m_pushButtonClear, &QPushButton::clicked, this, &ErrorInfoWidget::onPushButtonClickedClear);

    QTableWidget *table = form->m_tableWidgetInfo;
    table->setColumnCount(ColumnCount);
    for (int column = 0; column < ColumnCount; ++column)
        table->setColumnWidth(column, kColumnWidths[column]);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    retranslateUi();

    // Queued: the signal comes from the worker.
    connect(this, &ErrorInfoWidget::errorsTaken, this, &ErrorInfoWidget::onErrorsTaken, Qt::QueuedConnection);
    worker = std::thread([this] { decodeErrorInfo(); });
}

ErrorInfoWidget::~ErrorInfoWidget()
{
    {
        const std::lock_guard<std::mutex> lock(sleepMutex);
        running = false;
    }
    wake.notify_all();
    if (worker.joinable())
        worker.join();
}

void ErrorInfoWidget::decodeErrorInfo()
{
    UlBuffer &buffer = UlBuffer::instance(channelIndex);
    std::unique_lock<std::mutex> lock(sleepMutex);
    while (running) {
        wake.wait_for(lock, std::chrono::milliseconds(PollInterval), [this] { return !running; });
        if (!running)
            break;
        lock.unlock();
        QVector<ErrorInfoRecord> records;
        ErrorInfoRecord record;
        while (buffer.getErrorData(record.error)) {
            record.taken = QTime::currentTime();
            records.append(record);
        }
        if (!records.isEmpty())
            Q_EMIT errorsTaken(records);
        lock.lock();
    }
}

QString ErrorInfoWidget::errorType(const VCI_ERR_INFO &error)
{
    switch (error.ErrorCode) {
    case 0xE1:
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "CAN Controller internal FIFO overflow"));
    case 0xE2:
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "CAN Controller error warning"));
    case 0xE3:
    case 0xE8:
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "CAN Controller negative error"));
    case 0xE4:
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "CAN Controller arbitration missing"));
    case 0xE5:
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "CAN Controller bus error"));
    default:
        return fromCatalogue(QT_TRANSLATE_NOOP("ErrorInfoWidget", "Unknown error"));
    }
}

QString ErrorInfoWidget::errorDescription(const VCI_ERR_INFO &error)
{
    switch (error.ErrorCode) {
    case 0xE3:
        return busErrorDescription(error.PassiveErrorData[0]);
    case 0xE4:
        return arbitrationDescription(error.ArbitrationLostData);
    case 0xE8:
        return errorNumberDescription(error.PassiveErrorData[0]);
    default:
        return QString();
    }
}

void ErrorInfoWidget::onErrorsTaken(QVector<ErrorInfoRecord> records)
{
    // Rows that would be trimmed at once are only counted.
    const int skipped = qMax(0, records.size() - MaxRows);
    nextNumber += skipped;
    for (int i = skipped; i < records.size(); ++i) {
        const VCI_ERR_INFO &error = records.at(i).error;
        appendRow(records.at(i).taken, errorType(error), errorDescription(error), error.PassiveErrorData[1],
                  error.PassiveErrorData[2]);
    }
    trimRows();
}

void ErrorInfoWidget::onShowError(QString strType, QString strDes, int RECounter, int TECounter)
{
    appendRow(QTime::currentTime(), strType, strDes, RECounter, TECounter);
    trimRows();
}

void ErrorInfoWidget::appendRow(const QTime &time, const QString &type, const QString &description,
                                int receiveCounter, int transmitCounter)
{
    QTableWidget *table = form->m_tableWidgetInfo;
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, NumberColumn, new QTableWidgetItem(QString::number(nextNumber++)));
    table->setItem(row, TimeColumn, new QTableWidgetItem(time.toString(QStringLiteral("hh:mm:ss.zzz"))));
    table->setItem(row, TypeColumn, new QTableWidgetItem(type));
    table->setItem(row, CountersColumn,
                   new QTableWidgetItem(QStringLiteral("%1/%2").arg(transmitCounter).arg(receiveCounter)));
    table->setItem(row, DescriptionColumn, new QTableWidgetItem(description));
    table->setRowHeight(row, kRowHeight);
}

void ErrorInfoWidget::trimRows()
{
    QTableWidget *table = form->m_tableWidgetInfo;
    const int excess = table->rowCount() - MaxRows;
    if (excess > 0)
        table->model()->removeRows(0, excess);
}

void ErrorInfoWidget::onPushButtonClickedClear()
{
    QTableWidget *table = form->m_tableWidgetInfo;
    table->model()->removeRows(0, table->rowCount());
    nextNumber = 1;
}

void ErrorInfoWidget::retranslateUi()
{
    form->retranslateUi(this);
    // The counters cell shows the transmit count first.
    form->m_tableWidgetInfo->setHorizontalHeaderLabels(
            {tr("NO"), tr("Time"), tr("Error Type"), tr("TEC/REC"), tr("Description")});
}

void ErrorInfoWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}
