#include "dbcdatabase.h"

#include "dbc/ravolt_parse_dbc.h"
#include "dbcmessagekey.h"
#include "dbcsignaltext.h"

#include <QFile>
#include <QTextCodec>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

// DBC editors keep signals that no message carries in a pseudo-message of
// this name, written with this id or as 0x40000000; it is not on any bus.
constexpr uint32_t kIndependentSignalsId = 0xC0000000;
const char kIndependentSignalsName[] = "VECTOR__INDEPENDENT_SIG_MSG";

// Texts that are valid UTF-8 stay; others are taken as GBK.
void toUtf8(std::string &text)
{
    if (std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; }))
        return;
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(text.data(), int(text.size()), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return;
    static QTextCodec *const gbk = QTextCodec::codecForName("GBK");
    text = gbk->toUnicode(text.data(), int(text.size())).toStdString();
}

uint64_t lastByteIndex(const DBC::Signal &signal)
{
    const uint64_t start = signal.startBit;
    if (signal.byteOrder == DBC::Intel)
        return (start + signal.bitSize - 1) / 8;
    const uint64_t inFirstByte = start % 8 + 1;
    if (signal.bitSize <= inFirstByte)
        return start / 8;
    return start / 8 + (signal.bitSize - inFirstByte + 7) / 8;
}

bool fits(const DBC::Signal &signal, std::size_t bytes)
{
    return signal.bitSize >= 1 && signal.bitSize <= 64 && lastByteIndex(signal) < bytes;
}

// Signals the file only names in a comment or value-description line have no name.
bool declared(const DBC::Signal &signal)
{
    return !signal.name.empty();
}

bool exceedsSize(const DBC::Message &message)
{
    uint64_t plainBits = 0;
    QHash<uint32_t, uint64_t> groupBits;
    for (const auto &entry : message.signals) {
        const DBC::Signal &signal = entry.second;
        if (!declared(signal))
            continue;
        if (signal.multiplexor == DBC::Signal::Multiplexed)
            groupBits[signal.multiplexerSwitchValue] += signal.bitSize;
        else
            plainBits += signal.bitSize;
    }
    uint64_t largestGroup = 0;
    for (uint64_t bits : qAsConst(groupBits))
        largestGroup = std::max(largestGroup, bits);
    return plainBits + largestGroup > 8 * uint64_t(message.size);
}

} // namespace

QStringList DBCDatabase::longestNames(std::vector<const std::string *> &names)
{
    constexpr std::size_t kKept = 64;
    const auto longer = [](const std::string *a, const std::string *b) { return a->size() > b->size(); };
    const std::size_t count = std::min(kKept, names.size());
    std::partial_sort(names.begin(), names.begin() + std::ptrdiff_t(count), names.end(), longer);
    QStringList texts;
    for (std::size_t i = 0; i < count; ++i)
        texts << QString::fromStdString(*names[i]);
    return texts;
}

DBCDatabase::DBCDatabase() : net(std::make_unique<DBC::Network>()) {}

DBCDatabase::~DBCDatabase() = default;

bool DBCDatabase::load(const QString &path, const std::atomic<bool> *cancel, ParseStop *stop,
                       const CheckPoint &checkPoint)
{
    if (checkPoint)
        checkPoint();
    auto parsed = std::make_unique<DBC::Network>();
    std::size_t line = 0;
    std::size_t column = 0;
    const bool ok = Ravolt_parse_dbc_ex(QFile::encodeName(path).toStdString(), parsed.get(), cancel, &line, &column);
    if (stop) {
        stop->line = int(std::min<std::size_t>(line, std::numeric_limits<int>::max()));
        stop->column = int(std::min<std::size_t>(column, std::numeric_limits<int>::max()));
    }
    if (!ok)
        return false;
    net = std::move(parsed);
    if (build(cancel, checkPoint))
        return true;
    // Cancelled half-way: back to an empty file.
    net = std::make_unique<DBC::Network>();
    build(nullptr, {});
    return false;
}

