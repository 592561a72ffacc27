#pragma once
// Test support: the plain grid of size g as a stored layout, the record the
// window keeps for a grid nobody rearranged.

#include <QString>

#include "view/CameraLayout.h"

inline CameraLayout PlainLayout(const QString& name, int g = 4) {
  CameraLayout layout;
  layout.SetNameText(name);
  layout.GridSize = g;
  for (int i = 0; i < CellCount; ++i) {
    layout.Column[i] = i % g;
    layout.Row[i] = i / g;
    layout.WidthSpan[i] = layout.HeightSpan[i] = 1;
    layout.Visible[i] = i < g * g;
  }
  return layout;
}
