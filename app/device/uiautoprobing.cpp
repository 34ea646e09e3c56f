#include "uiautoprobing.h"

#include "doubleslider.h"
#include "uimessage.h"
#include "ui_uiautoprobing.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableWidgetItem>

namespace {

constexpr int kMinInterval = 50;
constexpr int kMaxInterval = 1000;
constexpr int kBtrColumnWidth = 70;

QString rateLabel(float v)
{
    return QStringLiteral("%1 k").arg(double(v), 2, 'f', 2);
}

} // namespace

UiAutoProbing::UiAutoProbing(int channel, QWidget *parent)
    : QDialog(parent), form(std::make_unique<Ui::UiAutoProbing>()), channel(channel), probe(this)
{
    form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(535, 330);
    slider = form->m_pSlider;
    slider->setFixedSize(300, 50);
    slider->setFocusPolicy(Qt::StrongFocus);

    // Connected first: setting the range and values already fills the labels.
    connect(slider, &DoubleSlider::minValueChanged, this, &UiAutoProbing::onMinValueChanged);
    connect(slider, &DoubleSlider::maxValueChanged, this, &UiAutoProbing::onMaxValueChanged);
    slider->setStep(1.0f);
    slider->setRange(5.0f, 1000.0f);
    slider->setMinValue(5.0f);
    slider->setMaxValue(1000.0f);

    QTableWidget *table = form->tableWidget;
    table->setColumnCount(5);
    layout()->activate();
    table->horizontalHeader()->setDefaultSectionSize(table->width() / 5);
    table->setColumnWidth(1, kBtrColumnWidth);
    table->setColumnWidth(2, kBtrColumnWidth);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFrameShape(QFrame::Box);
    table->setFrameShadow(QFrame::Sunken);
    retranslateUi();

    connect(form->m_btnOperation, &QPushButton::clicked, this, &UiAutoProbing::onOperation);
    connect(form->m_btnOk, &QPushButton::clicked, this, &UiAutoProbing::accept);
    connect(table, &QTableWidget::currentItemChanged, this, &UiAutoProbing::ChangedCurremItem);
    connect(table, &QTableWidget::itemSelectionChanged, this, &UiAutoProbing::updateOk);
    connect(&probe, &CAutoProbingThread::ShowRateInfo, this, &UiAutoProbing::slotShowRateInfo);
    connect(&probe, &CAutoProbingThread::EndTest, this, &UiAutoProbing::onEndTest);
    connect(&probe, &CAutoProbingThread::ShowError, this, &UiAutoProbing::slotShowError);
    connect(&probe, &QThread::finished, this, &UiAutoProbing::onProbeFinished);
}

UiAutoProbing::~UiAutoProbing()
{
    probe.stop();
    probe.wait();
}

void UiAutoProbing::done(int result)
{
    probe.stop();
    probe.wait();
    QDialog::done(result);
}

void UiAutoProbing::onOperation()
{
    if (running) {
        running = false;
        slider->setEnabled(true);
        probe.stop();
        form->m_btnOperation->setText(tr("Start"));
        form->m_btnOperation->setEnabled(false); // until the thread has ended
        return;
    }
    bool ok = false;
    int interval = form->m_lineEditTimeOut->text().toInt(&ok);
    if (!ok)
        interval = 0;
    if (interval < kMinInterval || interval > kMaxInterval) {
        UiMessage::information(this, tr("Tip"), tr("The Range of Sampling Interval is 50 - 1000"));
        return;
    }
    running = true;
    errorShown = false;
    form->m_btnOperation->setText(tr("Stop"));
    form->tableWidget->clearContents();
    form->tableWidget->setRowCount(0);
    btr0.clear();
    btr1.clear();
    probe.setChannel(uint32_t(channel));
    probe.setWaitTime(interval);
    slider->setEnabled(false);
    form->m_btnOk->setEnabled(false);
    probe.setStartRate(slider->minValue());
    probe.setEndRate(slider->maxValue());
    probe.startProbing();
}

void UiAutoProbing::slotShowRateInfo(RateDate rd)
{
    QTableWidget *table = form->tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    const QString cells[] = {rd.rate, rd.btr0, rd.btr1, rd.samplePoint, rd.remark};
    for (int column = 0; column < 5; ++column) {
        auto *item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(Qt::AlignCenter);
        table->setItem(row, column, item);
    }
}

void UiAutoProbing::onEndTest()
{
    running = false;
    slider->setEnabled(true);
    form->m_btnOperation->setText(tr("Start"));
    form->m_btnOperation->setEnabled(false); // the thread's finished() follows
    updateOk();
}

void UiAutoProbing::onProbeFinished()
{
    form->m_btnOperation->setEnabled(true);
}

void UiAutoProbing::slotShowError(int errCode, QString strErr)
{
    if (errorShown)
        return;
    errorShown = true;
    UiMessage::information(this, strErr, tr("error code = %1").arg(errCode), QMessageBox::Yes);
}

void UiAutoProbing::ChangedCurremItem(QTableWidgetItem *current, QTableWidgetItem *)
{
    QTableWidget *table = form->tableWidget;
    const QTableWidgetItem *first = current ? table->item(current->row(), 1) : nullptr;
    const QTableWidgetItem *second = current ? table->item(current->row(), 2) : nullptr;
    if (first && second) {
        btr0 = first->text().mid(2);
        btr1 = second->text().mid(2);
    } else {
        btr0.clear();
        btr1.clear();
    }
    updateOk();
}

// Ok hands back the current row: only a selected row of a finished run.
void UiAutoProbing::updateOk()
{
    const QTableWidget *table = form->tableWidget;
    const bool selected = table->currentRow() >= 0 && table->selectionModel()->isRowSelected(table->currentRow(), {});
    form->m_btnOk->setEnabled(!running && !btr0.isEmpty() && selected);
}

void UiAutoProbing::accept()
{
    QDialog::accept();
}

void UiAutoProbing::onMinValueChanged(float v)
{
    form->m_pLabelminVal->setText(rateLabel(v));
}

void UiAutoProbing::onMaxValueChanged(float v)
{
    form->m_pLabelmaxVal->setText(rateLabel(v));
}

void UiAutoProbing::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        retranslateUi();
    }
    QDialog::changeEvent(event);
}

void UiAutoProbing::retranslateUi()
{
    form->tableWidget->setHorizontalHeaderLabels(
            {tr("BitRate(kbps)"), tr("BTR0"), tr("BTR1"), tr("Sample point"), tr("Remark")});
    form->m_btnOperation->setText(running ? tr("Stop") : tr("Start"));
}
