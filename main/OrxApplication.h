#pragma once
// TOrxApplication: the QApplication of the viewer. An exception that
// escapes an event handler is shown in an error message box and ends the
// program, as one escaping start-up does. Qt's standard dialogs and boxes
// speak Russian, as the rest of the interface does.

#include <QApplication>
#include <QTranslator>

class TOrxApplication : public QApplication {
  Q_OBJECT

 public:
  TOrxApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  // Qt's own Russian texts (qtbase_ru); installed while the application
  // lives. Without the file the dialogs stay in English.
  QTranslator qtTranslations_;
};

// The error message box of start-up: text of the escaped exception.
void ShowStartupError(const QString& text);
