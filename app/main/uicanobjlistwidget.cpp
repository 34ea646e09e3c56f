#include "uicanobjlistwidget.h"

#include "uccanobjdatadelegate.h"
#include "uicanobjlistmodel.h"
#include "uifindid.h"
#include "uigotolinedlg.h"
#include "uimessage.h"
#include "uinamesetting.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulnamemapping.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace {

// Least widths; a column is widened to fit its header and cells in the
// fonts and catalogue in force.
const int kColumnWidths[UiCanObjListModel::ColumnCount] = {100, 70, 120, 70, 100, 60, 60, 70, 250};
constexpr int kCellPadding = 10;
constexpr int kHeaderPadding = 20;

} // namespace

UiCanObjListWidget::UiCanObjListWidget(QWidget *parent, int channel)
    : QTableView(parent),
      channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0),
      frameModel(new UiCanObjListModel(channelIndex, this)),
      contextMenu(new QMenu(this)),
      findAct(new QAction(this)),
      sendAct(new QAction(this)),
      listAct(new QAction(this)),
      nameAct(new QAction(this))
{
    BaseSendParam::registerMetaType();
    setModel(frameModel);
    setItemDelegate(new UcCanObjDataDelegate(this));

    resize(550, 500);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);

    setContextMenuPolicy(Qt::CustomContextMenu);
    contextMenu->addAction(findAct);
    contextMenu->addAction(sendAct);
    contextMenu->addAction(listAct);
    contextMenu->addAction(nameAct);
    retranslate();

    connect(&refreshTimer, &QTimer::timeout, this, &UiCanObjListWidget::updateList);
    connect(this, &UiCanObjListWidget::idFormatChangedSignal, this, &UiCanObjListWidget::onIdFormatChanged);
    connect(this, &UiCanObjListWidget::digitalTypeChangedSignal, this, &UiCanObjListWidget::onDigitalTypeChanged);
    connect(this, &QWidget::customContextMenuRequested, this,
            &UiCanObjListWidget::on_tableWidget_customContextMenuRequested);
    connect(findAct, &QAction::triggered, this, &UiCanObjListWidget::on_FindId);
    connect(sendAct, &QAction::triggered, this, &UiCanObjListWidget::on_MovetoSend);
    connect(listAct, &QAction::triggered, this, &UiCanObjListWidget::on_MovetoList);
    connect(nameAct, &QAction::triggered, this, &UiCanObjListWidget::on_IdNameseting);
    refreshTimer.start(DefaultRefreshCycle);
}

UiCanObjListWidget::~UiCanObjListWidget() = default;

void UiCanObjListWidget::retranslate()
{
    findAct->setText(tr("Find ID"));
    sendAct->setText(tr("Add to Send"));
    listAct->setText(tr("Add to List"));
    nameAct->setText(tr("NameSetting"));
    frameModel->retranslate();
    fitColumns();
}

void UiCanObjListWidget::fitColumns()
{
    const QFontMetrics cells(font());
    const QFontMetrics headers(horizontalHeader()->font());
    for (int column = 0; column < UiCanObjListModel::ColumnCount; ++column) {
        int width = kColumnWidths[column];
        const QString header = frameModel->headerData(column, Qt::Horizontal).toString();
        width = qMax(width, headers.horizontalAdvance(header) + kHeaderPadding);
        for (const QString &text : frameModel->widestTexts(column))
            width = qMax(width, cells.horizontalAdvance(text) + kCellPadding);
        setColumnWidth(column, width);
    }
}

void UiCanObjListWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    else if (event->type() == QEvent::FontChange)
        fitColumns();
    QTableView::changeEvent(event);
}

