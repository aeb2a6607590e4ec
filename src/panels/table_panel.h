#pragma once

#include <QColor>
#include <cstdint>

class Form1;

// The table of x and y below the blackboard, one column per whole centimetre.
class TablePanel
{
public:
    explicit TablePanel(Form1 &form) : form(form) {}

    // mode 0 writes the column of the distance in Text1, 1 erases it.
    void DrawTable(int16_t mode);
    void Check3_Click();

    static QColor inkColor();
    static QColor eraseColor();

private:
    Form1 &form;
};
