// Error, source and destination managers of the JPEG codec.
#include "imaging/io/formats/jpeg/jpeg_bridge.h"

#include <jerror.h>

namespace quillet {

namespace {

constexpr size_t kBlockSize = 65536;

TJpegErrorManager& Errors(j_common_ptr cinfo) { return *reinterpret_cast<TJpegErrorManager*>(cinfo->err); }

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  TJpegErrorManager& errors = Errors(cinfo);
  cinfo->err->format_message(cinfo, errors.message);
  std::longjmp(errors.exit, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER) Errors(cinfo).hitMarker = true;
}

void OutputMessage(j_common_ptr) {}

TJpegSource& Source(j_decompress_ptr cinfo) { return *reinterpret_cast<TJpegSource*>(cinfo->src); }

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  TJpegSource& s = Source(cinfo);
  int64_t got = s.stream->Read(s.buffer.data(), int64_t(kBlockSize));
  if (got <= 0) {
    // An end-of-image marker lets the library finish with what it has; with
    // no data at all it reports an empty input instead.
    if (!s.anyData) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    s.buffer[0] = 0xFF;
    s.buffer[1] = JPEG_EOI;
    got = 2;
    s.insertedEnd = true;
  } else {
    s.anyData = true;
  }
  s.pub.next_input_byte = s.buffer.data();
  s.pub.bytes_in_buffer = size_t(got);
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  TJpegSource& s = Source(cinfo);
  if (count <= 0) return;
  if (size_t(count) <= s.pub.bytes_in_buffer) {
    s.pub.next_input_byte += count;
    s.pub.bytes_in_buffer -= size_t(count);
    return;
  }
  s.stream->Seek(int64_t(count) - int64_t(s.pub.bytes_in_buffer), TSeekOrigin::soCurrent);
  s.pub.bytes_in_buffer = 0;
}

void TermSource(j_decompress_ptr) {}

TJpegDestination& Destination(j_compress_ptr cinfo) { return *reinterpret_cast<TJpegDestination*>(cinfo->dest); }

void InitDestination(j_compress_ptr cinfo) {
  TJpegDestination& d = Destination(cinfo);
  d.pub.next_output_byte = d.buffer.data();
  d.pub.free_in_buffer = d.buffer.size();
}

void Flush(j_compress_ptr cinfo, size_t bytes) {
  TJpegDestination& d = Destination(cinfo);
  if (bytes > 0 && !d.stream->WriteExact(d.buffer.data(), int64_t(bytes))) {
    d.writeFailed = true;
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  Flush(cinfo, kBlockSize);
  InitDestination(cinfo);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  TJpegDestination& d = Destination(cinfo);
  Flush(cinfo, d.buffer.size() - d.pub.free_in_buffer);
}

}  // namespace

void InitJpegErrors(TJpegErrorManager& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ErrorExit;
  errors.pub.emit_message = EmitMessage;
  errors.pub.output_message = OutputMessage;
}

void AttachJpegSource(jpeg_decompress_struct& cinfo, TJpegSource& source, TIEStream& stream) {
  source.stream = &stream;
  source.buffer.resize(kBlockSize);
  source.pub.init_source = InitSource;
  source.pub.fill_input_buffer = FillInputBuffer;
  source.pub.skip_input_data = SkipInputData;
  source.pub.resync_to_restart = jpeg_resync_to_restart;
  source.pub.term_source = TermSource;
  source.pub.next_input_byte = nullptr;
  source.pub.bytes_in_buffer = 0;
  cinfo.src = &source.pub;
}

void AttachJpegDestination(jpeg_compress_struct& cinfo, TJpegDestination& destination, TIEStream& stream) {
  destination.stream = &stream;
  destination.buffer.resize(kBlockSize);
  destination.pub.init_destination = InitDestination;
  destination.pub.empty_output_buffer = EmptyOutputBuffer;
  destination.pub.term_destination = TermDestination;
  cinfo.dest = &destination.pub;
}

}  // namespace quillet
