#include "uiaboutdlg.h"

#include "ui_uiaboutdlg.h"

#include <QDate>
#include <QEvent>
#include <QPixmap>

#ifndef MEROVAST_VERSION
#error "The build passes the program's version as MEROVAST_VERSION"
#endif

namespace {

const char *const webAddress = QT_TRANSLATE_NOOP("UiAboutDlg", "https://merovast.example");

} // namespace

UiAboutDlg::UiAboutDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiAboutDlg>())
{
    form->setupUi(this);
    form->logoLabel->move(10, 5);
    const QPixmap logo(QStringLiteral(":/Resources/logo.png"));
    if (!logo.isNull()) {
        form->logoLabel->setPixmap(logo.scaled(form->logoLabel->width(), form->logoLabel->height(),
                                               Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    textLabel = new QLabel(this);
    textLabel->setObjectName(QStringLiteral("textLabel"));
    textLabel->setTextFormat(Qt::RichText);
    textLabel->setFixedSize(500, 151);
    textLabel->move(145, 0);
    textLabel->setOpenExternalLinks(true);
    textLabel->setTextInteractionFlags(Qt::TextBrowserInteraction);
    retranslateUi();

    connect(form->OkButton, &QPushButton::clicked, this, &UiAboutDlg::accept);
}

UiAboutDlg::~UiAboutDlg() = default;

QString UiAboutDlg::versionText()
{
    return QStringLiteral(MEROVAST_VERSION);
}

void UiAboutDlg::accept()
{
    QDialog::accept();
}

void UiAboutDlg::retranslateUi()
{
    form->retranslateUi(this);
    const int year = QDate::currentDate().year();
    const QString address = tr(webAddress);
    QString text = QStringLiteral("<p/>");
    text += QStringLiteral("<div align=\"left\">");
    text += QStringLiteral("<p>%1:%2</p></div>").arg(tr("Version"), versionText());
    text += QStringLiteral("<div align=\"left\"><p>%1</p></div>")
                    .arg(tr("Copyright © %1 The Merovast project").arg(year).toHtmlEscaped());
    text += QStringLiteral("<div align=\"left\"><p>%1</p></div>").arg(tr("All rights reserved.").toHtmlEscaped());
    text += QStringLiteral("%1:<a href=%2>%3</a>").arg(tr("website"), address, address.toHtmlEscaped());
    textLabel->setText(text);
}

void UiAboutDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
