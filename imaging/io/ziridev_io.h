// The I/O component: reads and writes the attached image as files or streams,
// choosing the codec by extension, by type code or by content.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/view_link.h"
#include "imaging/core/mask.h"
#include "imaging/core/stream.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/io/format_table.h"
#include "imaging/io/io_params.h"
#include "imaging/io/stream_header.h"
#include "imaging/io/io_progress.h"

namespace quillet {

enum class TIEDialogsMeasureUnit { ieduInches, ieduCm };

class TZiridEvIO {
 public:
  TZiridEvIO();
  ~TZiridEvIO();
  TZiridEvIO(const TZiridEvIO&) = delete;
  TZiridEvIO& operator=(const TZiridEvIO&) = delete;

  // The view whose bitmap and alpha channel are read and written. The
  // component follows the view when it replaces them and lets go of it when
  // it is destroyed. Null detaches.
  TIEView* AttachedZiridEv() const { return link_.View(); }
  void SetAttachedZiridEv(TIEView* view) { link_.AttachView(view); }

  // The bitmap read into and written from; nothing attached makes every
  // read and write return at once with Aborting false. Setting a bitmap
  // detaches the view; setting none while a view is attached is ignored.
  TIEWorkingBitmap* AttachedBitmap() const { return link_.Bitmap(); }
  void SetAttachedBitmap(TIEWorkingBitmap* bitmap) { link_.AttachBitmap(bitmap); }
  // The 8-bit alpha plane that reads fill: the view's alpha channel, or one
  // a caller without a view gives.
  TIEMask* AlphaMask() const { return link_.Alpha(); }
  void SetAlphaMask(TIEMask* alpha) { link_.SetAlpha(alpha); }

  // The fill colour; the attached view's background while there is one.
  TBGR Background() const { return link_.Background(); }
  void SetBackground(TBGR color) { link_.SetBackground(color); }

  // Published properties.
  bool StreamHeaders = false;
  bool AutoAdjustDPI = true;
  TIEDialogsMeasureUnit DialogsMeasureUnit = TIEDialogsMeasureUnit::ieduInches;
  TIEFontDesc PreviewFont;
  TIEProgressEvent OnProgress;

  // Public state: false at the start of every operation, true after a failure
  // or cancel. A progress handler may set it to stop the work.
  TIOParamsVals Params;
  bool Aborting = false;
  // Why the last operation failed, for the caller to show; empty on success.
  std::string LastError;

  // Reads and writes by extension.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);
  // By file type code.
  void LoadFromFileFormat(const std::string& fileName, int32_t fileType);
  void SaveToFileFormat(const std::string& fileName, int32_t fileType);
  void LoadFromStream(TIEStream& stream);
  void LoadFromStreamFormat(TIEStream& stream, int32_t fileType);
  void SaveToStreamFormat(TIEStream& stream, int32_t fileType);

  // Header-only reads.
  void ParamsFromFile(const std::string& fileName);
  void ParamsFromFileFormat(const std::string& fileName, int32_t fileType);
  void ParamsFromStream(TIEStream& stream);
  void ParamsFromStreamFormat(TIEStream& stream, int32_t fileType);

