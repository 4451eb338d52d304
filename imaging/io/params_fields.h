// Named access to the plain fields of the parameter record, for the command
// line: set a field from text, and list every field with its value.
#pragma once

#include <string>
#include <vector>

#include "imaging/io/io_params.h"

namespace quillet {

enum class TParamKind { pkInt, pkBool, pkDouble, pkText, pkColor, pkEnum, pkIntArray, pkDoubleArray };

struct TParamValue {
  std::string Name;  // exactly the field's name, e.g. "JpegQuality"
  TParamKind Kind = TParamKind::pkInt;
  // The value as text: booleans "true"/"false", enums by value name, colours
  // "#RRGGBB", arrays as comma-separated numbers.
  std::string Text;
  // The number(s) of numeric kinds: booleans 0/1, enums by number, array
  // items in order; empty for texts and colours.
  std::vector<double> Numbers;
};

// Sets one field. Integers (within the field's range), booleans as 0/1/true/
// false, enums by number or value name ("LZW"), reals, texts, colours as
// "#RRGGBB" or "r,g,b", arrays as comma-separated items. On failure the
// record is unchanged and `error` says why.
bool SetParamField(TIOParamsVals& params, const std::string& name, const std::string& value, std::string& error);

// Every plain field in declaration order. Not listed: the LZW coders, the
// marker and IPTC lists, the PXM comments, the thumbnail and the palette.
std::vector<TParamValue> ParamFieldValues(const TIOParamsVals& params);

// The name of every field of the record: those ParamFieldValues lists, then
// the rest (the EXIF arrays by the names of their indexed accessors).
std::vector<std::string> ParamFieldNames();

}  // namespace quillet
