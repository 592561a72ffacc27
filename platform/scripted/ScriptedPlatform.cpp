#include "platform/scripted/ScriptedPlatform.h"

#include <QPrinter>

namespace {

// Takes the front answer of a queue into path; false for a cancel, also
// when the test gave no answer.
template <typename Answer>
bool Take(std::deque<std::optional<Answer>>& answers, Answer& path) {
  if (answers.empty()) return false;
  const bool given = answers.front().has_value();
  if (given) path = *answers.front();
  answers.pop_front();
  return given;
}

}  // namespace

bool ScriptedPlatform::OpenVolumes(QWidget*, QStringList& paths) {
  ++volumeCalls;
  return Take(volumeAnswers, paths);
}

bool ScriptedPlatform::SaveFileOfType(QWidget*, const SaveFileRequest& request,
                                      SaveFileAnswer& answer) {
  typedSaveCalls.push_back(request);
  return Take(typedSaveAnswers, answer);
}

bool ScriptedPlatform::SavePicture(QWidget*, const QString& title,
                                   const QString& initialName,
                                   const QString& filter,
                                   const QString& defaultSuffix, QString& path, int& type) {
  saveCalls.push_back({title, initialName, filter, defaultSuffix});
  if (!Take(saveAnswers, path)) return false;
  type = 0;
  if (!saveTypeAnswers.empty()) {
    type = saveTypeAnswers.front();
    saveTypeAnswers.pop_front();
  }
  return true;
}

bool ScriptedPlatform::Print(QWidget*, QPrinter& printer) {
  ++printCalls;
  if (printAnswers.empty()) return false;
  const bool confirmed = printAnswers.front();
  printAnswers.pop_front();
  if (confirmed) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFile);
  }
  return confirmed;
}

void ScriptedPlatform::Information(QWidget*, const QString& title,
                                   const QString& text) {
  informations.push_back({title, text});
}

bool ScriptedPlatform::Question(QWidget*, const QString& title,
                                const QString& text) {
  questions.push_back({title, text});
  if (questionAnswers.empty()) return false;
  const bool yes = questionAnswers.front();
  questionAnswers.pop_front();
  return yes;
}

void ScriptedPlatform::Warning(QWidget*, const QString& title,
                               const QString& text) {
  warnings.push_back({title, text});
}
