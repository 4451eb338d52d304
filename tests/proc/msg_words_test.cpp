// The dialog words: the rows the table must hold, the fall-backs, the writer,
// and the language taken from the locale variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "imaging/proc/msg_words.h"

namespace quillet {
namespace {

using L = TMsgLanguage;

TEST(MsgWords, RowsHoldTheirTellingWordsAndAreComplete) {
  struct Case {
    L language;
    const char *word0, *word1, *word90;
  } const cases[] = {{L::msEnglish, "Preview", "Original", "Bump map"},
                     {L::msItalian, "Anteprima", "Originale", "Bump map"},
                     {L::msGerman, "Vorschau", "Quelle", "Bump map"},
                     {L::msSpanish, "Vista Previa", "Original", "Bump map"},
                     {L::msFrench, "Prévisualisation", "Source", "Bump map"},
                     {L::msPortuguese, "Visualizar", "Original", "Bump map"},
                     {L::msDutch, "Voorbeeld", "Origineel", "Hoogtekaart"}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetWord(0, c.language), c.word0);
    EXPECT_EQ(GetWord(1, c.language), c.word1);
    EXPECT_EQ(GetWord(90, c.language), c.word90);
  }
  EXPECT_EQ(GetWord(11, L::msItalian), "Brillantezza");
  EXPECT_EQ(GetWord(103, L::msItalian), "Valore");
  EXPECT_EQ(GetWord(11, L::msGerman), "Helligkeit");
  EXPECT_EQ(GetWord(103, L::msGerman), "Wert");
  EXPECT_EQ(GetWord(119, L::msEnglish), "Close");
  // Greek and Russian are written in their own scripts (UTF-8 lead bytes
  // 0xCE/0xCF and 0xD0/0xD1), and no named row repeats a word by accident of
  // a shifted index: each has at least 100 distinct words.
  EXPECT_EQ(uint8_t(GetWord(0, L::msGreek)[0]) & 0xFE, 0xCE);
  EXPECT_EQ(uint8_t(GetWord(0, L::msRussian)[0]) & 0xFE, 0xD0);
  for (int language = int(L::msEnglish); language <= int(L::msDutch); ++language) {
    std::set<std::string> words;
    for (int i = 0; i < kMsgWordCount; ++i) {
      ASSERT_FALSE(GetWord(i, L(language)).empty()) << language << " " << i;
      words.insert(GetWord(i, L(language)));
    }
    EXPECT_GE(words.size(), 100u) << language;
  }
}

TEST(MsgWords, UserRowFallsBackToEnglishAndIndicesOutsideGiveNothing) {
  EXPECT_EQ(GetWord(0, L::msUser), "Preview");
  SetWord(L::msUser, 0, "Vista");
  EXPECT_EQ(GetWord(0, L::msUser), "Vista");
  SetWord(L::msUser, 0, "");
  SetWord(L::msSystem, 0, "ignored");
  SetWord(L::msUser, 120, "ignored");
  EXPECT_EQ(GetWord(0, L::msUser), "Preview");
  EXPECT_EQ(GetWord(-1, L::msEnglish), "");
  EXPECT_EQ(GetWord(120, L::msItalian), "");
}

TEST(MsgWords, SystemTakesTheFirstSetLocaleVariable) {
  struct Case {
    const char *all, *messages, *lang, *word0;
  } const cases[] = {{"it_IT.UTF-8", "", "", "Anteprima"},  {"", "de_DE", "fr_FR", "Vorschau"},
                     {"", "", "el_GR@euro", "Προεπισκόπηση"}, {"C", "it_IT", "", "Preview"},
                     {"POSIX", "", "", "Preview"},           {"", "", "", "Preview"},
                     {"ja_JP.UTF-8", "", "", "Preview"},     {"ru", "", "", "Просмотр"}};
  std::string saved[3];
  const char* names[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (int i = 0; i < 3; ++i) saved[i] = std::getenv(names[i]) ? std::getenv(names[i]) : "";
  for (const Case& c : cases) {
    setenv("LC_ALL", c.all, 1), setenv("LC_MESSAGES", c.messages, 1), setenv("LANG", c.lang, 1);
    EXPECT_EQ(GetWord(0, L::msSystem), c.word0) << c.all << "|" << c.messages << "|" << c.lang;
  }
  for (int i = 0; i < 3; ++i) setenv(names[i], saved[i].c_str(), 1);
}

}  // namespace
}  // namespace quillet
