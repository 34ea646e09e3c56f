// Keeps the open list of a combo box at least as wide as its widest item
// needs. Qt opens the list as wide as the box, but a style that draws the
// list as a menu (Fusion) gives an item wider margins than the box gives
// its text, and counts an ampersand twice: such an item is elided in the
// list while the closed box shows it whole. The width follows the box's
// items (a language switch rewrites them), its font and its style.
// GUI thread.
#pragma once

#include <QObject>

class QComboBox;
class QWidget;

class ComboPopupWidth : public QObject
{
    Q_OBJECT

public:
    // Fits box's list now and whenever it changes; the follower is a child
    // of box. A second install on the same box does nothing.
    static void install(QComboBox *box);
    // install() on every combo box under parent.
    static void installAll(QWidget *parent);

    // Pixels the list of box needs: its widest item as the list draws it
    // (in a menu style, as wide as the style makes a menu item of that
    // text), the view's frame, and a scroll bar when the list scrolls.
    static int neededWidth(const QComboBox *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ComboPopupWidth(QComboBox *box);
    void fit();

    QComboBox *box;  // the parent
};
