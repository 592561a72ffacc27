#pragma once
// Shared argument handling for orxtool's commands: every misuse becomes one
// line on standard error and exit code 2.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int ExitOk = 0;
inline constexpr int ExitProblem = 1;
inline constexpr int ExitUsage = 2;

// Prints "orxtool: <message> (try 'orxtool --help')" and returns ExitUsage.
int UsageError(const std::string& message);

// Decimal or 0x-prefixed hexadecimal, 0 to 0xFFFFFFFF.
std::optional<std::uint32_t> ParseMask(const std::string& text);
// A decimal integer in [low, high].
std::optional<std::int64_t> ParseInteger(const std::string& text, std::int64_t low,
                                         std::int64_t high);
// A day number ("46000.5") or a local date-time ("2026-12-07T09:00:00.040").
std::optional<double> ParseTime(const std::string& text);

// Walks a command's words: options with a value ("--out DIR") and the plain
// words between them.
class ToolArgs {
 public:
  explicit ToolArgs(std::vector<std::string> words) : words_(std::move(words)) {}

  bool Done() const { return index_ >= words_.size(); }
  const std::string& Peek() const { return words_[index_]; }
  std::string Take() { return words_[index_++]; }
  // The word after an option; nullopt when the option ends the line.
  std::optional<std::string> TakeValue() {
    if (Done()) return std::nullopt;
    return Take();
  }
  static bool IsOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
  }

 private:
  std::vector<std::string> words_;
  std::size_t index_ = 0;
};
