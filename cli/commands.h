// The commands of quillet-cli, each returning the process exit status.
#pragma once

#include <string>
#include <vector>

#include "imaging/io/ziridev_io.h"

namespace quillet::cli {

struct TReadOptions {
  std::string input;
  int index = 0;
  bool autoDpi = false;
  // Field=Value assignments made before reading, so that reading options
  // (JpegScale, JpegDctMethod, ...) take effect; writes apply them again.
  std::vector<std::string> sets;
};

// The selection of apply and histogram: --select X,Y,W,H or --mask FILE.
struct TSelectOptions {
  std::string select, mask;
};

// Reads opts.input into `bitmap` and `alpha`, as a view reads, after the
// --set assignments; the exit status: 0, 1 (after the error line) on a failed
// read, 2 on a malformed assignment.
int ReadInput(const TReadOptions& opts, TZiridEvIO& io, TIEWorkingBitmap& bitmap, TIEMask& alpha);
// Prints the failure of `file` and returns 1.
int Fail(const std::string& file, const std::string& reason);

int RunFormats();
int RunInfo(const TReadOptions& opts);
int RunConvert(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& sets);
int RunExportRaw(const TReadOptions& opts, const std::string& output);
// Inserts the image read from IN into the TIFF file `output` after its page
// `after` (past the last page: at the end) and prints {"file", "page_count"}.
int RunInsert(const TReadOptions& opts, const std::string& output, int after);
// Reduces the image to `colors` colours and writes OUT: a palette BMP (4 bits
// up to 16 colours, else 8), or the image in the reduced colours.
int RunQuantize(const TReadOptions& opts, const std::string& output, int colors, const std::vector<std::string>& sets);

// Runs each step on the image read from IN, in order, inside the selection
// for the steps that honour one, and writes OUT by its extension. A step that
// does not parse is a usage error (2).
int RunApply(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& steps,
             const std::vector<std::string>& sets, const TSelectOptions& selection = {});

// Runs the drawing ops on the image read from IN, in order, and writes OUT by
// its extension. Images of neither 1 nor 24 bits are drawn on in 24 bits. An
// op that does not parse is a usage error (2).
int RunDraw(const TReadOptions& opts, const std::string& output, const std::vector<std::string>& ops,
            const std::vector<std::string>& sets);

// Prints a user filter file as JSON ("coefficients", "divisor", "header_ok"),
// after writing it from `write` (C0,...,C8,DIV) or the preset `preset` when
// one is given. A file that cannot be read is a failed read (1).
int RunFilterFile(const std::string& path, const std::string& write, const std::string& preset);

// Prints the 120 dialog words of a language (english ... dutch, user, system)
// as a JSON list.
int RunWords(const std::string& language);

}  // namespace quillet::cli
