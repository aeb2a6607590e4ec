#include "figure/piece_dragger.h"

#include "app/form1.h"
#include "app/numeric.h"
#include "surface/palette.h"

int PieceDragger::trayKindAt(float x, float y)
{
    if (!(y < 150))
        return 0;
    if (350 < x && x < 390)
        return 1;
    if (400 < x && x < 440)
        return 2;
    if (450 < x && x < 490)
        return 3;
    return 0;
}

int PieceDragger::columnAt(float x, float y)
{
    if (!(180 < y && y < 300))
        return -1;
    for (int i = 0; i < 5; ++i) {
        if (300 + 40 * i < x && x < 340 + 40 * i)
            return i;
    }
    return -1;
}

void PieceDragger::kokuban_MouseDown(int16_t, int16_t, float x, float y)
{
    SceneState &s = form.scene;
    if (y < 150) {
        if (const int kind = trayKindAt(x, y)) {
            s.DragKind = kind;
            m_liftedFromColumn = false;
        }
    } else if (180 < y && y < 300) {
        const int column = columnAt(x, y);
        if (column >= 0 && s.Slot[column] != 0) {
            s.DragKind = s.Slot[column];
            s.DragFrom = column;
            m_liftedFromColumn = true;
        }
    }
}

void PieceDragger::kokuban_MouseMove(int16_t, int16_t, float x, float y)
{
    const int kind = int(form.scene.DragKind);
    if (kind == 0)
        return;
    // The outline is centred on the pointer: its cell is 40 px wide and its piece stands
    // on the cell's bottom, 120 px below the reference point.
    const double centreOffset = 120 - (120 - PieceOutlines::topOffset(kind)) / 2.0;
    const auto refX = Numeric::toInt16(double(x) - 20);
    const auto refY = Numeric::toInt16(double(y) - centreOffset);
    if (refX && refY) {
        switch (kind) {
        case 1: form.outlines.PlaceLine6Outline(*refX, *refY); break;
        case 2: form.outlines.PlaceLine7Outline(*refX, *refY); break;
        case 3: form.outlines.PlaceLine9Outline(*refX, *refY); break;
        }
    }
    const int firstLabel = 2 * (kind - 1);
    form.Label9[firstLabel]->setVisible(false);
    form.Label9[firstLabel + 1]->setVisible(false);
}

void PieceDragger::kokuban_MouseUp(int16_t, int16_t, float x, float y)
{
    SceneState &s = form.scene;
    if (s.DragKind == 0)
        return;
    form.outlines.sendHome();

    const bool aboveEnvelope = y < 180;
    const bool inEnvelopeBand = 180 < y && y < 300;
    if (aboveEnvelope) {
        // Only a piece lifted out of a column is removed; one brought from the tray and
        // dropped back above the envelope leaves the figure as it was.
        if (m_liftedFromColumn) {
            const int from = qBound(0, int(s.DragFrom), 4);
            s.Slot[from] = 0;
        }
    } else if (inEnvelopeBand) {
        const int column = columnAt(x, y);
        if (column >= 0)
            s.Slot[column] = s.DragKind;
    }
    if (aboveEnvelope || inEnvelopeBand) {
        form.kokuban->foreColor = Palette::color(Palette::Yellow);
        form.stepper.Command2_Click();
        form.figure.RedrawFigure(300);
    }
    s.DragKind = 0;
    m_liftedFromColumn = false;
}
