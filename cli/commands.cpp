// The commands of quillet-cli on top of the I/O and processing components.
#include "cli/commands.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/apply_steps.h"
#include "cli/colour_commands.h"
#include "cli/draw_ops.h"
#include "cli/pam_writer.h"
#include "imaging/core/failure_guard.h"
#include "imaging/io/alpha_plane.h"
#include "imaging/io/format_table.h"
#include "imaging/io/params_fields.h"
#include "imaging/io/safe_save.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet::cli {

namespace {

// The parameter that picks the image of a multi-image file, by format.
void SelectIndex(TIOParamsVals& params, int32_t fileType, int index) {
  const TFileFormatInfo* format = FindFormatByType(fileType);
  if (format && format->ImageIndex) params.*format->ImageIndex = index;
}

// The lines of a text, without their line ends; none for an empty text.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t end; from < text.size(); from = end + 1) {
    end = std::min(text.find('\n', from), text.size());
    std::string line = text.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Field=Value assignments of --set, in order; false (after the error line)
// on a malformed one. PxmComments takes one comment per line of the value. Asking for 1, 4 or 8 bits per sample without saying how
// many samples means a palette image: one sample per pixel.
bool ApplySets(TIOParamsVals& params, const std::vector<std::string>& sets) {
  bool bits = false, samples = false;
  for (const std::string& set : sets) {
    const size_t eq = set.find('=');
    std::string error;
    if (eq == std::string::npos) {
      std::cerr << "quillet-cli: --set " << set << ": expected Field=Value\n";
      return false;
    }
    const std::string name = set.substr(0, eq);
    if (name == "PxmComments") {
      params.PxmComments = LinesOf(set.substr(eq + 1));
      continue;
    }
    if (!SetParamField(params, name, set.substr(eq + 1), error)) {
      std::cerr << "quillet-cli: --set " << set << ": " << error << "\n";
      return false;
    }
    bits = bits || name == "BitsPerSample";
    samples = samples || name == "SamplesPerPixel";
  }
  if (bits && !samples && params.BitsPerSample <= 8) params.SamplesPerPixel = 1;
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
  nlohmann::json iptc = nlohmann::json::array();
  for (int64_t i = 0; i < params.IptcInfo.Count(); ++i)
    iptc.push_back({{"record", params.IptcInfo.RecordNumber(i)},
                    {"dataset", params.IptcInfo.DataSet(i)},
                    {"text", params.IptcInfo.StringItem(i)}});
  out["IptcInfo"] = iptc;
  return out;
}

}  // namespace

int Fail(const std::string& file, const std::string& reason) {
  std::cerr << "quillet-cli: " << file << ": " << (reason.empty() ? "operation failed" : reason) << "\n";
  return 1;
}

int ReadInput(const TReadOptions& opts, TZiridEvIO& io, TIEWorkingBitmap& bitmap, TIEMask& alpha) {
  if (!ApplySets(io.Params, opts.sets)) return 2;
  io.SetAttachedBitmap(&bitmap);
  io.SetAlphaMask(&alpha);
  io.AutoAdjustDPI = opts.autoDpi;
  SelectIndex(io.Params, TZiridEvIO::DetectFileFormat(opts.input, false), opts.index);
  io.LoadFromFile(opts.input);
  if (io.Aborting) return Fail(opts.input, io.LastError);
  if (const std::string missing = MissingImageText(io.Params); !missing.empty()) return Fail(opts.input, missing);
  if (bitmap.Empty()) return Fail(opts.input, "no image at index " + std::to_string(opts.index));
  return 0;
}

// One line per format: code, name, extensions, read, write and the parameter
// fields it uses.
int RunFormats() {
  for (const TFileFormatInfo* f : FileFormats()) {
    std::string fields;
    for (const char* name : f->Fields) fields += (fields.empty() ? "" : ",") + std::string(name);
    std::cout << f->TypeCode << "\t" << f->Name << "\t" << f->Extensions << "\t" << (f->ReadProc ? "read" : "-")
              << "\t" << (f->WriteProc ? "write" : "-") << "\t" << fields << "\n";
  }
  return 0;
}

int RunInfo(const TReadOptions& opts) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (const int status = ReadInput(opts, io, bitmap, alpha)) return status;
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
      {"exif_thumbnail", {p.ExifThumbnail.Width(), p.ExifThumbnail.Height()}},
      {"params", ParamsJson(p)},
  };
  // Texts of files (IPTC above all) need not be UTF-8.
  std::cout << info.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  return 0;
}

