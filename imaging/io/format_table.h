// The process-wide format table: type codes, names and extensions of every
// file format, and the look-ups the dispatcher and the file dialogs use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/io/codec.h"

namespace quillet {

struct TFileFormatInfo {
  int32_t TypeCode = ftNone;
  std::string Name;        // at most 80 characters
  std::string Extensions;  // upper case, ";"-separated, no dots
  // Entry points of formats served outside the built-in codecs; the built-in
  // rows leave them empty and the dispatcher calls the codecs directly.
  TIOReadProc ReadProc = nullptr;
  TIOWriteProc WriteProc = nullptr;
  TIOTestProc TestProc = nullptr;
};

// Every entry, in the fixed order (TIFF first, PXM last).
const std::vector<TFileFormatInfo>& FileFormats();

// First entry with that code, or nullptr.
const TFileFormatInfo* FindFormatByType(int32_t code);
// First entry listing `ext` (no dot, any case), or nullptr.
const TFileFormatInfo* FindFormatByExtension(const std::string& ext);
// Extension i (from 0) of the entry of `code`, or "" when there is none.
std::string FormatExtension(int32_t code, int i);
int FormatExtensionCount(int32_t code);

// The type code a file name's extension stands for (0 when none): the table's
// extensions, plus "win", which the Targa codec also answers to, and "jfif",
// which names JPEG files.
int32_t FileTypeOfName(const std::string& fileName);

}  // namespace quillet
