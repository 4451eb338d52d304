// quillet-cli: the image engine on the command line (formats, info, convert,
// export-raw, insert, quantize, apply, draw, histogram, split, filter-file, words).
// Exit status 0 on success, 1 on a failed read or write, 2 on a usage error.
#include <CLI/CLI.hpp>

#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "cli/apply_steps.h"
#include "cli/colour_commands.h"
#include "cli/commands.h"
#include "cli/draw_ops.h"
#include "imaging/io/default_coders.h"

// fontconfig loses a block while parsing its configuration files, once per
// process; the leak checker of a sanitizer build is told so that it still
// reports ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// --select and --mask, one or the other.
void AddSelectOptions(CLI::App* command, quillet::cli::TSelectOptions& selection) {
  auto* select = command->add_option("--select", selection.select, "X,Y,W,H: work inside this rectangle");
  command->add_option("--mask", selection.mask, "Picture of the image's size: work where its grey is 128 or more")
      ->excludes(select);
}

}  // namespace

int main(int argc, char** argv) {
  quillet::InstallDefaultCoders();
  using namespace quillet::cli;
  CLI::App app{"Quillet image engine on the command line"};
  app.require_subcommand(1);
  int status = 0;

  app.add_subcommand("formats", "List the file formats: code, name, extensions, read, write, parameter fields")
      ->callback([&] { status = RunFormats(); });

  TReadOptions infoOpts;
  auto* info = app.add_subcommand("info", "Print what a file holds, as JSON");
  info->add_option("FILE", infoOpts.input, "Image file")->required();
  info->add_option("--index", infoOpts.index, "Image of a multi-image file");
  info->add_option("--set", infoOpts.sets, "Field=Value of the parameter record, before reading (JpegScale=2)");
  info->callback([&] { status = RunInfo(infoOpts); });

  TReadOptions convOpts;
  std::string convOut;
  auto* convert = app.add_subcommand("convert", "Read IN and write OUT by its extension");
  convert->add_option("IN", convOpts.input, "Input image")->required();
  convert->add_option("OUT", convOut, "Output image")->required();
  convert->add_option("--index", convOpts.index, "Image of a multi-image file");
  convert->add_option("--set", convOpts.sets,
                      "Field=Value of the parameter record, before reading and writing (PxmComments: one comment a line)");
  convert->add_flag("--auto-dpi", convOpts.autoDpi, "Equalise the resolution after reading");
  convert->callback([&] { status = RunConvert(convOpts, convOut, convOpts.sets); });

  TReadOptions rawOpts;
  std::string rawOut;
  auto* raw = app.add_subcommand("export-raw", "Write the decoded image as PAM");
  raw->add_option("IN", rawOpts.input, "Input image")->required();
  raw->add_option("OUT", rawOut, "Output PAM file")->required();
  raw->add_option("--index", rawOpts.index, "Image of a multi-image file");
  raw->add_option("--set", rawOpts.sets, "Field=Value of the parameter record, before reading (AutoOrient=0, JpegScale=2)");
  raw->add_flag("--auto-dpi", rawOpts.autoDpi, "Equalise the resolution after reading");
  raw->callback([&] { status = RunExportRaw(rawOpts, rawOut); });

  TReadOptions insertOpts;
  std::string insertOut;
  int insertAfter = INT32_MAX;
  auto* insert = app.add_subcommand("insert", "Insert an image of IN as a page into the existing TIFF file OUT; "
                                              "prints the file and its page count as JSON");
  insert->add_option("IN", insertOpts.input, "Input image")->required();
  insert->add_option("OUT", insertOut, "Existing little-endian TIFF file")->required();
  insert->add_option("--index", insertOpts.index, "Image of a multi-image IN");
  insert->add_option("--after", insertAfter, "The new page follows this page of OUT (default: the last)")
      ->check(CLI::NonNegativeNumber);
  insert->add_option("--set", insertOpts.sets, "Field=Value of the parameter record, before reading and writing");
  insert->callback([&] { status = RunInsert(insertOpts, insertOut, insertAfter); });

  TReadOptions quantOpts;
  std::string quantOut;
  int colors = 256;
  std::vector<std::string> quantSets;
  auto* quantize = app.add_subcommand("quantize", "Reduce IN to N colours and write OUT by its extension");
  quantize->add_option("IN", quantOpts.input, "Input image")->required();
  quantize->add_option("OUT", quantOut, "Output image")->required();
  quantize->add_option("--colors", colors, "Number of colours, 1 to 256")->required()->check(CLI::Range(1, 256));
  quantize->add_option("--index", quantOpts.index, "Image of a multi-image file");
  quantize->add_option("--set", quantSets, "Field=Value of the parameter record, before writing");
  quantize->callback([&] { status = RunQuantize(quantOpts, quantOut, colors, quantSets); });

  TReadOptions applyOpts;
  std::string applyOut;
  std::vector<std::string> applySteps, applySets;
  auto* apply = app.add_subcommand("apply", std::string("Run processing steps on IN and write OUT. ") + ApplyStepsHelp());
  apply->add_option("IN", applyOpts.input, "Input image")->required();
  apply->add_option("OUT", applyOut, "Output image")->required();
  apply->add_option("STEP", applySteps, "Steps, in order")->required();
  apply->add_option("--index", applyOpts.index, "Image of a multi-image file");
  apply->add_option("--set", applySets, "Field=Value of the parameter record, before writing");
  TSelectOptions applySelection;
  AddSelectOptions(apply, applySelection);
  apply->callback([&] { status = RunApply(applyOpts, applyOut, applySteps, applySets, applySelection); });

  TReadOptions histOpts;
  TSelectOptions histSelection;
  auto* histogram = app.add_subcommand("histogram", "Print the red, green, blue and grey counts of each level (256 "
                                                    "each) and the average colour [R, G, B] of the image, or of the "
                                                    "selection's bounding box, as JSON");
  histogram->add_option("IN", histOpts.input, "Input image")->required();
  histogram->add_option("--index", histOpts.index, "Image of a multi-image file");
  AddSelectOptions(histogram, histSelection);
  histogram->callback([&] { status = RunHistogram(histOpts, histSelection); });

  TReadOptions splitOpts;
  std::string splitSpace;
  std::vector<std::string> splitOuts;
  auto* split = app.add_subcommand("split", "Write the red, green and blue channels (rgb) or the hue, saturation "
                                            "and value (hsv) of IN as three grey images");
  split->add_option("IN", splitOpts.input, "Input image")->required();
  split->add_option("SPACE", splitSpace, "rgb or hsv")->required()->check(CLI::IsMember({"rgb", "hsv"}));
  split->add_option("OUT", splitOuts, "Three output images")->required()->expected(3);
  split->add_option("--index", splitOpts.index, "Image of a multi-image file");
  split->callback([&] { status = RunSplit(splitOpts, splitSpace, splitOuts); });

  TReadOptions drawOpts;
  std::string drawOut;
  std::vector<std::string> drawOps, drawSets;
  auto* draw = app.add_subcommand(
      "draw", "Draw on IN and write OUT. Images of neither 1 nor 24 bits are drawn on in 24 bits. The ops run in "
              "order on one canvas whose pen, brush and tool state persist; colours are RRGGBB. " +
                  DrawOpsHelp());
  draw->add_option("IN", drawOpts.input, "Input image")->required();
  draw->add_option("OUT", drawOut, "Output image")->required();
  draw->add_option("OP", drawOps, "Ops, in order")->required();
  draw->add_option("--index", drawOpts.index, "Image of a multi-image file");
  draw->add_option("--set", drawSets, "Field=Value of the parameter record, before writing");
  draw->callback([&] { status = RunDraw(drawOpts, drawOut, drawOps, drawSets); });

  std::string fltPath, fltWrite, fltPreset;
  auto* flt = app.add_subcommand("filter-file", "Print a user filter file (.flt) as JSON, after writing it with "
                                                "--write or --preset");
  flt->add_option("FILE", fltPath, "Filter file")->required();
  flt->add_option("--write", fltWrite, "C0,...,C8,DIV: nine coefficients in row-major order and the divisor");
  flt->add_option("--preset", fltPreset, "none, blur, edges, emboss, highpass1 to highpass3, lowpass1, lowpass2");
  flt->callback([&] { status = RunFilterFile(fltPath, fltWrite, fltPreset); });

  std::string wordsLanguage = "english";
  auto* words = app.add_subcommand("words", "Print the 120 dialog words of a language as a JSON list");
  words->add_option("--language", wordsLanguage,
                    "english, italian, german, spanish, french, portuguese, greek, russian, dutch, user or system");
  words->callback([&] { status = RunWords(wordsLanguage); });

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }
  return status;
}
