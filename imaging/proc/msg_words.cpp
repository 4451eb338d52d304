#include "imaging/proc/msg_words.h"

#include <array>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace quillet {

namespace {

constexpr size_t kLanguages = size_t(TMsgLanguage::msUser) + 1;

struct TWordTable {
  std::mutex Lock;
  std::array<std::array<std::string, kMsgWordCount>, kLanguages> Rows;
};

TWordTable& Table() {
  static TWordTable table;
  static std::once_flag filled;
  std::call_once(filled, [] {
    FillStandardWords([](TMsgLanguage language, int index, std::string_view text) {
      table.Rows[size_t(language)][size_t(index)] = std::string(text);
    });
  });
  return table;
}

}  // namespace

TMsgLanguage LocaleMsgLanguage(std::string_view locale) {
  static constexpr std::pair<std::string_view, TMsgLanguage> kCodes[] = {
      {"de", TMsgLanguage::msGerman},  {"el", TMsgLanguage::msGreek},      {"es", TMsgLanguage::msSpanish},
      {"fr", TMsgLanguage::msFrench},  {"it", TMsgLanguage::msItalian},    {"nl", TMsgLanguage::msDutch},
      {"pt", TMsgLanguage::msPortuguese}, {"ru", TMsgLanguage::msRussian}};
  const std::string_view code = locale.substr(0, locale.find_first_of("_.@"));
  for (const auto& [name, language] : kCodes)
    if (code == name) return language;
  return TMsgLanguage::msEnglish;
}

TMsgLanguage SystemMsgLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return LocaleMsgLanguage(value);
  }
  return TMsgLanguage::msEnglish;
}

std::string GetWord(int index, TMsgLanguage language) {
  if (index < 0 || index >= kMsgWordCount) return "";
  TWordTable& t = Table();
  std::lock_guard<std::mutex> hold(t.Lock);
  if (language == TMsgLanguage::msSystem) return t.Rows[size_t(SystemMsgLanguage())][size_t(index)];
  const std::string& word = t.Rows[size_t(language)][size_t(index)];
  return word.empty() ? t.Rows[size_t(TMsgLanguage::msEnglish)][size_t(index)] : word;
}

void SetWord(TMsgLanguage language, int index, std::string_view text) {
  if (language == TMsgLanguage::msSystem || index < 0 || index >= kMsgWordCount) return;
  TWordTable& t = Table();
  std::lock_guard<std::mutex> hold(t.Lock);
  t.Rows[size_t(language)][size_t(index)] = std::string(text);
}

}  // namespace quillet
