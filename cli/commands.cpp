// The commands of quillet-cli on top of the I/O component.
#include "cli/commands.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/pam_writer.h"
#include "imaging/io/alpha_plane.h"
#include "imaging/io/codec.h"
#include "imaging/io/format_table.h"
#include "imaging/io/params_fields.h"
#include "imaging/io/safe_save.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::cli {

namespace {

int Fail(const std::string& file, const std::string& reason) {
  std::cerr << "quillet-cli: " << file << ": " << (reason.empty() ? "operation failed" : reason) << "\n";
  return 1;
}

// The parameter that picks the image of a multi-image file, by format.
void SelectIndex(TIOParamsVals& params, int32_t fileType, int index) {
  switch (fileType) {
    case ftGIF: params.GifImageIndex = index; break;
    case ftTIFF: params.TiffImageIndex = index; break;
    case ftICO: params.IcoImageIndex = index; break;
    case ftCUR: params.CurImageIndex = index; break;
    default: break;
  }
}

// Reads opts.input into `bitmap` and `alpha`, as a view reads; returns false
// (after the error line) on failure.
bool ReadInput(const TReadOptions& opts, TZiridEvIO& io, TIEWorkingBitmap& bitmap, TIEMask& alpha) {
  io.SetAttachedBitmap(&bitmap);
  io.SetAlphaMask(&alpha);
  io.AutoAdjustDPI = opts.autoDpi;
  SelectIndex(io.Params, TZiridEvIO::DetectFileFormat(opts.input, false), opts.index);
  io.LoadFromFile(opts.input);
  if (io.Aborting) return Fail(opts.input, io.LastError), false;
  if (bitmap.Empty()) return Fail(opts.input, "no image at index " + std::to_string(opts.index)), false;
  return true;
}

nlohmann::json ParamsJson(const TIOParamsVals& params) {
  nlohmann::json out = nlohmann::json::object();
  for (const TParamValue& v : ParamFieldValues(params)) {
    switch (v.Kind) {
      case TParamKind::pkInt:
      case TParamKind::pkEnum: out[v.Name] = int64_t(v.Numbers.at(0)); break;
      case TParamKind::pkBool: out[v.Name] = v.Numbers.at(0) != 0; break;
      case TParamKind::pkDouble: out[v.Name] = v.Numbers.at(0); break;
      case TParamKind::pkIntArray:
      case TParamKind::pkDoubleArray: out[v.Name] = v.Numbers; break;
      case TParamKind::pkText:
      case TParamKind::pkColor: out[v.Name] = v.Text; break;
    }
  }
  out["ColorMapCount"] = params.ColorMapCount;
  out["PxmComments"] = params.PxmComments;
  nlohmann::json markers = nlohmann::json::array();
  for (int64_t i = 0; i < params.JpegMarkers.Count(); ++i)
    markers.push_back({{"type", params.JpegMarkers.MarkerType(i)}, {"length", params.JpegMarkers.MarkerLength(i)}});
  out["JpegMarkers"] = markers;
  return out;
}

}  // namespace

int RunFormats() {
  for (const TFileFormatInfo& f : FileFormats()) {
    const TIOCodec* codec = FindCodec(f.TypeCode);
    const bool read = codec && codec->Read, write = codec && codec->Write;
    std::cout << f.TypeCode << "\t" << f.Name << "\t" << f.Extensions << "\t" << (read ? "read" : "-") << "\t"
              << (write ? "write" : "-") << "\n";
  }
  return 0;
}

int RunInfo(const TReadOptions& opts) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (!ReadInput(opts, io, bitmap, alpha)) return 1;
  const TIOParamsVals& p = io.Params;
  const nlohmann::json info = {
      {"file", opts.input},
      {"file_type", p.FileType},
      {"format", TZiridEvIO::FileDescription(p)},
      {"width", bitmap.Width()},
      {"height", bitmap.Height()},
      {"pixel_format", bitmap.BitCount()},
      {"dpi_x", p.DpiX},
      {"dpi_y", p.DpiY},
      {"has_alpha", HasTransparency(alpha)},
      {"params", ParamsJson(p)},
  };
  std::cout << info.dump(2) << "\n";
  return 0;
}

int RunConvert(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& sets) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (!ReadInput(opts, io, bitmap, alpha)) return 1;
  for (const std::string& set : sets) {
    const size_t eq = set.find('=');
    std::string error;
    if (eq == std::string::npos) {
      std::cerr << "quillet-cli: --set " << set << ": expected Field=Value\n";
      return 2;
    }
    if (!SetParamField(io.Params, set.substr(0, eq), set.substr(eq + 1), error)) {
      std::cerr << "quillet-cli: --set " << set << ": " << error << "\n";
      return 2;
    }
  }
  io.SaveToFile(output);
  return io.Aborting ? Fail(output, io.LastError) : 0;
}

int RunExportRaw(const TReadOptions& opts, const std::string& output) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (!ReadInput(opts, io, bitmap, alpha)) return 1;
  std::string error;
  const bool ok = SafeSave(output, [&](TIEStream& out) { return WritePam(bitmap, HasTransparency(alpha) ? &alpha : nullptr, out); }, error);
  return ok ? 0 : Fail(output, error);
}

}  // namespace quillet::cli
