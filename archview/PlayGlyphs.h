#pragma once
// The glyphs of the five play buttons and the two jumps to an event, drawn
// in code.

#include <QIcon>

enum class PlayGlyph { StepBack, RunBack, Stop, RunForward, StepForward, PreviousEvent, NextEvent };

QIcon MakePlayGlyph(PlayGlyph glyph);
