// The Targa version 2 extension area (495 bytes: author, date stamp, job
// name, key colour, aspect ratio, gamma) and the 26-byte footer that points
// to it.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/io/io_params.h"

namespace quillet {

constexpr int64_t kTgaExtensionBytes = 495;
constexpr int64_t kTgaFooterBytes = 26;

using TTgaExtension = std::array<uint8_t, kTgaExtensionBytes>;
using TTgaFooter = std::array<uint8_t, kTgaFooterBytes>;

// The extension offset a footer gives; 0 without the signature.
int64_t TgaExtensionOffset(const TTgaFooter& footer);
TTgaFooter MakeTgaFooter(uint32_t extensionOffset);

// The fields of an extension area into the parameters: the date only when it
// is a valid date and time, aspect and gamma only when both numbers are non-zero.
void ReadTgaExtension(const TTgaExtension& area, TIOParamsVals& p);
TTgaExtension MakeTgaExtension(const TIOParamsVals& p);

}  // namespace quillet
