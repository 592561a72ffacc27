// Start-up: the application, the main window, the playback window, the
// event loop.

#include <exception>

#include "archview/ArchView.h"
#include "main/MainForm.h"
#include "main/OrxApplication.h"

int main(int argc, char** argv) {
  TOrxApplication app(argc, argv);
  try {
    TMainForm MainForm;
    TArchView ArchView(*MainForm.Reader(), *MainForm.Layouts());
    MainForm.SetArchView(&ArchView);
    MainForm.show();
    return app.exec();
  } catch (const std::exception& e) {
    ShowStartupError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ShowStartupError(QStringLiteral("Неизвестная ошибка"));
  }
  return 1;
}
