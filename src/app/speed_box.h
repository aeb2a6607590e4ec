#pragma once

#include <QComboBox>

// The speed list: an editable drop-down list that a screen reader announces by its label,
// "速度", with the speed as its value. (Qt names an editable list after its text on
// Linux, where it relies on a label widget that this window draws instead.)
class SpeedBox : public QComboBox
{
    Q_OBJECT

public:
    explicit SpeedBox(QWidget *parent = nullptr);
};
