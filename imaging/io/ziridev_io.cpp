// The I/O component: dispatch by extension, code or content, the steps around
// every codec run, parameters-only reads, stream headers and descriptions.
#include "imaging/io/ziridev_io.h"

#include <cstdint>
#include <optional>

#include "imaging/io/alpha_plane.h"
#include "imaging/io/auto_dpi.h"
#include "imaging/core/failure_guard.h"
#include "imaging/io/format_detect.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/safe_save.h"
#include "imaging/io/stream_header.h"

namespace quillet {

namespace {

std::string FormatName(const TFileFormatInfo* format) { return format ? format->Name : "unknown format"; }

// Codecs never throw by contract; whatever still escapes, and the
// dispatcher's own allocations (resampling, conversion), end the operation
// like any other failure.
template <class F>
void Guarded(F&& work, TZiridEvIO& io) {
  if (const std::optional<std::string> why = FailureOf(work)) {
    io.Aborting = true;
    io.LastError = *why;
  }
}

}  // namespace

TZiridEvIO::TZiridEvIO() : Params(this) { Params.Reset(); }

TZiridEvIO::~TZiridEvIO() = default;

bool TZiridEvIO::Begin() {
  Aborting = false;
  cancelled_ = false;
  LastError.clear();
  return link_.Bitmap() != nullptr;
}

void TZiridEvIO::Fail(const std::string& why) {
  Aborting = true;
  if (LastError.empty()) LastError = why;
}

void TZiridEvIO::ClearMetadata() {
  Params.IptcInfo.Clear();
  Params.JpegMarkers.Clear();
}

void TZiridEvIO::RefuseRead(const std::string& why) {
  ClearMetadata();
  Params.FileName.clear();
  Params.FileType = ftNone;
  Fail(why);
}

// The handler is wrapped to tell a cancel from a codec failure.
TIOProgress TZiridEvIO::MakeProgress(bool withEvents) {
  TIOProgress progress;
  if (withEvents && OnProgress)
    progress.OnProgress = [this](TZiridEvIO* sender, int per) {
      const bool before = Aborting;
      OnProgress(sender, per);
      if (!before && Aborting) cancelled_ = true;
    };
  progress.Sender = this;
  progress.Aborting = &Aborting;
  progress.Error = &LastError;
  return progress;
}

const TFileFormatInfo* TZiridEvIO::ReadableFormat(int32_t fileType) {
  const TFileFormatInfo* format = FindFormatByType(fileType);
  if (!format) {
    RefuseRead(fileType == ftNone ? "unknown file format" : "unknown file type code " + std::to_string(fileType));
    return nullptr;
  }
  if (!format->ReadProc) {
    Fail(FormatName(format) + " files cannot be read yet");
    return nullptr;
  }
  return format;
}

void TZiridEvIO::RunReader(const TFileFormatInfo& format, TIEStream& stream, TIEWorkingBitmap& target,
                           int64_t bytesAvailable, bool paramsOnly) {
  TIOProgress progress = MakeProgress(!paramsOnly);
  TIEMask* alpha = paramsOnly ? nullptr : link_.Alpha();
  TIOReadArgs args{stream, target, Params, progress, paramsOnly, bytesAvailable, format.FillsAlpha ? alpha : nullptr};
  Guarded(
      [&] {
        format.ReadProc(args);
        if (!format.FillsAlpha) MakeOpaqueAlpha(alpha, target);
      },
      *this);
  if (stream.Failed()) Fail(stream.ErrorText());
  if (Aborting && LastError.empty()) LastError = FailureText(format);
}

void TZiridEvIO::RunWriter(const TFileFormatInfo& format, TIEStream& stream) {
  TIOProgress progress = MakeProgress(true);
  TIOWriteArgs args{stream, *link_.Bitmap(), Params, progress, link_.Alpha()};
  Guarded([&] { format.WriteProc(args); }, *this);
  if (stream.Failed()) Fail(stream.ErrorText());
  if (Aborting && LastError.empty()) LastError = FailureText(format);
}

std::string TZiridEvIO::FailureText(const TFileFormatInfo& format) const {
  return cancelled_ ? "cancelled" : "damaged or unsupported " + FormatName(&format) + " data";
}

// Equalising runs only after a complete read: a failed or cancelled one
// leaves the image as the codec left it.
void TZiridEvIO::FinishRead(const TFileFormatInfo& format, const std::string& fileName, bool setsDpi) {
  if (AutoAdjustDPI && !Aborting)
    Guarded(
        [&] {
          if (EqualizeDpi(*link_.Bitmap(), Params)) StretchAlpha(link_.Alpha(), link_.Bitmap()->Width(), link_.Bitmap()->Height());
        },
        *this);
  Params.FileName = fileName;
  Params.FileType = format.TypeCode;
  if (setsDpi && link_.View()) link_.View()->SetDpi(Params.DpiX, Params.DpiY);
  TBGR background;
  if (format.ReadBackground && format.ReadBackground(Params, background)) SetBackground(background);
  Update();
}

// ---- reads

void TZiridEvIO::LoadFromFile(const std::string& fileName) {
  if (!Begin() || fileName.empty()) return;
  const int32_t fileType = FileTypeOfName(fileName);
  if (fileType == ftNone) return RefuseRead("unknown file extension");
  LoadFromFileFormat(fileName, fileType);
}

void TZiridEvIO::LoadFromFileFormat(const std::string& fileName, int32_t fileType) {
  if (!Begin()) return;
  const TFileFormatInfo* known = FindFormatByType(fileType);
  if (known && known->Metafile) return ImportMetafile(fileName, -1, -1);
  const TFileFormatInfo* format = ReadableFormat(fileType);
  if (!format) return;
  ClearMetadata();
  TIEFileStream file;
  if (!file.Open(fileName, TIEFileStream::fmRead)) return Fail("cannot open " + fileName + ": " + file.ErrorText());
  if (format->BeforeFileRead) format->BeforeFileRead(Params, Background());
  RunReader(*format, file, *link_.Bitmap(), file.Size(), false);
  FinishRead(*format, fileName, format->FileReadSetsDpi);
}

void TZiridEvIO::LoadFromStream(TIEStream& stream) {
  if (!Begin()) return;
  const int32_t fileType = DetectStreamFormat(stream);
  if (fileType == ftNone) return RefuseRead("unknown file format");
  ReadStream(stream, fileType);
}

void TZiridEvIO::LoadFromStreamFormat(TIEStream& stream, int32_t fileType) {
  if (!Begin()) return;
  ReadStream(stream, fileType);
}

// A format with a stream header but no codec yet still takes its header, so
// that the stream is left as the codec would leave it.
void TZiridEvIO::ReadStream(TIEStream& stream, int32_t fileType) {
  const TFileFormatInfo* known = FindFormatByType(fileType);
  if (!known || known->Metafile) return RefuseRead(FormatName(known) + " cannot be read from a stream");
  const std::optional<TStreamFrame> frame = ReadStreamHeader(stream, *known, StreamHeaders);
  if (!frame) return ClearMetadata(), Fail("missing stream header");
  const TFileFormatInfo* format = ReadableFormat(fileType);
  if (!format) return;
  ClearMetadata();
  const int64_t bytes = format->StreamLengthFromHeader ? 0 : frame->BytesAvailable;
  RunReader(*format, stream, *link_.Bitmap(), bytes, false);
  if (frame->End >= 0) stream.Seek(frame->End, TSeekOrigin::soBeginning);
  FinishRead(*format, "", format->StreamReadSetsDpi);
}

// ---- parameters only

// The reader sees the frame's bytes (the rest of the stream without a stream
// header) and the stream is left after the frame when it has an end.
void TZiridEvIO::ReadParams(TIEStream& stream, int32_t fileType, const TStreamFrame& frame) {
  Params.FileType = fileType;
  ClearMetadata();
  const TFileFormatInfo* format = ReadableFormat(fileType);
  TIEWorkingBitmap untouched;
  if (format) RunReader(*format, stream, link_.Bitmap() ? *link_.Bitmap() : untouched, frame.BytesAvailable, true);
  if (frame.End >= 0) stream.Seek(frame.End, TSeekOrigin::soBeginning);
  if (Aborting) Params.FileType = ftNone;
}

void TZiridEvIO::ParamsFromFile(const std::string& fileName) {
  ParamsFromFileFormat(fileName, DetectFileFormat(fileName, true));
}

void TZiridEvIO::ParamsFromFileFormat(const std::string& fileName, int32_t fileType) {
  Begin();
  TIEFileStream file;
  if (file.Open(fileName, TIEFileStream::fmRead))
    ReadParams(file, fileType, {file.Remaining(), -1});
  else
    Params.FileType = ftNone, Fail("cannot open " + fileName + ": " + file.ErrorText());
  Params.FileName = fileName;
}

void TZiridEvIO::ParamsFromStream(TIEStream& stream) { ParamsFromStreamFormat(stream, DetectStreamFormat(stream)); }

// Stream data may carry a stream header, as for a full read.
void TZiridEvIO::ParamsFromStreamFormat(TIEStream& stream, int32_t fileType) {
  Begin();
  const TFileFormatInfo* known = FindFormatByType(fileType);
  const std::optional<TStreamFrame> frame = known ? ReadStreamHeader(stream, *known, StreamHeaders)
                                                  : std::optional<TStreamFrame>(TStreamFrame{stream.Remaining(), -1});
  if (!frame) {
    Params.FileType = ftNone;
    return Fail("missing stream header");
  }
  ReadParams(stream, fileType, *frame);
}

// ---- writes

const TFileFormatInfo* TZiridEvIO::PrepareWrite(int32_t fileType) {
  const TFileFormatInfo* format = FindFormatByType(fileType);
  if (!format || !format->WriteProc) {
    Fail(fileType == ftNone ? "unknown file extension" : FormatName(format) + " files cannot be written");
    return nullptr;
  }
  const TIEPixelFormat f = link_.Bitmap()->PixelFormat();
  if (f != TIEPixelFormat::pf1bit && f != TIEPixelFormat::pf24bit)
    Guarded([&] { link_.Bitmap()->SetPixelFormat(TIEPixelFormat::pf24bit); }, *this);
  return Aborting ? nullptr : format;
}

void TZiridEvIO::SaveToFile(const std::string& fileName) {
  if (!Begin()) return;
  SaveToFileFormat(fileName, FileTypeOfName(fileName));
}

void TZiridEvIO::SaveToFileFormat(const std::string& fileName, int32_t fileType) {
  if (!Begin()) return;
  const TFileFormatInfo* format = PrepareWrite(fileType);
  if (!format) return;
  std::string error;
  const bool saved = SafeSave(
      fileName,
      [&](TIEStream& stream) {
        RunWriter(*format, stream);
        return !Aborting;
      },
      error);
  if (!saved) Fail(error.empty() ? "write failed" : error);
}

// The codec writes into memory first, so that a failed or cancelled write
// leaves the stream as it was; the stream header, when asked for, goes in
// front with the length of what the codec wrote.
void TZiridEvIO::SaveToStreamFormat(TIEStream& stream, int32_t fileType) {
  if (!Begin()) return;
  const TFileFormatInfo* format = PrepareWrite(fileType);
  if (!format) return;
  TIEMemoryStream encoded;
  RunWriter(*format, encoded);
  if (Aborting) return;
  const int64_t length = encoded.Size();
  const bool header = StreamHeaders && format->StreamTag;
  if (header && length > int64_t(UINT32_MAX)) return Fail("too large for a stream header");
  if (header) WriteStreamHeader(stream, format->StreamTag, length);
  if (!stream.WriteExact(encoded.Data(), length) || stream.Failed()) Fail(stream.ErrorText());
}

// ---- pages inserted into existing data

namespace {

// The bytes from the stream position to its end, in memory.
bool ReadRest(TIEStream& stream, TIEMemoryStream& data) {
  data.Bytes().resize(size_t(stream.Remaining()));
  return stream.ReadExact(data.Bytes().data(), int64_t(data.Bytes().size()));
}

}  // namespace

int TZiridEvIO::RunInsert(const TFileFormatInfo& format, TIEMemoryStream& data) {
  TIOProgress progress = MakeProgress(true);
  TIOWriteArgs args{data, *link_.Bitmap(), Params, progress, link_.Alpha()};
  int pages = 0;
  Guarded([&] { pages = format.InsertProc(args); }, *this);
  if (Aborting && LastError.empty()) LastError = FailureText(format);
  return Aborting ? 0 : pages;
}

// The page goes into a copy in memory, which replaces the file (through a
// file beside it) only when all went well.
int TZiridEvIO::InsertToFileFormat(const std::string& fileName, int32_t fileType) {
  if (!Begin()) return 0;
  const TFileFormatInfo* format = PrepareWrite(fileType);
  if (!format) return 0;
  if (!format->InsertProc) return Fail(FormatName(format) + " files take no inserted pages"), 0;
  TIEFileStream file;
  TIEMemoryStream data;
  if (!file.Open(fileName, TIEFileStream::fmRead) || !ReadRest(file, data))
    return Fail("cannot read " + fileName + ": " + file.ErrorText()), 0;
  file.Close();
  const int pages = RunInsert(*format, data);
  if (pages == 0) return 0;
  std::string error;
  const bool saved =
      SafeSave(fileName, [&](TIEStream& out) { return out.WriteExact(data.Data(), data.Size()); }, error);
  if (!saved) return Fail(error.empty() ? "write failed" : error), 0;
  return pages;
}

// The stream is rewritten from its position only after the insert succeeded.
int TZiridEvIO::InsertToStreamFormat(TIEStream& stream, int32_t fileType) {
  if (!Begin()) return 0;
  const TFileFormatInfo* format = PrepareWrite(fileType);
  if (!format) return 0;
  if (!format->InsertProc) return Fail(FormatName(format) + " data takes no inserted pages"), 0;
  const int64_t start = stream.Position();
  TIEMemoryStream data;
  if (!ReadRest(stream, data)) return Fail("cannot read the stream"), 0;
  const int pages = RunInsert(*format, data);
  stream.Seek(start, TSeekOrigin::soBeginning);
  if (pages == 0) return 0;
  if (!stream.WriteExact(data.Data(), data.Size()) || stream.Failed()) return Fail(stream.ErrorText()), 0;
  return pages;
}

int TZiridEvIO::CountImages(const std::string& fileName, int32_t fileType) {
  const TFileFormatInfo* format = FindFormatByType(fileType);
  TIEFileStream file;
  if (!format || !format->CountProc || !file.Open(fileName, TIEFileStream::fmRead)) return 0;
  int32_t count = 0;
  if (FailureOf([&] { count = format->CountProc(file); })) return 0;
  return count;
}

// ---- the rest

void TZiridEvIO::ImportMetafile(const std::string& fileName, int32_t width, int32_t height) {
  Aborting = false;
  LastError.clear();
  if (!link_.Bitmap() || width == 0 || height == 0) return;
  ClearMetadata();
  Fail("metafiles cannot be imported yet");
}

int32_t TZiridEvIO::DetectStreamFormat(TIEStream& stream) { return quillet::DetectStreamFormat(stream); }

int32_t TZiridEvIO::DetectFileFormat(const std::string& fileName, bool checkExtension) {
  return quillet::DetectFileFormat(fileName, checkExtension);
}

std::string TZiridEvIO::FileDescription(const TIOParamsVals& p) {
  const TFileFormatInfo* f = FindFormatByType(p.FileType);
  if (!f) return "";
  return std::string(f->Name) + " (" + FormatExtension(p.FileType, 0) + ")" + (f->Detail ? f->Detail(p) : "");
}

void TZiridEvIO::ClearImage() {
  if (!link_.Bitmap()) return;
  link_.Bitmap()->Fill(Background());
  Update();
}

void TZiridEvIO::Update() {
  if (link_.View()) link_.View()->ImageChange();
  else if (link_.Bitmap()) link_.Bitmap()->MarkModified();
}

bool TZiridEvIO::GifDecoderInstalled() { return bool(LzwSlots().GifDecoder); }
bool TZiridEvIO::GifEncoderInstalled() { return bool(LzwSlots().GifEncoder); }

}  // namespace quillet
