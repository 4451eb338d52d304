// The dialog words: one process-wide table of 120 words for each language.
// The nine named languages are written at first use; the user row starts
// empty, for an application to fill through the writer.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillet {

enum class TMsgLanguage {
  msSystem, msEnglish, msItalian, msGerman, msSpanish, msFrench, msPortuguese, msGreek, msRussian, msDutch, msUser
};

constexpr int kMsgWordCount = 120;

// Word `index` (0..119) in `language`. A named language or the user row falls
// back to English where its word is empty; msSystem takes the row of the
// process locale's language as it is. Outside 0..119 the word is "".
std::string GetWord(int index, TMsgLanguage language);

// The writer: one word of a row. msSystem and indices outside 0..119 are ignored.
void SetWord(TMsgLanguage language, int index, std::string_view text);

// The language of a locale name ("it_IT.UTF-8"): its letters before "_", "."
// or "@" when they name one of the eight other languages, else English.
TMsgLanguage LocaleMsgLanguage(std::string_view locale);
// That of the first non-empty of LC_ALL, LC_MESSAGES and LANG.
TMsgLanguage SystemMsgLanguage();

// Writes the words of the nine named languages (the start-up filling).
void FillStandardWords(const std::function<void(TMsgLanguage, int, std::string_view)>& write);

}  // namespace quillet
