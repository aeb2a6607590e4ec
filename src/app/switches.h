#pragma once

class Form1;

// The two switches that change what the blackboard shows without touching the scene:
// the cover over the envelope and the red marker of the distance x.
class Switches
{
public:
    explicit Switches(Form1 &form) : form(form) {}

    // 封筒をかくす: shows or hides the cover.
    void Check5_Click();
    // The marker switch beside 点Ｐが動いた距離χ.
    void Check4_Click();

    // The red marker from B to P, as the steps also set it while the switch is on.
    void placeMarkerAtP();

private:
    Form1 &form;
};