bool DBCDatabase::build(const std::atomic<bool> *cancel, const CheckPoint &checkPoint)
{
    messageTable.clear();
    signalOrder.clear();
    switchSignal.clear();
    oversized.clear();
    refused.clear();
    j1939 = net->attributeDefaults.count("ProtocolType") > 0;

    for (auto &entry : net->messages) {
        if (checkPoint)
            checkPoint();
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        DBC::Message &message = entry.second;
        // Messages only named by a comment or value-description line have no name.
        if (message.name.empty()
            || message.id == kIndependentSignalsId || message.name == kIndependentSignalsName)
            continue;
        if (!DBCMessageKey::isCanId(message.id)) {
            refused << Refused{Refused::NotCanId, QString::fromStdString(message.name), message.id, {}, 0};
            continue;
        }
        toUtf8(message.comment);
        QVector<const DBC::Signal *> order;
        const DBC::Signal *multiplexer = nullptr;
        for (auto &signalEntry : message.signals) {
            DBC::Signal &signal = signalEntry.second;
            if (!declared(signal))
                continue;
            toUtf8(signal.comment);
            toUtf8(signal.unit);
            for (auto &description : signal.valueDescriptions)
                toUtf8(description.second);
            order << &signal;
            if (signal.multiplexor == DBC::Signal::MultiplexerSwitch && !multiplexer)
                multiplexer = &signal;
        }
        std::stable_sort(order.begin(), order.end(),
                         [](const DBC::Signal *a, const DBC::Signal *b) { return a->startBit < b->startBit; });

        // Ascending DBC IDs: of an unmarked ID above 0x7FF and the same ID
        // marked extended, the marked one comes last; it is the file's own
        // way to write an extended ID and takes the frames.
        const quint32 key = DBCMessageKey::ofMessage(message.id);
        const auto taken = messageTable.constFind(key);
        if (taken != messageTable.cend())
            refused << Refused{Refused::SameFrames, QString::fromStdString(taken->message->name), taken->message->id,
                               QString::fromStdString(message.name), message.id};
        messageTable.insert(key, DBCMessageEntry{true, &message});
        signalOrder.insert(key, order);
        if (multiplexer)
            switchSignal.insert(key, multiplexer);
        else
            switchSignal.remove(key);
    }

    std::vector<const std::string *> messageNames;
    std::vector<const std::string *> signalNames;
    for (auto it = messageTable.cbegin(); it != messageTable.cend(); ++it) {
        messageNames.push_back(&it->message->name);
        for (const DBC::Signal *signal : signalOrder.value(it.key()))
            signalNames.push_back(&signal->name);
        if (exceedsSize(*it->message))
            oversized << QString::fromStdString(it->message->name);
    }
    longMessageNames = longestNames(messageNames);
    longSignalNames = longestNames(signalNames);
    return true;
}

DBCSignalValue DBCDatabase::decodeSignal(const DBC::Signal &signal, const gsl::span<uint8_t> &data)
{
    DBCSignalValue value;
    if (!fits(signal, std::size_t(data.size())))
        return value;
    const std::pair<int64_t, int64_t> decoded = signal.decode_ex(data);
    value.shown = true;
    value.physical = DBCSignalText::number(signal.decodePhysicalValue(data));
    value.raw = QStringLiteral("0x") + QString::number(quint64(decoded.second), 16);
    // Description keys are the integer values as written, negative ones
    // stored as their 32-bit two's complement.
    if (decoded.first >= std::numeric_limits<int32_t>::min()
        && decoded.first <= int64_t(std::numeric_limits<uint32_t>::max())) {
        const auto found = signal.valueDescriptions.find(uint32_t(decoded.first));
        if (found != signal.valueDescriptions.end())
            value.description = QString::fromStdString(found->second);
    }
    return value;
}

QVector<DBCSignalValue> DBCDatabase::decode(quint32 key, const gsl::span<uint8_t> &data) const
{
    const QVector<const DBC::Signal *> order = signalOrder.value(key);
    QVector<DBCSignalValue> values(order.size());
    const std::size_t bytes = std::size_t(data.size());

    const DBC::Signal *multiplexer = switchSignal.value(key);
    const bool switchInFrame = multiplexer && fits(*multiplexer, bytes);
    const int64_t switchValue = switchInFrame ? multiplexer->decode_ex(data).first : 0;

    for (int i = 0; i < order.size(); ++i) {
        const DBC::Signal &signal = *order.at(i);
        if (multiplexer && signal.multiplexor == DBC::Signal::Multiplexed
            && (!switchInFrame || switchValue != int64_t(signal.multiplexerSwitchValue)))
            continue;
        values[i] = decodeSignal(signal, data);
    }
    return values;
}
