#include "tools/ToolArgs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/DateTime.h"

int UsageError(const std::string& message) {
  std::fprintf(stderr, "orxtool: %s (try 'orxtool --help')\n", message.c_str());
  return ExitUsage;
}

std::optional<std::uint32_t> ParseMask(const std::string& text) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > (hex ? 8u : 10u)) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    value = value * (hex ? 16 : 10) + std::uint64_t(d);
  }
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return std::uint32_t(value);
}

std::optional<std::int64_t> ParseInteger(const std::string& text, std::int64_t low,
                                         std::int64_t high) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::size_t i = 0;
  const bool negative = text[0] == '-';
  if (negative) i = 1;
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::optional<double> ParseTime(const std::string& text) {
  const std::optional<double> t = ParseDateTime(text);
  // Day numbers far outside any calendar would only confuse the reader's
  // range bookkeeping.
  if (!t || !std::isfinite(*t) || *t < -1e7 || *t > 1e8) return std::nullopt;
  return t;
}
