#pragma once
// The glyphs of the view window's buttons, drawn at start-up: small line
// pictures in the style of the toolkit's own, no image files to lose.

#include <QIcon>

QIcon FullScreenGlyph();     // FullBtn: a frame with arrows to its corners
QIcon RestoreGlyph();        // EscFullBtn: two overlapping windows
QIcon DefaultWindowGlyph();  // Button43: a window with a 4:3 grid area
QIcon SelectedLayoutGlyph(); // RetBtn: a curved arrow back
QIcon GridSizeGlyph();       // SetBtn: a 4 x 4 grid
QIcon FreezeGlyph();         // StopBtn: pause bars up, a play mark down
QIcon CaptionGlyph();        // CaptionBtn: a picture with a caption bar
QIcon SaveLayoutGlyph();     // SaveBtn: a plus over a grid
QIcon DeleteLayoutGlyph();   // DelBtn: a cross
