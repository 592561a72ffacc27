#pragma once
// The glyphs of the five play buttons, drawn in code.

#include <QIcon>

enum class PlayGlyph { StepBack, RunBack, Stop, RunForward, StepForward };

QIcon MakePlayGlyph(PlayGlyph glyph);
