// The modal find-ID dialog: collects the identifier text and the direction
// and shows the hit count that the frame list reports. It stays open
// between searches.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class UiFindID;
}

class UiFindID : public QDialog
{
    Q_OBJECT

public:
    explicit UiFindID(QWidget *parent = nullptr);
    ~UiFindID() override;

    QString lastSearch() const { return searchText; }

Q_SIGNALS:
    // id: one to eight hexadecimal digits as typed.
    void FINDIDSEARCH(bool up, QString id);

public Q_SLOTS:
    void onTextChanged(const QString &text);
    void onPushbuttonUP();
    void onPushbuttonNEXT();
    // res: hit number of the match shown, total: number of matches.
    void onSHOWCOUNT(int res, int total);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiFindID> form;
    QString searchText;
};
