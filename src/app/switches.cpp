#include "app/switches.h"

#include "app/form1.h"

void Switches::Check5_Click()
{
    form.Picture1->setVisible(form.Check5->isChecked());
}

void Switches::Check4_Click()
{
    if (form.Check4->isChecked()) {
        placeMarkerAtP();
    } else {
        // Parked below the board, out of sight.
        LineControl *marker = form.Line5[4];
        marker->setEnds(form.scene.PointBX, 800, form.scene.PointPX, 800);
    }
}

void Switches::placeMarkerAtP()
{
    const SceneState &s = form.scene;
    form.Line5[4]->setEnds(s.PointBX, s.PointBY, s.PointPX, s.PointBY);
}
