// The "Charging" page of the charging window: the battery's demand (BCL)
// and state (BCS), the charger's state (CCS) and both sides' stop messages
// (BST, CST) as texts. Each update replaces the texts of its own rows and
// keeps them until the same message comes again; a language change shows
// them again from the last records. A stop line lists the fields that are
// set first and carries the whole line as its tool tip. GUI thread only.
#pragma once

#include "chargingmessages.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class ChargingWidget;
}

class ChargingWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChargingWidget(QWidget *parent = nullptr);
    ~ChargingWidget() override;

    void updateBCL(const BclRecord &bcl);
    void updateBCS(const BcsRecord &bcs);
    void updateCCS(const CcsRecord &ccs);
    void updateBST(const StopStatusRecord &bst);
    void updateCST(const StopStatusRecord &cst);

protected:
    void changeEvent(QEvent *event) override;

private:
    static QString modeText(qint32 mode);
    static QString allowText(quint8 allowed);
    // The mode and stop fields as wide as their texts in the catalogue in force.
    void applyTextWidths();
    void showDecodedTexts();

    std::unique_ptr<Ui::ChargingWidget> form;
    // The last records with texts, to show them again in a new language.
    std::optional<BclRecord> lastBcl;
    std::optional<CcsRecord> lastCcs;
    std::optional<StopStatusRecord> lastBst;
    std::optional<StopStatusRecord> lastCst;
};
