// The modal name dialog: the ID-to-name map as an editable table, with
// import and export of name list files ("ID,name" lines). Ok replaces the
// whole map with the table's rows; closing the window changes nothing.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class UiNameSetting;
}

class UiNameSetting : public QDialog
{
    Q_OBJECT

public:
    static constexpr quint32 MaxId = 0x1FFFFFFF;

    explicit UiNameSetting(QWidget *parent = nullptr);
    ~UiNameSetting() override;

    // Appends a row for id ("%X") and name, ready to be edited.
    void addName(quint32 id, const QString &name);
    // Replace the table with the file's "ID,name" lines / write the table
    // to a file; both report failures in a message box and return false.
    // Import takes the lines of an ID from 0 to MaxId and a printable name
    // and says how many others it skipped; it refuses, leaving the table, a
    // file above UlListLimits::MaxFileBytes or of more lines than
    // UlListLimits::MaxEntries.
    bool importFile(const QString &fileName);
    bool exportFile(const QString &fileName);

public Q_SLOTS:
    void OnAdd();
    void OnDelete();
    // Rows with a bad ID are reported and left out of the map.
    void accept() override;
    void OnImport();
    void OnExport();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void appendRow(const QString &id, const QString &name);
    QString cellText(int row, int column) const;

    std::unique_ptr<Ui::UiNameSetting> form;
};
