// The modal go-to-line dialog: its result is the chosen frame index
// (0-based), or -1 when cancelled.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class UiGotoLineDlg;
}

class UiGotoLineDlg : public QDialog
{
    Q_OBJECT

public:
    explicit UiGotoLineDlg(QWidget *parent = nullptr);
    ~UiGotoLineDlg() override;

    // Lines 1..n; with n = 0 Ok returns -1 as well.
    void setLineCount(int n);

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiGotoLineDlg> form;
    int lineCount = -1;  // -1 until setLineCount
};
