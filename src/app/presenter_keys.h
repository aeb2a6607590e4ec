#pragma once

class Form1;

// Keys a presenter remote sends: PageDown and Right step out, PageUp and Left step in,
// Home goes back to the start; not while the distance or speed box is being typed into,
// and not while the button they stand for is disabled.
class PresenterKeys
{
public:
    explicit PresenterKeys(Form1 &form) : form(form) {}

    void installShortcuts();
    // True while the distance or speed box has the focus: its keys are for the text.
    bool typing() const;

private:

    Form1 &form;
};
