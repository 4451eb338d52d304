// The I/O component: dispatch by extension, code or content, the steps around
// every codec run, parameters-only reads, stream headers and descriptions.
#include "imaging/io/ziridev_io.h"

#include <exception>
#include <new>

#include "imaging/io/alpha_plane.h"
#include "imaging/io/auto_dpi.h"
#include "imaging/io/codec.h"
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/lzw_slots.h"
#include "imaging/io/safe_save.h"
#include "imaging/io/stream_header.h"

namespace quillet {

namespace {

std::string FormatName(int32_t fileType) {
  const TFileFormatInfo* f = FindFormatByType(fileType);
  return f ? f->Name : "unknown format";
}

// Codecs never throw by contract; whatever still escapes (running out of
// memory above all) ends the operation like any other failure, and the
// dispatcher's own allocations (resampling, conversion) are treated alike.
template <class F>
void Guarded(F&& work, TZiridEvIO& io) {
  try {
    work();
  } catch (const std::bad_alloc&) {
    io.Aborting = true;
    io.LastError = "out of memory";
  } catch (const std::exception& e) {
    io.Aborting = true;
    io.LastError = e.what();
  }
}

template <size_t N>
std::string Pick(const char* const (&texts)[N], size_t i) {
  return i < N ? texts[i] : "";
}

std::string DescriptionDetail(const TIOParamsVals& p) {
  static const char* const kTiff[] = {" Uncompressed", " Huffman", " Group 3 Fax", " Group 3 Fax 2D", " Group 4 Fax",
                                      " LZW", " Jpeg v.5", " Jpeg", " PackBits RLE"};
  static const char* const kJpeg[] = {"", " Gray level", " YCbCr", " CMYK", " YCbCrK"};
  static const char* const kBmp[] = {" ver.1", " ver.3", " OS/2 v.1", " OS/2 v.2"};
  switch (p.FileType) {
    case ftTIFF: return Pick(kTiff, size_t(p.TiffCompression));
    case ftGIF: return p.GifInterlaced ? " Interlaced" : "";
    case ftJPEG: return Pick(kJpeg, size_t(p.JpegColorSpace));
    case ftPCX: return p.PcxCompression == 0 ? " Uncompressed" : "";
    case ftBMP: return Pick(kBmp, p.BmpVersion);
    case ftPNG: return p.PngInterlaced ? " Interlaced" : "";
    case ftTGA: return p.TgaCompressed ? " Compressed" : " Uncompressed";
    default: return "";
  }
}

// Stream reads of these formats leave the view's resolution as it was.
bool StreamReadSetsDpi(int32_t fileType) {
  for (const int32_t keeps : {ftGIF, ftBMP, ftICO, ftCUR, ftTGA, ftPXM})
    if (fileType == keeps) return false;
  return true;
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

bool TZiridEvIO::RunReader(int32_t fileType, TIEStream& stream, TIEWorkingBitmap& target, int64_t bytesAvailable,
                           bool paramsOnly) {
  const TIOCodec* codec = FindCodec(fileType);
  if (!codec || !codec->Read) {
    Fail(FormatName(fileType) + " files cannot be read yet");
    return false;
  }
  TIOProgress progress = MakeProgress(!paramsOnly);
  TIEMask* alpha = paramsOnly ? nullptr : link_.Alpha();
  TIOReadArgs args{stream, target, Params, progress, paramsOnly, bytesAvailable, codec->FillsAlpha ? alpha : nullptr};
  Guarded(
      [&] {
        codec->Read(args);
        if (!codec->FillsAlpha) MakeOpaqueAlpha(alpha, target);
      },
      *this);
  if (stream.Failed()) Fail(stream.ErrorText());
  if (Aborting && LastError.empty()) LastError = FailureText(fileType);
  return true;
}

void TZiridEvIO::RunWriter(int32_t fileType, TIEStream& stream) {
  TIOProgress progress = MakeProgress(true);
  TIOWriteArgs args{stream, *link_.Bitmap(), Params, progress, link_.Alpha()};
  Guarded([&] { FindCodec(fileType)->Write(args); }, *this);
  if (stream.Failed()) Fail(stream.ErrorText());
  if (Aborting && LastError.empty()) LastError = FailureText(fileType);
}

std::string TZiridEvIO::FailureText(int32_t fileType) const {
  return cancelled_ ? "cancelled" : "damaged or unsupported " + FormatName(fileType) + " data";
}

// Equalising runs only after a complete read: a failed or cancelled one
// leaves the image as the codec left it.
void TZiridEvIO::FinishRead(int32_t fileType, const std::string& fileName, bool setsDpi) {
  if (AutoAdjustDPI && !Aborting)
    Guarded(
        [&] {
          if (EqualizeDpi(*link_.Bitmap(), Params)) StretchAlpha(link_.Alpha(), link_.Bitmap()->Width(), link_.Bitmap()->Height());
        },
        *this);
  Params.FileName = fileName;
  Params.FileType = fileType;
  if (setsDpi && link_.View()) link_.View()->SetDpi(Params.DpiX, Params.DpiY);
  if (fileType == ftGIF) SetBackground(Params.GifTransparent ? Params.GifTransparentColor : Params.GifBackground);
  if (fileType == ftPNG) SetBackground(Params.PngBackground);
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
  if (fileType == ftWMF || fileType == ftEMF) return ImportMetafile(fileName, -1, -1);
  if (!FindCodec(fileType) || !FindCodec(fileType)->Read) return RefuseRead(FormatName(fileType) + " files cannot be read yet");
  ClearMetadata();
  TIEFileStream file;
  if (!file.Open(fileName, TIEFileStream::fmRead)) return Fail("cannot open " + fileName + ": " + file.ErrorText());
  // A PNG without a background of its own is composited over the current one.
  if (fileType == ftPNG) Params.PngBackground = Background();
  if (!RunReader(fileType, file, *link_.Bitmap(), file.Size(), false)) return;
  FinishRead(fileType, fileName, fileType != ftPXM);
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

void TZiridEvIO::ReadStream(TIEStream& stream, int32_t fileType) {
  if (!FindCodec(fileType) || !FindCodec(fileType)->Read) return RefuseRead(FormatName(fileType) + " files cannot be read yet");
  ClearMetadata();
  const std::optional<TStreamFrame> frame = ReadStreamHeader(stream, fileType, StreamHeaders);
  if (!frame) return Fail("missing stream header");
  // The BMP reader takes the length from its own file header.
  const int64_t bytes = fileType == ftBMP ? 0 : frame->BytesAvailable;
  if (!RunReader(fileType, stream, *link_.Bitmap(), bytes, false)) return;
  if (frame->End >= 0) stream.Seek(frame->End, TSeekOrigin::soBeginning);
  FinishRead(fileType, "", StreamReadSetsDpi(fileType));
}

// ---- parameters only

void TZiridEvIO::ReadParams(TIEStream& stream, int32_t fileType) {
  Params.FileType = fileType;
  ClearMetadata();
  TIEWorkingBitmap untouched;
  RunReader(fileType, stream, link_.Bitmap() ? *link_.Bitmap() : untouched, stream.Remaining(), true);
  if (Aborting) Params.FileType = ftNone;
}

void TZiridEvIO::ParamsFromFile(const std::string& fileName) {
  ParamsFromFileFormat(fileName, DetectFileFormat(fileName, true));
}

void TZiridEvIO::ParamsFromFileFormat(const std::string& fileName, int32_t fileType) {
  Begin();
  TIEFileStream file;
  if (file.Open(fileName, TIEFileStream::fmRead))
    ReadParams(file, fileType);
  else
    Params.FileType = ftNone, Fail("cannot open " + fileName + ": " + file.ErrorText());
  Params.FileName = fileName;
}

void TZiridEvIO::ParamsFromStream(TIEStream& stream) { ParamsFromStreamFormat(stream, DetectStreamFormat(stream)); }

void TZiridEvIO::ParamsFromStreamFormat(TIEStream& stream, int32_t fileType) {
  Begin();
  ReadParams(stream, fileType);
}

// ---- writes

bool TZiridEvIO::PrepareWrite(int32_t fileType) {
  const TIOCodec* codec = FindCodec(fileType);
  if (!codec || !codec->Write) {
    Fail(fileType == ftNone ? "unknown file extension" : FormatName(fileType) + " files cannot be written yet");
    return false;
  }
  const TIEPixelFormat f = link_.Bitmap()->PixelFormat();
  if (f != TIEPixelFormat::pf1bit && f != TIEPixelFormat::pf24bit)
    Guarded([&] { link_.Bitmap()->SetPixelFormat(TIEPixelFormat::pf24bit); }, *this);
  return !Aborting;
}

void TZiridEvIO::SaveToFile(const std::string& fileName) {
  if (!Begin()) return;
  SaveToFileFormat(fileName, FileTypeOfName(fileName));
}

void TZiridEvIO::SaveToFileFormat(const std::string& fileName, int32_t fileType) {
  if (!Begin() || !PrepareWrite(fileType)) return;
  std::string error;
  const bool saved = SafeSave(
      fileName,
      [&](TIEStream& stream) {
        RunWriter(fileType, stream);
        return !Aborting;
      },
      error);
  if (!saved) Fail(error.empty() ? "write failed" : error);
}

void TZiridEvIO::SaveToStreamFormat(TIEStream& stream, int32_t fileType) {
  if (!Begin() || !PrepareWrite(fileType)) return;
  const char* tag = StreamHeaders ? StreamHeaderTag(fileType) : nullptr;
  const int64_t start = tag ? BeginStreamHeader(stream) : 0;
  RunWriter(fileType, stream);
  if (tag && !Aborting) FinishStreamHeader(stream, start, tag);
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
  return f->Name + " (" + FormatExtension(p.FileType, 0) + ")" + DescriptionDetail(p);
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
