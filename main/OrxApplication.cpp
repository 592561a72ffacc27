#include "main/OrxApplication.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <exception>

TOrxApplication::TOrxApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Orx Viewer"));
  setDesktopFileName(QStringLiteral("orxviewer"));
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/orxviewer-48.png"));
  icon.addFile(QStringLiteral(":/icons/orxviewer-128.png"));
  setWindowIcon(icon);
  if (qtTranslations_.load(QStringLiteral("qtbase_ru"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&qtTranslations_);
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
