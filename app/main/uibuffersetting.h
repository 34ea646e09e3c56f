// The modal buffer dialog: the frame buffer's capacity (frames) and the
// frame lists' refresh cycle (ms), shown from channel 0's buffer and
// applied to all four on Ok. Neither value is stored between runs.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class UiBufferSetting;
}

class UiBufferSetting : public QDialog
{
    Q_OBJECT

public:
    explicit UiBufferSetting(QWidget *parent = nullptr);
    ~UiBufferSetting() override;

public Q_SLOTS:
    // Applies both values to every channel's buffer; result 1. A new
    // capacity empties the buffers' display rings and watch lists.
    void accept() override;
    // Result -1; nothing changes.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiBufferSetting> form;
};
