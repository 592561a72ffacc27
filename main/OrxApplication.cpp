#include "main/OrxApplication.h"

#include <QIcon>
#include <QMessageBox>
#include <exception>

TOrxApplication::TOrxApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Orx Viewer"));
  setDesktopFileName(QStringLiteral("orxviewer"));
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/orxviewer-48.png"));
  icon.addFile(QStringLiteral(":/icons/orxviewer-128.png"));
  setWindowIcon(icon);
}

bool TOrxApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowStartupError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ShowStartupError(QStringLiteral("Неизвестная ошибка"));
  }
  exit(1);
  return true;
}

void ShowStartupError(const QString& text) {
  QMessageBox::critical(nullptr, QStringLiteral("Orx Viewer"), text);
}