int RunConvert(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& sets) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (const int status = ReadInput(opts, io, bitmap, alpha)) return status;
  if (!ApplySets(io.Params, sets)) return 2;
  io.SaveToFile(output);
  return io.Aborting ? Fail(output, io.LastError) : 0;
}

int RunInsert(const TReadOptions& opts, const std::string& output, int after) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (const int status = ReadInput(opts, io, bitmap, alpha)) return status;
  if (!ApplySets(io.Params, opts.sets)) return 2;
  io.Params.TiffImageIndex = after;
  const int pages = io.InsertToFileTIFF(output);
  if (io.Aborting) return Fail(output, io.LastError);
  std::cout << nlohmann::json{{"file", output}, {"page_count", pages}}.dump() << "\n";
  return 0;
}

int RunQuantize(const TReadOptions& opts, const std::string& output, int colors, const std::vector<std::string>& sets) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (const int status = ReadInput(opts, io, bitmap, alpha)) return status;
  if (!ApplySets(io.Params, sets)) return 2;
  bitmap.SetPixelFormat(TIEPixelFormat::pf24bit);
  TZiridEvProc proc;
  proc.AutoUndo = false;
  proc.SetAttachedBitmap(&bitmap);
  proc.Quantize(colors);
  // A format with palettes that keep the image's colours gets the fewest
  // bits per pixel that hold them; others get the image in its new colours.
  if (const int bits = ExactPaletteDepth(FileTypeOfName(output), colors)) {
    io.Params.BitsPerSample = bits;
    io.Params.SamplesPerPixel = 1;
  }
  io.SaveToFile(output);
  return io.Aborting ? Fail(output, io.LastError) : 0;
}

int RunApply(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& steps,
             const std::vector<std::string>& sets, const TSelectOptions& selection) {
  std::vector<TApplyStep> operations;
  for (const std::string& text : steps) {
    std::string error;
    const std::optional<TApplyStep> step = ParseApplyStep(text, error);
    if (!step) {
      std::cerr << "quillet-cli: " << error << "\n" << ApplyStepsHelp() << "\n";
      return 2;
    }
    operations.push_back(*step);
  }
  // The steps work on a view's image, so that those that honour a selection keep inside it.
  TZiridEvIO io;
  TIEHeadlessView view;
  if (const int status = ReadInput(opts, io, view.Bitmap(), view.Alpha())) return status;
  if (!ApplySets(io.Params, sets)) return 2;
  if (const int status = ApplySelection(view, selection)) return status;
  TZiridEvProc proc;
  proc.AutoUndo = false;  // nothing here could take a step back
  proc.SetAttachedZiridEv(&view);
  if (const auto failure = FailureOf([&] {
        for (const TApplyStep& op : operations) op(proc);
      }))
    return Fail(opts.input, *failure == kOutOfMemory ? "not enough memory for the steps" : "the steps failed: " + *failure);
  io.SaveToFile(output);
  return io.Aborting ? Fail(output, io.LastError) : 0;
}

int RunDraw(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& ops,
            const std::vector<std::string>& sets) {
  std::vector<TDrawOp> operations;
  for (const std::string& text : ops) {
    std::string error;
    std::optional<TDrawOp> op = ParseDrawOp(text, error);
    if (!op) {
      std::cerr << "quillet-cli: " << error << "\n" << DrawOpsHelp() << "\n";
      return 2;
    }
    operations.push_back(std::move(*op));
  }
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (const int status = ReadInput(opts, io, bitmap, alpha)) return status;
  if (!ApplySets(io.Params, sets)) return 2;
  const auto save = [&](const std::string& file) {
    io.SaveToFile(file);
    if (io.Aborting) Fail(file, io.LastError);
    return !io.Aborting;
  };
  int status = 0;
  if (const auto failure = FailureOf([&] {
        if (bitmap.BitCount() != 1 && bitmap.BitCount() != 24) bitmap.SetPixelFormat(TIEPixelFormat::pf24bit);
        TDrawSession session(bitmap, save);
        for (const TDrawOp& op : operations)
          if (!op(session)) {
            status = 1;
            return;
          }
      }))
    return Fail(opts.input, *failure == kOutOfMemory ? "not enough memory for the ops" : "the ops failed: " + *failure);
  if (status) return status;
  return save(output) ? 0 : 1;
}

int RunExportRaw(const TReadOptions& opts, const std::string& output) {
  TZiridEvIO io;
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  if (const int status = ReadInput(opts, io, bitmap, alpha)) return status;
  std::string error;
  const bool ok = SafeSave(output, [&](TIEStream& out) { return WritePam(bitmap, HasTransparency(alpha) ? &alpha : nullptr, out); }, error);
  return ok ? 0 : Fail(output, error);
}

}  // namespace quillet::cli
