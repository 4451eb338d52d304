// The format table: one description per file format, listed by the registry
// in a fixed order (TIFF first, PXM last), and the look-ups over it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/io/codec.h"

namespace quillet {


// A content test and its place among every format's tests: detection runs
// all tests of all formats by ascending Order and the first that accepts wins.
// The test reads from the stream's position; detection puts the position back.
struct TIOContentTest {
  int Order = 0;
  TIOTestProc Accepts = nullptr;
};

// How a stream reader treats the 12-byte stream header in front of its data.
enum class TStreamHeaderKind : uint8_t {
  shNone,      // never carries one
  shRequired,  // required when StreamHeaders is on; a missing tag fails the read
  shLegacy,    // as shRequired, and an older 4-byte tag with no length is still read
  shOptional,  // looked for whatever StreamHeaders says
};

// One row of the format table: a file format's description, everything the
// dispatcher, detection, the file filters and the command line know of it.
struct TFileFormatInfo {
  int32_t TypeCode = ftNone;
  const char* Name = "";             // at most 80 characters
  const char* Extensions = "";       // the table's list: upper case, ";"-separated, no dots
  const char* ExtraExtensions = "";  // further names read and written by extension, not listed
  std::span<const TIOContentTest> Tests = {};
  TIOReadProc ReadProc = nullptr;    // none: the format cannot be read yet
  TIOWriteProc WriteProc = nullptr;  // none: the format cannot be written
  // Whether the coder the reader (false) or writer (true) needs is installed;
  // none: always. The file dialogs hide a format that cannot be coded now.
  bool (*CoderInstalled)(bool writing) = nullptr;
  bool FillsAlpha = false;       // the reader sets the alpha plane itself
  bool Metafile = false;         // read through the metafile import
  // The parameter that picks the image of a multi-image file, or none.
  int32_t TIOParamsVals::*ImageIndex = nullptr;
  // The parameter a read fills with the number of images in the file, or none.
  int32_t TIOParamsVals::*ImageCount = nullptr;
  // The parameter fields the codec reads or fills beyond the size, resolution
  // and sample layout every format has, by name; "Exif*" stands for every
  // field whose name starts with Exif.
  std::span<const char* const> Fields = {};
  // What FileDescription appends after the name and extension.
  std::string (*Detail)(const TIOParamsVals& params) = nullptr;
  const char* StreamTag = nullptr;
  TStreamHeaderKind StreamHeader = TStreamHeaderKind::shNone;
  bool FileReadSetsDpi = true;    // a file read sets the view's resolution
  bool StreamReadSetsDpi = true;  // so does a stream read
  // The stream reader is given no byte count and takes it from its own header.
  bool StreamLengthFromHeader = false;
  // Before a file read: the parameters learn the component's background.
  void (*BeforeFileRead)(TIOParamsVals& params, TBGR background) = nullptr;
  // After a read: the background the component takes from the parameters.
  bool (*ReadBackground)(const TIOParamsVals& params, TBGR& background) = nullptr;
  // The palette depths (bits per pixel, fewest first) the writer makes when
  // BitsPerSample asks for one with SamplesPerPixel 1, keeping the image's
  // own colours when they fit.
  std::span<const int> ExactPaletteDepths = {};
  // Inserts the image as a page into the file data of the stream; the page
  // count then, or 0 on failure. None: pages cannot be inserted.
  int (*InsertProc)(TIOWriteArgs& args) = nullptr;
  // The number of images of the file data from the stream position on.
  int32_t (*CountProc)(TIEStream& stream) = nullptr;
};

// The format has a reader (or writer) and the coder it needs.
inline bool CanRead(const TFileFormatInfo& f) { return f.ReadProc && (!f.CoderInstalled || f.CoderInstalled(false)); }
inline bool CanWrite(const TFileFormatInfo& f) { return f.WriteProc && (!f.CoderInstalled || f.CoderInstalled(true)); }

// Text i of a description table, or "" past its end.
template <size_t N>
std::string PickText(const char* const (&texts)[N], size_t i) {
  return i < N ? texts[i] : "";
}

// Every entry, in table order.
const std::vector<const TFileFormatInfo*>& FileFormats();
// Adds a format after the built-in ones (its code must be new); the format
// table, detection, the dispatcher and the file filters take it from then on.
void RegisterFormat(const TFileFormatInfo& format);

// First entry with that code, or nullptr.
const TFileFormatInfo* FindFormatByType(int32_t code);
// First entry listing `ext` (no dot, any case), or nullptr.
const TFileFormatInfo* FindFormatByExtension(const std::string& ext);
// Extension i (from 0) of the entry of `code`, or "" when there is none.
std::string FormatExtension(int32_t code, int i);
int FormatExtensionCount(int32_t code);
// The items of a ";"-separated extension list.
std::vector<std::string> SplitExtensions(const std::string& list);

// The type code a file name's extension stands for (0 when none): the table's
// extensions, then each entry's further names (such as WIN for Targa).
int32_t FileTypeOfName(const std::string& fileName);

// After a read that did not fail, for a format that counts its images
// (FileType's row has ImageCount): "no image at index N (the file has M)"
// when the image asked for is past the last one, else "".
std::string MissingImageText(const TIOParamsVals& params);

// The fewest bits per pixel among the exact palette depths of the format of
// `code` that hold `colors` colours, or 0 when none does.
int ExactPaletteDepth(int32_t code, int colors);

}  // namespace quillet
