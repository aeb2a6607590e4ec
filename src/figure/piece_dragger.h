#pragma once

#include <cstdint>

class Form1;

// Composing the figure with the mouse: outlines from the tray into the columns, copies
// between columns, removal by dropping above the envelope.
class PieceDragger
{
public:
    explicit PieceDragger(Form1 &form) : form(form) {}

    // Button and shift are passed as the window system gives them and never looked at.
    void kokuban_MouseDown(int16_t button, int16_t shift, float x, float y);
    void kokuban_MouseMove(int16_t button, int16_t shift, float x, float y);
    void kokuban_MouseUp(int16_t button, int16_t shift, float x, float y);

    // Column 0..4 whose inside holds (x, y), strictly, or -1.
    static int columnAt(float x, float y);
    // Tray outline kind 1..3 whose x range holds (x, y), strictly, or 0.
    static int trayKindAt(float x, float y);

private:
    Form1 &form;
    // Whether the piece being dragged was lifted from a column rather than the tray.
    bool m_liftedFromColumn = false;
};
