// A table cell that holds the index of a choice and looks and edits like
// a combo box of the choice texts. A left click on the cell neither
// selects nor edits it; editing starts with the view's other triggers.
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

class ComboBoxDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    ComboBoxDelegate(const QStringList &texts, QObject *parent);

    QStringList texts() const { return choices; }
    // The texts in another language; the caller repaints the view.
    void setTexts(const QStringList &texts) { choices = texts; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    QStringList choices;
};
