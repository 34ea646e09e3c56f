// The modal ID filter dialog of one channel: the mode (all IDs, all but
// the listed ranges, only the listed ranges) and the two range lists. It
// edits a working copy and copies it into the channel's filters on Ok;
// it saves and loads the copy as a filter list file (*.filter).
#pragma once

#include "ulidfiltermannger.h"

#include <QDialog>

#include <memory>

class QLabel;
namespace Ui {
class UiIdFilterSetting;
}

class UiIdFilterSetting : public QDialog
{
    Q_OBJECT

public:
    enum Column { NumberColumn, LowColumn, HighColumn, CommentColumn, DeleteColumn, ColumnCount };

    UiIdFilterSetting(QWidget *parent, int channel);
    ~UiIdFilterSetting() override;

    const UlIdFilterMannger &workingCopy() const { return filters; }
    // Write the working copy to / replace it from a filter list file; both
    // report failures in a message box and return false.
    bool saveFile(const QString &fileName);
    bool loadFile(const QString &fileName);

public Q_SLOTS:
    void OnFilterModeChanged(int index);
    void OnCellChanged(int row, int column);
    void OnCellClicked(int row, int column);
    void OnAdd();
    void OnClear();
    void OnSave();
    void OnLoad();
    // Result -1; the channel's filters are untouched.
    void reject() override;
    // Copies the working copy into the channel's filters; result 1.
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void initControls();
    void showFilters();
    void showList(const QQueue<UlIdFilter> &rules);
    void showNotReceive();
    void showOnlyReceive();
    void updateHint();

    std::unique_ptr<Ui::UiIdFilterSetting> form;
    int channel;
    UlIdFilterMannger filters;
    QString lastSavedFile;
    QLabel *hint = nullptr;
};