  // Per-format reads and writes; each format's folder defines its own.
  void LoadFromFileTIFF(const std::string& fileName);
  void LoadFromStreamTIFF(TIEStream& stream);
  void SaveToFileTIFF(const std::string& fileName);
  void SaveToStreamTIFF(TIEStream& stream);
  // Inserts the image as a page after page Params.TiffImageIndex (after the
  // last when there are fewer) of a little-endian TIFF file or of the TIFF
  // data from the stream position on; the page count then, or 0 with
  // Aborting and the file or stream unchanged.
  int InsertToFileTIFF(const std::string& fileName);
  int InsertToStreamTIFF(TIEStream& stream);
  // Pages of a TIFF file; 0 when it is none or cannot be opened.
  static int CountTiffImages(const std::string& fileName);
  void LoadFromFileBMP(const std::string& fileName);
  void LoadFromStreamBMP(TIEStream& stream);
  void SaveToFileBMP(const std::string& fileName);
  void SaveToStreamBMP(TIEStream& stream);
  void LoadFromFileICO(const std::string& fileName);
  void LoadFromStreamICO(TIEStream& stream);
  void LoadFromFileCUR(const std::string& fileName);
  void LoadFromStreamCUR(TIEStream& stream);
  void LoadFromFileGIF(const std::string& fileName);
  void LoadFromStreamGIF(TIEStream& stream);
  void SaveToFileGIF(const std::string& fileName);
  void SaveToStreamGIF(TIEStream& stream);
  void LoadFromFileJPEG(const std::string& fileName);
  void LoadFromStreamJPEG(TIEStream& stream);
  void SaveToFileJPEG(const std::string& fileName);
  void SaveToStreamJPEG(TIEStream& stream);
  void LoadFromFilePNG(const std::string& fileName);
  void LoadFromStreamPNG(TIEStream& stream);
  void SaveToFilePNG(const std::string& fileName);
  void SaveToStreamPNG(TIEStream& stream);

  // Metafiles are not rendered yet: the import ends with Aborting.
  void ImportMetafile(const std::string& fileName, int32_t width, int32_t height);

  // Content detection; the stream position is the same afterwards.
  static int32_t DetectStreamFormat(TIEStream& stream);
  static int32_t DetectFileFormat(const std::string& fileName, bool checkExtension);

  static std::string FileDescription(const TIOParamsVals& params);
  void AssignParams(const TIOParamsVals& source) { Params.Assign(source); }
  void AssignParams(const TZiridEvIO& source) { Params.Assign(source.Params); }
  void ClearImage();
  void Update();

  // The images of a GIF file; 0 when it cannot be read or is not GIF.
  static int CountGifImages(const std::string& fileName);

  static bool GifDecoderInstalled();
  static bool GifEncoderInstalled();

 private:
  // Starts an operation: Aborting false, no error; false without a bitmap.
  bool Begin();
  void Fail(const std::string& why);
  void ClearMetadata();
  // An unknown format: the last file is forgotten and the operation fails.
  void RefuseRead(const std::string& why);
  TIOProgress MakeProgress(bool withEvents);
  // Runs the format's reader (it has one) with the steps around it.
  void RunReader(const TFileFormatInfo& format, TIEStream& stream, TIEWorkingBitmap& target, int64_t bytesAvailable,
                 bool paramsOnly);
  void RunWriter(const TFileFormatInfo& format, TIEStream& stream);
  // Inserts a page into the whole data of `data` (memory); the page count or 0.
  int RunInsert(const TFileFormatInfo& format, TIEMemoryStream& data);
  int InsertToFileFormat(const std::string& fileName, int32_t fileType);
  int InsertToStreamFormat(TIEStream& stream, int32_t fileType);
  static int CountImages(const std::string& fileName, int32_t fileType);
  void ReadStream(TIEStream& stream, int32_t fileType);
  void FinishRead(const TFileFormatInfo& format, const std::string& fileName, bool setsDpi);
  void ReadParams(TIEStream& stream, int32_t fileType, const TStreamFrame& frame);
  // The format of a read: known and readable, else the operation fails (an
  // unknown code also forgets the last file) and the result is nullptr.
  const TFileFormatInfo* ReadableFormat(int32_t fileType);
  // The format of a write, and the bitmap brought to 1 or 24 bits; nullptr
  // (Aborting set) when fileType cannot be written.
  const TFileFormatInfo* PrepareWrite(int32_t fileType);
  // Why a codec set Aborting when it left no reason.
  std::string FailureText(const TFileFormatInfo& format) const;

  TIEViewLink link_;
  bool cancelled_ = false;  // a progress handler set Aborting
};

}  // namespace quillet
