#include "uitabsendpage.h"

#include "devcan.h"
#include "taskrow.h"
#include "ulglobalset.h"
#include "vci.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

UiTabSendPage::UiTabSendPage(QWidget *parent, int channel)
    : QFrame(parent), channelIndex(channel), shownIdFormat(UlGlobalSet::instance().IDFORMAT)
{
    BaseSendParam::registerMetaType();
}

void UiTabSendPage::scrollForm()
{
    // The body sits in the page before the form moves in: a combo box
    // keeps the least size it first works out, in the font it has then.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("formScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    body = new QWidget;
    body->setObjectName(QStringLiteral("formBody"));
    // Never narrower than the form prefers, where every control has the
    // room its texts need: a combo box does not renew its least size when
    // a language change renames its items.
    body->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    scroll->setWidget(body);
    if (QLayout *form = layout()) {
        // Setting a widget's layout on another moves it there with the
        // widgets it manages.
        body->setLayout(form);
    } else {
        for (QWidget *widget : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (widget != scroll)
                widget->setParent(body);
        }
    }
    // The body's layout requests its new least size here first.
    body->installEventFilter(this);
    auto *pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(scroll);
}

QSize UiTabSendPage::minimumSizeHint() const
{
    // A page's height is small beside its width; the channel window keeps
    // room for it, so the form never scrolls up and down for want of it.
    const QSize least = QFrame::minimumSizeHint();
    if (!body)
        return least;
    const int height = body->minimumHeight() > 0 ? body->minimumHeight() : body->minimumSizeHint().height();
    return QSize(least.width(), std::max(least.height(), height));
}

bool UiTabSendPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == body && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QFrame::eventFilter(watched, event);
}

void UiTabSendPage::setSendControls(QAbstractButton *send, QAbstractButton *stop, QList<QWidget *> fixedWhileSending)
{
    sendBtn = send;
    stopBtn = stop;
    fixedControls.clear();
    for (QWidget *w : fixedWhileSending)
        fixedControls << w;
}

void UiTabSendPage::setSendState(bool sendOn, bool stopOn, bool channelSending)
{
    if (sendBtn)
        sendBtn->setEnabled(sendOn);
    if (stopBtn)
        stopBtn->setEnabled(stopOn);
    for (const QPointer<QWidget> &w : qAsConst(fixedControls)) {
        if (w)
            w->setEnabled(!channelSending);
    }
}

void UiTabSendPage::onActive()
{
}

void UiTabSendPage::onAnswerTaskRunning(bool running)
{
    if (sendBtn)
        sendBtn->setEnabled(!running);
    if (stopBtn)
        stopBtn->setEnabled(running);
}

void UiTabSendPage::activate(int page, QWidget *sendMode)
{
    DevCan &device = DevCan::instance();
    if (device.isStarted(uint32_t(channelIndex))) {
        Q_EMIT askTaskRunning(page);
        return;
    }
    if (sendBtn)
        sendBtn->setEnabled(false);
    if (stopBtn)
        stopBtn->setEnabled(false);
    // The network devices choose the send type themselves.
    const uint32_t type = device.getDevType();
    if (sendMode && (type == VCI_VARNET_UDP || type == VCI_VARNET_TCP))
        sendMode->setEnabled(false);
}

void UiTabSendPage::restrictToHex(QLineEdit *idEdit)
{
    idEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]*")), idEdit));
}

bool UiTabSendPage::takeId(QLineEdit *idEdit, bool extended, uint32_t &id)
{
    id = idEdit->text().toUInt(nullptr, 16);
    if (UlGlobalSet::instance().IDFORMAT == 1) {
        id &= extended ? 0xFFFFFFF8u : 0xFFE0u;
        idEdit->setText(QString::asprintf(extended ? "%08x" : "%04x", id));
        return true;
    }
    return id <= (extended ? 0x1FFFFFFFu : 0x7FFu);
}

void UiTabSendPage::switchIdFormat(QLineEdit *idEdit, bool extended)
{
    // setMaxLength cuts from the right; the standard ID keeps its last digits.
    const QString text = idEdit->text();
    if (extended) {
        idEdit->setMaxLength(8);
        idEdit->setText(QString::asprintf("%08x", text.toUInt(nullptr, 16)));
    } else {
        idEdit->setMaxLength(4);
        idEdit->setText(text.right(4));
    }
}

int UiTabSendPage::idFormatChange()
{
    const int idFormat = UlGlobalSet::instance().IDFORMAT;
    if (idFormat == shownIdFormat)
        return -1;
    shownIdFormat = idFormat;
    return idFormat;
}

void UiTabSendPage::convertIdField(QLineEdit *idEdit, bool extended, int idFormat)
{
    const QString converted = TaskRow::convertId(idEdit->text(), extended, idFormat);
    if (converted.size() <= idEdit->maxLength())
        idEdit->setText(converted);
}
