#pragma once

#include <QRect>
#include <QWidget>

class Placement;

// The keys a pupil answers with on a tablet, whose own keyboard may not come up and whose
// input method's candidates do not reach the program: 0 to 9, the point, the minus and plus
// signs, x, =, a key that takes back a character and 確定. The keys never take the focus,
// so what they type goes to the answer that has it.
class Keypad : public QWidget
{
    Q_OBJECT

public:
    // Made at a place in its parent's logical pixels, every key kept by the placement for
    // the zoom.
    Keypad(QWidget *parent, Placement &placement, QRect place);

    // The keys' captions, row by row: the last row's 確定 spans what is left of it.
    static constexpr int Columns = 5;
    static constexpr int KeyWidth = 62;
    static constexpr int KeyHeight = 60;
    static constexpr int Gap = 4;

signals:
    // A character to put where the answer's cursor is.
    void typed(const QString &text);
    void backspace();
    // 確定: the answer is to be checked.
    void enter();
};