void UiCanObjListWidget::keyPressEvent(QKeyEvent *event)
{
    const int n = frameModel->rowCount();
    if (n > 0 && event->modifiers() == Qt::NoModifier
        && (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)) {
        scrollToLine(event->key() == Qt::Key_Home ? 0 : n - 1);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

int UiCanObjListWidget::visibleRowCount() const
{
    return qMax(1, viewport()->height() / RowHeight);
}

void UiCanObjListWidget::updateList()
{
    const bool countChanged = frameModel->syncRowCount();
    const int n = frameModel->rowCount();
    if (n == 0)
        return;
    if (countChanged && autoScroll)
        scrollToBottom();
    const int first = qMax(0, rowAt(0));
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = n - 1;
    frameModel->refreshRows(first, last);
}

void UiCanObjListWidget::resetContents()
{
    UlBuffer::instance(channelIndex).reset();
}

void UiCanObjListWidget::clearContents()
{
    UlBuffer &buffer = UlBuffer::instance(channelIndex);
    buffer.clear();
    buffer.clearW();
    frameModel->clear();
}

void UiCanObjListWidget::hideSendFrame()
{
    UlBuffer::instance(channelIndex).setHideSendFrame(true);
}

void UiCanObjListWidget::showSendFrame()
{
    UlBuffer::instance(channelIndex).setHideSendFrame(false);
}

void UiCanObjListWidget::setRefreshCycle(int nRefreshCycle)
{
    refreshTimer.start(nRefreshCycle);
}

void UiCanObjListWidget::onIdFormatChanged()
{
    frameModel->retranslate();
}

void UiCanObjListWidget::onDigitalTypeChanged()
{
    updateList();
}

void UiCanObjListWidget::onManualScroll()
{
    autoScroll = false;
}

void UiCanObjListWidget::onAutoScroll()
{
    autoScroll = true;
}

void UiCanObjListWidget::scrollToLine(int line)
{
    if (line < 0 || line >= frameModel->rowCount())
        return;
    const QModelIndex target = frameModel->index(line, 0);
    clearSelection();
    selectRow(line);
    scrollTo(target, QAbstractItemView::PositionAtBottom);
}

void UiCanObjListWidget::onGoto()
{
    UiGotoLineDlg dialog(this);
    dialog.setLineCount(frameModel->rowCount());
    const int line = dialog.exec();
    if (line != -1)
        scrollToLine(line);
}

std::optional<CanObjStr> UiCanObjListWidget::actionFrame() const
{
    if (contextFrame)
        return contextFrame;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const CanObjStr frame = frameModel->frame(current.row());
    if (frame.index.isEmpty() || frame.index == QLatin1String("-1"))
        return std::nullopt;
    return frame;
}

void UiCanObjListWidget::on_tableWidget_customContextMenuRequested(const QPoint &pos)
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return;
    if (!selectionModel()->isRowSelected(index.row(), QModelIndex())) {
        clearSelection();
        selectRow(index.row());
    }
    const CanObjStr frame = frameModel->frame(index.row());
    if (frame.index.isEmpty() || frame.index == QLatin1String("-1"))
        return;
    contextFrame = frame;
    contextMenu->exec(viewport()->mapToGlobal(pos));
    contextFrame.reset();
}

BaseSendParam UiCanObjListWidget::buildSendParam(const CanObjStr &frame) const
{
    BaseSendParam param;
    const bool standard = frame.frameFormat == QLatin1String("Standard");
    const bool remote = frame.frameType == QLatin1String("Remote");
    const bool received = frame.direction != QLatin1String("Tx");
    const quint32 id = UiCanObjListModel::frameId(frame);
    param.format = standard ? 0 : 1;
    param.type = remote ? 1 : 0;
    param.id = UiCanObjListModel::displayedId(id, standard, UlGlobalSet::instance().IDFORMAT);
    // A received remote frame carries no data, whatever its length says.
    const bool noData = remote && received;
    param.length = noData ? 0 : quint8(frame.dataLen.toUInt());
    // Always hexadecimal pairs, as the send pages read them.
    param.data = noData ? QString() : frame.data;
    param.alias = UlNameMapping::getSingleton()->find(id);
    return param;
}

void UiCanObjListWidget::on_MovetoSend()
{
    if (const auto frame = actionFrame())
        Q_EMIT AddMoveSend(buildSendParam(*frame));
}

void UiCanObjListWidget::on_MovetoList()
{
    if (const auto frame = actionFrame())
        Q_EMIT AddMoveList(buildSendParam(*frame));
}

void UiCanObjListWidget::on_IdNameseting()
{
    const auto frame = actionFrame();
    if (!frame)
        return;
    const quint32 id = UiCanObjListModel::frameId(*frame);
    UiNameSetting dialog(this);
    dialog.addName(id, UlNameMapping::getSingleton()->find(id));
    if (dialog.exec() == QDialog::Accepted)
        frameModel->retranslate();
}

void UiCanObjListWidget::on_FindId()
{
    UiFindID dialog(parentWidget() ? parentWidget() : this);
    connect(&dialog, &UiFindID::FINDIDSEARCH, this, &UiCanObjListWidget::onFINDID);
    connect(this, &UiCanObjListWidget::onFINDCOUNT, &dialog, &UiFindID::onSHOWCOUNT);
    dialog.exec();
}

QList<int> UiCanObjListWidget::findAllMatches(quint32 id) const
{
    QList<int> matches;
    const UlBuffer &buffer = UlBuffer::instance(channelIndex);
    const bool watch = frameModel->watchMode();
    const int n = frameModel->rowCount();
    for (int i = 0; i < n; ++i) {
        bool ok = false;
        const quint32 frameId =
                UiCanObjListModel::frameId(watch ? buffer.getWatchFrame(i).str : buffer.getFrame(i), &ok);
        if (ok && frameId == id)
            matches << i;
    }
    return matches;
}

void UiCanObjListWidget::showHit(int row, int hitNo, int total)
{
    scrollToLine(row);
    QPalette highlight = palette();
    highlight.setColor(QPalette::Highlight, QColor(0, 120, 215));
    highlight.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(highlight);
    Q_EMIT onFINDCOUNT(hitNo, total);
}

void UiCanObjListWidget::onFINDID(bool up, QString id)
{
    bool ok = false;
    const quint32 wanted = id.trimmed().toUInt(&ok, 16);
    const QList<int> matches = ok ? findAllMatches(wanted) : QList<int>();
    if (matches.isEmpty()) {
        UiMessage::information(this, tr("Hit"), tr("No matching ID was found."));
        return;
    }
    const QModelIndex current = currentIndex();
    int hit;
    if (up) {
        const int start = current.isValid() ? current.row() : frameModel->rowCount();
        auto next = std::lower_bound(matches.cbegin(), matches.cend(), start);
        hit = next == matches.cbegin() ? int(matches.size()) - 1 : int(next - matches.cbegin()) - 1;
    } else {
        const int start = current.isValid() ? current.row() : -1;
        auto next = std::upper_bound(matches.cbegin(), matches.cend(), start);
        hit = next == matches.cend() ? 0 : int(next - matches.cbegin());
    }
    showHit(matches.at(hit), hit + 1, matches.size());
}
