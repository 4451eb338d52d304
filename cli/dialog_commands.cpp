// The preview dialog's files and words on the command line: user filter files
// and the dialog words table.
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/op_args.h"
#include "imaging/proc/msg_words.h"
#include "imaging/proc/user_filter_file.h"

namespace quillet::cli {

namespace {

std::optional<TUserFilterValues> ParseFilterValues(const std::string& text) {
  const std::vector<std::string> parts = Split(text, ',');
  if (parts.size() != 10) return std::nullopt;
  TUserFilterValues v;
  for (size_t i = 0; i < 9; ++i)
    if (!ToInt(parts[i], v.Coefficients[i])) return std::nullopt;
  if (!ToInt(parts[9], v.Divisor)) return std::nullopt;
  return v;
}

int Usage(const std::string& message) {
  std::cerr << "quillet-cli: " << message << "\n";
  return 2;
}

}  // namespace

int RunFilterFile(const std::string& path, const std::string& write, const std::string& preset) {
  std::string error;
  if (!write.empty() || !preset.empty()) {
    if (!write.empty() && !preset.empty()) return Usage("give --write or --preset, not both");
    const TUserFilterPreset* named = preset.empty() ? nullptr : FindUserFilterPreset(preset);
    const std::optional<TUserFilterValues> values = named ? named->Values : ParseFilterValues(write);
    if (!values)
      return Usage(preset.empty() ? "--write takes ten 32-bit integers C0,...,C8,DIV"
                                  : "--preset takes none, blur, edges, emboss, highpass1 to highpass3, lowpass1, "
                                    "lowpass2");
    if (!WriteUserFilterFile(path, *values, error)) {
      std::cerr << "quillet-cli: " << error << "\n";
      return 1;
    }
  }
  const std::optional<TUserFilterFile> file = ReadUserFilterFile(path, error);
  if (!file) {
    std::cerr << "quillet-cli: " << error << "\n";
    return 1;
  }
  const nlohmann::json out = {{"coefficients", file->Values.Coefficients},
                              {"divisor", file->Values.Divisor},
                              {"header_ok", file->HeaderOk}};
  std::cout << out.dump(2) << "\n";
  return 0;
}

int RunWords(const std::string& language) {
  static const std::map<std::string, TMsgLanguage> kNames = {
      {"system", TMsgLanguage::msSystem},   {"english", TMsgLanguage::msEnglish},
      {"italian", TMsgLanguage::msItalian}, {"german", TMsgLanguage::msGerman},
      {"spanish", TMsgLanguage::msSpanish}, {"french", TMsgLanguage::msFrench},
      {"portuguese", TMsgLanguage::msPortuguese}, {"greek", TMsgLanguage::msGreek},
      {"russian", TMsgLanguage::msRussian}, {"dutch", TMsgLanguage::msDutch},
      {"user", TMsgLanguage::msUser}};
  const auto it = kNames.find(language);
  if (it == kNames.end())
    return Usage("--language takes system, english, italian, german, spanish, french, portuguese, greek, russian, "
                 "dutch or user");
  nlohmann::json words = nlohmann::json::array();
  for (int i = 0; i < kMsgWordCount; ++i) words.push_back(GetWord(i, it->second));
  std::cout << words.dump(2) << "\n";
  return 0;
}

}  // namespace quillet::cli
