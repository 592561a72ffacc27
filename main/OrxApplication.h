#pragma once
// TOrxApplication: the QApplication of the viewer. An exception that
// escapes an event handler is shown in an error message box and ends the
// program, as one escaping start-up does.

#include <QApplication>

class TOrxApplication : public QApplication {
  Q_OBJECT

 public:
  TOrxApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The error message box of start-up: text of the escaped exception.
void ShowStartupError(const QString& text);
