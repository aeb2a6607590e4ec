#pragma once

#include <QFont>

namespace Fonts {

// The face the layout is written for.
QString layoutFace();

// Maps the layout's face to an installed Japanese Gothic of the same character widths
// (Monapo), then IPA P Gothic and other Japanese Gothics, and makes it the application's
// default font. Call once, after the application object and before any widget exists.
void install();

// The layout's face at a point size, bold or not.
QFont layoutFont(double pointSize, bool bold = false);

// The default window font.
QFont defaultFont();

} // namespace Fonts
