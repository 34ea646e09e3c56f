#include "uifindid.h"

#include "ui_uifindid.h"

#include <QEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

UiFindID::UiFindID(QWidget *parent) : QDialog(parent), form(std::make_unique<Ui::UiFindID>())
{
    form->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    form->lineEdit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9A-Fa-f]{1,8}$")), this));
    retranslateUi();
    connect(form->lineEdit, &QLineEdit::textChanged, this, &UiFindID::onTextChanged);
    connect(form->okButton, &QPushButton::clicked, this, &UiFindID::onPushbuttonUP);
    connect(form->cancelButton, &QPushButton::clicked, this, &UiFindID::onPushbuttonNEXT);
}

UiFindID::~UiFindID() = default;

void UiFindID::retranslateUi()
{
    setWindowTitle(tr("Search"));
    form->okButton->setText(tr("UP"));
    form->cancelButton->setText(tr("Down"));
    form->label->setText(tr("Find ID:"));
    form->lineEdit->setPlaceholderText(tr("Input ID"));
}

void UiFindID::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void UiFindID::onTextChanged(const QString &)
{
    form->label_2->setText(QStringLiteral(" "));
}

void UiFindID::onPushbuttonUP()
{
    searchText = form->lineEdit->text();
    Q_EMIT FINDIDSEARCH(true, searchText);
}

void UiFindID::onPushbuttonNEXT()
{
    searchText = form->lineEdit->text();
    Q_EMIT FINDIDSEARCH(false, searchText);
}

void UiFindID::onSHOWCOUNT(int res, int total)
{
    searchText = form->lineEdit->text();
    form->label_2->setText(tr("total quantity :") + QString::number(res) + QLatin1Char('/') + QString::number(total));
}
