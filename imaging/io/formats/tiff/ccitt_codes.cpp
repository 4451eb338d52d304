// The T.4 code tables, written as the recommendation prints them.
#include "imaging/io/formats/tiff/ccitt_codes.h"

#include <array>
#include <cstring>

namespace quillet {

namespace {

// Codes 0..63 are terminating codes; 64..1728 make-up codes of the colour.
constexpr const char* kWhiteTerminating[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100"};

constexpr const char* kBlackTerminating[64] = {
    "0000110111",   "010",          "11",           "10",           "011",          "0011",
    "0010",         "00011",        "000101",       "000100",       "0000100",      "0000101",
    "0000111",      "00000100",     "00000111",     "000011000",    "0000010111",   "0000011000",
    "0000001000",   "00001100111",  "00001101000",  "00001101100",  "00000110111",  "00000101000",
    "00000010111",  "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010", "000011010011",
    "000011010100", "000011010101", "000011010110", "000011010111", "000001101100", "000001101101",
    "000011011010", "000011011011", "000001010100", "000001010101", "000001010110", "000001010111",
    "000001100100", "000001100101", "000001010010", "000001010011", "000000100100", "000000110111",
    "000000111000", "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111"};

// Make-up codes of 64 x (i + 1), i = 0..26 (64..1728).
constexpr const char* kWhiteMakeUp[27] = {
    "11011",     "10010",     "010111",    "0110111",   "00110110",  "00110111",  "01100100",
    "01100101",  "01101000",  "01100111",  "011001100", "011001101", "011010010", "011010011",
    "011010100", "011010101", "011010110", "011010111", "011011000", "011011001", "011011010",
    "011011011", "010011000", "010011001", "010011010", "011000",    "010011011"};

constexpr const char* kBlackMakeUp[27] = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",
    "000000110100",  "000000110101",  "0000001101100", "0000001101101", "0000001001010",
    "0000001001011", "0000001001100", "0000001001101", "0000001110010", "0000001110011",
    "0000001110100", "0000001110101", "0000001110110", "0000001110111", "0000001010010",
    "0000001010011", "0000001010100", "0000001010101", "0000001011010", "0000001011011",
    "0000001100100", "0000001100101"};

// Make-up codes of 1792 + 64 x i, i = 0..12 (1792..2560), both colours.
constexpr const char* kCommonMakeUp[13] = {"00000001000",  "00000001100",  "00000001101",  "000000010010",
                                           "000000010011", "000000010100", "000000010101", "000000010110",
                                           "000000010111", "000000011100", "000000011101", "000000011110",
                                           "000000011111"};

TCcittCode Parse(const char* text) {
  TCcittCode code;
  for (const char* p = text; *p; ++p) code.Bits = uint16_t(code.Bits << 1 | (*p == '1'));
  code.Length = uint8_t(std::strlen(text));
  return code;
}

using TTable = std::array<TCcittLookup, size_t(1) << kCcittPeekBits>;

void Enter(TTable& table, TCcittCode code, int16_t run) {
  const int free = kCcittPeekBits - code.Length;
  const size_t first = size_t(code.Bits) << free;
  for (size_t i = 0; i < (size_t(1) << free); ++i) table[first + i] = {run, code.Length};
}

TTable BuildTable(bool black) {
  TTable table{};
  const char* const* terminating = black ? kBlackTerminating : kWhiteTerminating;
  const char* const* makeUp = black ? kBlackMakeUp : kWhiteMakeUp;
  for (int i = 0; i < 64; ++i) Enter(table, Parse(terminating[i]), int16_t(i));
  for (int i = 0; i < 27; ++i) Enter(table, Parse(makeUp[i]), int16_t(64 * (i + 1)));
  for (int i = 0; i < 13; ++i) Enter(table, Parse(kCommonMakeUp[i]), int16_t(1792 + 64 * i));
  Enter(table, kCcittEolCode, kCcittEol);
  return table;
}

}  // namespace

std::span<const TCcittLookup> CcittRunTable(bool black) {
  static const TTable white = BuildTable(false), blackTable = BuildTable(true);
  return black ? blackTable : white;
}

TCcittCode CcittTerminatingCode(bool black, int run) {
  static const auto codes = [] {
    std::array<std::array<TCcittCode, 64>, 2> c;
    for (int i = 0; i < 64; ++i) c[0][size_t(i)] = Parse(kWhiteTerminating[i]), c[1][size_t(i)] = Parse(kBlackTerminating[i]);
    return c;
  }();
  return codes[black][size_t(run)];
}

TCcittCode CcittMakeUpCode(bool black, int run) {
  static const auto codes = [] {
    std::array<std::array<TCcittCode, 40>, 2> c;
    for (int i = 0; i < 27; ++i) c[0][size_t(i)] = Parse(kWhiteMakeUp[i]), c[1][size_t(i)] = Parse(kBlackMakeUp[i]);
    for (int i = 0; i < 13; ++i) c[0][size_t(27 + i)] = c[1][size_t(27 + i)] = Parse(kCommonMakeUp[i]);
    return c;
  }();
  return codes[black][size_t(run / 64 - 1)];
}

}  // namespace quillet
