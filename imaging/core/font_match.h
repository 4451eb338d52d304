// Font lookup through fontconfig: the face file for a family with a weight
// and slant, with fontconfig's answers on synthetic emboldening and slanting,
// and the list of scalable families. fontconfig starts at first use.
#pragma once

#include <string>
#include <vector>

namespace quillet {

struct TFontMatch {
  std::string File;  // empty when nothing matched
  int Index = 0;     // face inside the file
  bool Embolden = false;
  // The 2 x 2 transform fontconfig asks for (its slant for a synthetic italic).
  double Xx = 1, Xy = 0, Yx = 0, Yy = 1;
  bool HasMatrix() const { return Xx != 1 || Xy != 0 || Yx != 0 || Yy != 1; }
};

TFontMatch MatchFont(const std::string& family, bool bold, bool italic);

// The families of the scalable faces installed, sorted, each once.
std::vector<std::string> ScalableFontFamilies();

}  // namespace quillet
