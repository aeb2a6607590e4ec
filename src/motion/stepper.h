#pragma once

#include <QString>

class Form1;

// Pulls the figure half a centimetre out (出す) or pushes it back in (戻す), and brings
// the lesson back to its start (最初に).
class Stepper
{
public:
    explicit Stepper(Form1 &form) : form(form) {}

    void susumu_Click();
    void modoru_Click();
    void Command2_Click();

    // The distance as Text1 shows it: a blank and one decimal (" 0.0", " 4.5", " 10.0").
    static QString distanceText(double centimetres);

private:
    void moveP();
    void placeDistanceLabel(double offset);

    Form1 &form;
};
