#pragma once
// TArchView: the archive playback window, built on the camera view window.

#include "archive/OrxRead.h"
#include "view/View.h"

class TArchView : public TView {
  Q_OBJECT

 public:
  // REQUIRES: reader and layouts outlive the window (the main window owns
  // them).
  TArchView(TOrxRead& reader, LayoutList& layouts, QWidget* parent = nullptr);

 private:
  TOrxRead& Reader;
};
