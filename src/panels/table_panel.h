#pragma once

#include <QColor>
#include <cstdint>
#include <map>

class Form1;

// The table of x and y below the blackboard, one column per whole centimetre.
class TablePanel
{
public:
    explicit TablePanel(Form1 &form) : form(form) {}

    // mode 0 writes the column of the distance in Text1, 1 erases it.
    void DrawTable(int16_t mode);
    void Check3_Click();
    // Clears the panel.
    void clearPanel();

    // The pairs the panel shows now, x (whole cm) to y.
    const std::map<int, double> &shownPairs() const { return m_shown; }

    static QColor inkColor();
    static QColor eraseColor();

private:
    void describe();

    Form1 &form;
    std::map<int, double> m_shown;
};
