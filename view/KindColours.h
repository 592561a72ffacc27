#pragma once
// The colour of each record kind wherever the windows mark one: the dots of
// the cells' captions and the lanes of the timeline. Motion is the most
// striking, continuous recording the quietest.

#include <QColor>

#include <cstdint>

#include "common/RecordKind.h"

inline QColor KindColour(std::uint32_t kind) {
  switch (kind) {
    case KindMotion: return QColor(235, 40, 40);
    case KindActivity: return QColor(255, 176, 0);
    case KindMotionHistory: return QColor(150, 110, 215);
    default: return QColor(150, 172, 198);  // continuous
  }
}

// The kinds in the order the timeline paints them, each over the one before:
// the quietest first, so the most striking one shows where kinds meet.
inline constexpr std::uint32_t KindsQuietFirst[] = {KindContinuous, KindMotionHistory, KindActivity,
                                                    KindMotion};
