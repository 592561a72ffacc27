#include "export/ExportReport.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>

#include "common/DateTime.h"
#include "common/ProgramVersion.h"
#include "common/RecordKind.h"

namespace {

constexpr const char* kStyle = R"(
@page { size: A4; margin: 14mm 12mm; }
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; font-size: 9.5pt;
       color: #000; background: #fff; margin: 8mm auto; max-width: 186mm; }
@media print { body { margin: 0; max-width: none; padding: 0 0.5mm; } }
h1 { font-size: 15pt; margin: 0 0 4mm; }
table { border-collapse: collapse; }
.facts td { padding: 0.8mm 4mm 0.8mm 0; vertical-align: top; }
.facts td:first-child { color: #444; white-space: nowrap; }
.files { width: 100%; margin-top: 5mm; table-layout: fixed; }
.files th, .files td { border: 0.25mm solid #999; padding: 1mm 1.5mm; vertical-align: top;
                       text-align: left; }
.files { font-size: 9pt; }
.files th { background: #eee; font-weight: bold; font-size: 8pt; }
.files thead { display: table-header-group; }
.files tr { page-break-inside: avoid; break-inside: avoid; }
.num { text-align: right !important; white-space: nowrap; }
.hash { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; font-size: 6.8pt; }
.file { word-break: break-all; }
img { display: block; width: 100%; max-width: 34mm; height: auto; margin-top: 1.5mm;
      border: 0.25mm solid #999; }
.bad { color: #a00000; font-weight: bold; }
.note { color: #444; font-size: 8.5pt; margin-top: 5mm; }
)";

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// "10 485 760", thousands set apart by no-break spaces.
std::string Grouped(std::int64_t n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), "\u00a0");
  return (n < 0 ? "-" : "") + digits;
}

// Viewer camera numbers (stored + 1), runs of three or more as ranges:
// "1–4, 7, 9"; "все (1–32)".
std::string CameraList(std::uint32_t mask) {
  if (mask == AllCameras) return "все (1–32)";
  std::string out;
  for (int c = 0; c < CameraCount; ++c) {
    if (!CameraWanted(mask, c)) continue;
    int last = c;
    while (last + 1 < CameraCount && CameraWanted(mask, last + 1)) ++last;
    out += (out.empty() ? "" : ", ") + std::to_string(c + 1);
    if (last - c >= 2)
      out += "–" + std::to_string(last + 1);
    else if (last > c)
      out += ", " + std::to_string(last + 1);
    c = last;
  }
  return out.empty() ? "нет" : out;
}

std::string KindList(std::uint32_t mask) {
  std::string out;
  for (const std::uint32_t bit : KindBits)
    if (mask & bit) out += (out.empty() ? "" : ", ") + std::string(KindName(bit));
  return out.empty() ? "нет" : out;
}

std::string StateText(const ReportFacts& f) {
  std::string text;
  switch (f.state) {
    case ExportState::Complete:
      text = "завершён";
      break;
    case ExportState::Interrupted:
      text = "<span class=\"bad\">прерван оператором</span>: здесь то, что было записано до "
             "остановки";
      break;
    case ExportState::Failed:
      text = "<span class=\"bad\">не завершён</span>: файл не удалось создать или записать; "
             "здесь то, что было записано до ошибки";
      break;
  }
  if (f.framesLeftOut > 0)
    text += "; <span class=\"bad\">не вошли в видео кадров: " + Grouped(f.framesLeftOut) +
            "</span> (в их заголовке JPEG нет размера кадра)";
  if (f.framesUnreadable > 0)
    text += "; <span class=\"bad\">не прочитано из архива кадров: " +
            Grouped(f.framesUnreadable) + "</span> (их запись в томе повреждена)";
  return text;
}

std::string FolderName(const std::string& folder) {
  const std::size_t slash = folder.rfind('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

std::string Row(const char* label, const std::string& value) {
  return std::string("<tr><td>") + label + "</td><td>" + value + "</td></tr>\n";
}

std::string Picture(const std::vector<std::uint8_t>& jpeg) {
  if (jpeg.empty()) return std::string();
  const QByteArray base64 =
      QByteArray(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size()))
          .toBase64();
  return "<img alt=\"первый кадр\" src=\"data:image/jpeg;base64," + base64.toStdString() + "\">";
}

std::string FileRows(const ReportFacts& f) {
  if (f.files.empty())
    return "<tr><td colspan=\"7\">Файлов нет: в интервале не нашлось кадров выбранных камер и "
           "видов записи.</td></tr>\n";
  std::string rows;
  for (const ReportFile& file : f.files) {
    const FileTally& t = file.tally;
    // Two lines of 32 digits: the only place the digest may break, and a
    // copied digest stays whole.
    const std::string digest = file.digest.size() == 64
                                   ? file.digest.substr(0, 32) + "<wbr>" + file.digest.substr(32)
                                   : Escaped(file.digest);
    rows += "<tr><td class=\"file\">" + Escaped(file.name) + Picture(t.firstFrame) + "</td><td>" +
            (t.cameras ? CameraList(t.cameras) : "—") + "</td><td>" +
            (t.frames ? FormatDateTimeDotted(t.first) : "—") + "</td><td>" +
            (t.frames ? FormatDateTimeDotted(t.last) : "—") + "</td><td class=\"num\">" +
            Grouped(t.frames) + "</td><td class=\"num\">" + Grouped(file.bytes) +
            "</td><td class=\"hash\">" + digest + "</td></tr>\n";
  }
  return rows;
}

}  // namespace

std::string ReportHtml(const ReportFacts& f) {
  const ExportRequest& r = f.request;
  const bool video = r.format == ExportFormat::Video;
  std::int64_t frames = 0;
  double first = 0.0, last = 0.0;
  for (const ReportFile& file : f.files) {
    if (file.tally.frames == 0) continue;
    if (frames == 0 || file.tally.first < first) first = file.tally.first;
    if (frames == 0 || file.tally.last > last) last = file.tally.last;
    frames += file.tally.frames;
  }
  const std::string interval =
      "с " + FormatDateTimeDotted(r.from) + " по " + FormatDateTimeDotted(r.to);
  std::string html = "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<title>Экспорт фрагмента архива " + interval + "</title>\n<style>" + kStyle +
          "</style>\n</head>\n<body>\n<h1>Экспорт фрагмента архива</h1>\n<table class=\"facts\">\n";
  html += Row("Папка", Escaped(FolderName(r.folder)));
  html += Row("Интервал", interval);
  html += Row("Камеры", CameraList(r.cameras));
  html += Row("Виды записи", KindList(r.kinds));
  html += Row("Формат", video ? "видео Matroska, по файлу на камеру: кадры — сохранённые JPEG "
                                "без изменений, время записи каждого кадра — в субтитрах"
                              : "тома архива (.oxa), открываются программой просмотра архива");
  html += Row("Кадров", Grouped(frames) + (frames ? ", записаны с " + FormatDateTimeDotted(first) +
                                                      " по " + FormatDateTimeDotted(last)
                                                : std::string()));
  html += Row("Экспорт", StateText(f));
  html += Row("Сделан", FormatDateTimeDotted(r.madeAt) + " на компьютере «" +
                            Escaped(f.machine) + "», программа " + ProgramName + " " +
                            ProgramVersion + (r.frontEnd.empty() ? "" : " (" + Escaped(r.frontEnd) + ")"));
  // Widths that fit A4 portrait: the digest in two lines, the times in two.
  html += "</table>\n<table class=\"files\">\n<colgroup><col style=\"width:17.5%\">"
          "<col style=\"width:8.5%\"><col style=\"width:13.5%\"><col style=\"width:13.5%\">"
          "<col style=\"width:8.5%\"><col style=\"width:11%\"><col style=\"width:27.5%\">"
          "</colgroup>\n<thead><tr><th>Файл</th><th>Камера</th>"
          "<th>Первый кадр</th><th>Последний кадр</th><th class=\"num\">Кадров</th>"
          "<th class=\"num\">Байт</th><th>SHA-256</th></tr></thead>\n<tbody>\n";
  html += FileRows(f);
  html += "</tbody>\n</table>\n<p class=\"note\">Контрольные суммы SHA-256 всех файлов папки, "
          "этого отчёта тоже, записаны в файле SHA256SUMS; проверка: "
          "<code>sha256sum -c SHA256SUMS</code> в этой папке или <code>orxtool verify</code> с "
          "её именем. Время — местное время регистратора, как оно записано в архиве.</p>\n"
          "</body>\n</html>\n";
  return html;
}

bool WriteReport(const std::string& folder, const ReportFacts& facts) {
  const std::string html = ReportHtml(facts);
  QSaveFile file(QFile::decodeName(QByteArray::fromStdString(folder + "/" + ReportName)));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(html.data(), static_cast<qsizetype>(html.size())) !=
      static_cast<qsizetype>(html.size()))
    return false;
  return file.commit();
}
