#include "export/ChecksumManifest.h"

#include <openssl/evp.h>

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <sstream>
#include <vector>

#include "archive/FileHandle.h"

namespace {

// Read this much at a time: few calls, little memory.
constexpr std::int64_t kHashChunk = 1 << 20;

struct DigestFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "<digest>  <name>\n", escaped as sha256sum escapes.
std::string ManifestLine(const std::string& digest, const std::string& name) {
  std::string escaped;
  bool needsEscape = false;
  for (char c : name) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        needsEscape = true;
        break;
      case '\n':
        escaped += "\\n";
        needsEscape = true;
        break;
      case '\r':
        escaped += "\\r";
        needsEscape = true;
        break;
      default:
        escaped += c;
    }
  }
  return (needsEscape ? "\\" : "") + digest + "  " + (needsEscape ? escaped : name) + "\n";
}

bool Unescape(const std::string& text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return false;
    }
  }
  return true;
}

bool IsDigest(const std::string& text) {
  return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
           return std::isxdigit(static_cast<unsigned char>(c)) != 0;
         });
}

bool PlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

std::string Sha256OfFile(const std::string& path, const std::atomic<bool>* stop) {
  FileHandle file;
  if (!file.Open(path, FileHandle::Mode::ReadOnly)) return std::string();
  const std::int64_t size = file.Size();
  if (size < 0) return std::string();
  // libcrypto's SHA-256 uses the processor's SHA instructions: about ten
  // times the speed of Qt's portable one, which took most of an export.
  const std::unique_ptr<EVP_MD_CTX, DigestFree> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
    return std::string();
  std::vector<char> chunk(static_cast<std::size_t>(std::min(size, kHashChunk)));
  for (std::int64_t at = 0; at < size; at += kHashChunk) {
    const std::int64_t count = std::min(size - at, kHashChunk);
    if ((stop && stop->load()) || !file.ReadAt(at, chunk.data(), count) ||
        EVP_DigestUpdate(context.get(), chunk.data(), static_cast<std::size_t>(count)) != 1)
      return std::string();
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}

bool WriteManifest(const std::string& folder, const std::vector<std::string>& files,
                   const std::vector<std::string>& digests) {
  if (digests.size() != files.size()) return false;
  std::string text;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (digests[i].empty()) return false;
    text += ManifestLine(digests[i], BaseName(files[i]));
  }
  // QSaveFile writes beside the manifest and renames when complete, after
  // putting it on disk.
  QSaveFile manifest(QFile::decodeName(QByteArray::fromStdString(folder + "/" + ManifestName)));
  if (!manifest.open(QIODevice::WriteOnly)) return false;
  if (manifest.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size()))
    return false;
  return manifest.commit();
}

bool ParseManifest(const std::string& text, std::vector<ManifestEntry>& entries, int& badLine) {
  entries.clear();
  std::istringstream in(text);
  badLine = 0;
  for (std::string line; std::getline(in, line);) {
    ++badLine;
    const bool escaped = !line.empty() && line[0] == '\\';
    if (escaped) line.erase(0, 1);
    // "<digest>  <name>" in text mode, "<digest> *<name>" in binary mode.
    if (line.size() < 67 || line[64] != ' ' || (line[65] != ' ' && line[65] != '*')) return false;
    ManifestEntry entry{line.substr(0, 64), line.substr(66)};
    if (!IsDigest(entry.digest)) return false;
    std::transform(entry.digest.begin(), entry.digest.end(), entry.digest.begin(), [](char c) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    if (escaped && !Unescape(line.substr(66), entry.name)) return false;
    if (!PlainName(entry.name)) return false;
    entries.push_back(std::move(entry));
  }
  badLine = 0;
  return true;
}
