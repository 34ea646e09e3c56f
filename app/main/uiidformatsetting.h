// The modal ID-format dialog: right-aligned (real) or left-aligned
// (controller register) identifiers. Ok writes the choice to UlGlobalSet
// and to the stored setting "IDFORMAT"; the opener tells the views.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class UiIdFormatSetting;
}

class UiIdFormatSetting : public QDialog
{
    Q_OBJECT

public:
    explicit UiIdFormatSetting(QWidget *parent = nullptr);
    ~UiIdFormatSetting() override;

public Q_SLOTS:
    // Result 1.
    void accept() override;
    // Result -1; nothing changes.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiIdFormatSetting> form;
};
