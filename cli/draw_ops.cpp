#include "cli/draw_ops.h"

#include <array>
#include <charconv>
#include <vector>

#include "cli/op_args.h"
#include "imaging/view/paint_pixels.h"

namespace quillet::cli {

namespace {

using TArgs = std::vector<std::string>;
// Builds the op from its arguments, or none when they do not fit.
using TParser = std::optional<TDrawOp> (*)(const TArgs& args);

struct TOpEntry {
  const char* usage;  // the name, then ":" and the arguments if it takes any
  TParser parse;
  size_t parts = 0;   // when not 0, the most arguments: the last keeps its commas
};

// `count` integers from args[from], each within [lo, hi].
bool Ints(const TArgs& args, size_t from, size_t count, int32_t* out, int32_t lo = INT32_MIN, int32_t hi = INT32_MAX) {
  if (args.size() < from + count) return false;
  for (size_t i = 0; i < count; ++i)
    if (!ToInt(args[from + i], out[i]) || out[i] < lo || out[i] > hi) return false;
  return true;
}

// RRGGBB, hexadecimal.
bool ToColor(const std::string& text, TBGR& color) {
  uint32_t rgb = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, rgb, 16);
  if (text.size() != 6 || ec != std::errc() || ptr != end) return false;
  color = MakeBGR(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
  return true;
}

// The index of `text` among `names`, or -1.
int IndexOf(const std::string& text, std::initializer_list<const char*> names) {
  int i = 0;
  for (const char* name : names) {
    if (text == name) return i;
    ++i;
  }
  return -1;
}

// An op taking one colour, which it gives to `apply`.
template <class F>
std::optional<TDrawOp> WithColor(const TArgs& a, F apply) {
  TBGR c;
  if (a.size() != 1 || !ToColor(a[0], c)) return std::nullopt;
  return [c, apply](TDrawSession& s) { return apply(s, c), true; };
}

// An op taking `count` integers within [lo, hi], which it gives to `apply`.
template <size_t count, class F>
std::optional<TDrawOp> WithInts(const TArgs& a, F apply, int32_t lo = INT32_MIN, int32_t hi = INT32_MAX) {
  std::array<int32_t, count> v{};
  if (a.size() != count || !Ints(a, 0, count, v.data(), lo, hi)) return std::nullopt;
  return [v, apply](TDrawSession& s) { return apply(s, v), true; };
}

// An op taking one of `names`, whose index it gives to `apply`.
template <class F>
std::optional<TDrawOp> WithName(const TArgs& a, std::initializer_list<const char*> names, F apply) {
  const int i = a.size() == 1 ? IndexOf(a[0], names) : -1;
  if (i < 0) return std::nullopt;
  return [i, apply](TDrawSession& s) { return apply(s, i), true; };
}

// Text sizes beyond this would only make huge glyphs to clip.
constexpr int32_t kMaxFontPoints = 1000;

using TPoint2 = std::array<int32_t, 2>;
using TBox = std::array<int32_t, 4>;
using TOne = std::array<int32_t, 1>;

std::optional<TDrawOp> Art(const TArgs& a) {
  int32_t v[5];
  if (a.size() != 5 || !Ints(a, 0, 1, v, 0, 7) || !Ints(a, 1, 4, v + 1)) return std::nullopt;
  return [p = v[0], from = TIEPoint{v[1], v[2]}, to = TIEPoint{v[3], v[4]}](TDrawSession& s) {
    TPaintOptions options = s.Options;
    options.ArtPattern = p;
    TPaintSteps{s.Canvas, s.State, options}.DrawArtFigure(from, to);
    return true;
  };
}

std::optional<TDrawOp> Pixel(const TArgs& a) {
  int32_t xy[2];
  TBGR c;
  if (a.size() != 3 || !Ints(a, 0, 2, xy) || !ToColor(a[2], c)) return std::nullopt;
  return [x = xy[0], y = xy[1], c](TDrawSession& s) { return s.Canvas.SetPixel(x, y, c), true; };
}

std::optional<TDrawOp> Press(const TArgs& a) {
  const int tool = a.empty() ? -1 : IndexOf(a[0], {"select", "draw", "art", "brush", "spray", "eraser", "fill", "dropper"});
  int32_t xy[2];
  if (tool < 0 || (a.size() != 3 && !(a.size() == 4 && a[3] == "right")) || !Ints(a, 1, 2, xy)) return std::nullopt;
  static constexpr TPaintTool kTools[] = {TPaintTool::ptSelect, TPaintTool::ptDraw,   TPaintTool::ptArtDraw,
                                          TPaintTool::ptBrush,  TPaintTool::ptSpray,  TPaintTool::ptEraser,
                                          TPaintTool::ptFill,   TPaintTool::ptEyeDropper};
  return [t = kTools[tool], p = TIEPoint{xy[0], xy[1]}, right = a.size() == 4](TDrawSession& s) {
    if (s.State.Dragging()) return true;  // a second button does nothing
    s.Steps().Press(t, p, right);
    if (t == TPaintTool::ptEyeDropper)
      if (const std::optional<TBGR> c = PickColor(s.Canvas, p)) (right ? s.Options.FillColor : s.Options.PaintColor) = *c;
    return true;
  };
}

// NAME,SIZE[,STYLE]: the text panel's font, SIZE in points, STYLE any of b, i, u.
std::optional<TDrawOp> Font(const TArgs& a) {
  int32_t size;
  if (a.size() < 2 || a.size() > 3 || a[0].empty() || !Ints(a, 1, 1, &size, 1, kMaxFontPoints)) return std::nullopt;
  TIEFontDesc font{.Name = a[0], .Size = size};
  for (const char style : a.size() == 3 ? a[2] : std::string()) switch (style) {
      case 'b': font.Bold = true; break;
      case 'i': font.Italic = true; break;
      case 'u': font.Underline = true; break;
      default: return std::nullopt;
    }
  return [font](TDrawSession& s) { return s.Options.Font = font, true; };
}

// X,Y,TEXT: a Text press, OK with TEXT, and the tick that draws it.
std::optional<TDrawOp> Text(const TArgs& a) {
  int32_t xy[2];
  if (a.size() != 3 || !Ints(a, 0, 2, xy)) return std::nullopt;
  return [p = TIEPoint{xy[0], xy[1]}, text = a[2]](TDrawSession& s) {
    if (s.State.Dragging()) return true;  // the press is ignored
    s.Steps().Press(TPaintTool::ptText, p);
    s.State.TextToPlace = text;
    s.Steps().PlaceText(s.State.TextAnchor, s.State.TextToPlace);
    return true;
  };
}

std::optional<TDrawOp> Release(const TArgs& a) {
  if (!a.empty()) return std::nullopt;
  return [](TDrawSession& s) { return s.Steps().Release(), true; };
}

std::optional<TDrawOp> Save(const TArgs& a) {
  if (a.size() != 1 || a[0].empty()) return std::nullopt;
  return [file = a[0]](TDrawSession& s) { return s.Save(file); };
}

const TOpEntry kOps[] = {
    {"pen-color:RRGGBB",
     [](const TArgs& a) { return WithColor(a, [](TDrawSession& s, TBGR c) { s.Canvas.State().PenColor = c; }); }},
    {"pen-width:N (0-1000)",
     [](const TArgs& a) {
       return WithInts<1>(a, [](TDrawSession& s, TOne v) { s.Canvas.State().PenWidth = v[0]; }, 0, 1000);
     }},
    {"pen-mode:copy|notxor",
     [](const TArgs& a) {
       return WithName(a, {"copy", "notxor"}, [](TDrawSession& s, int i) { s.Canvas.State().PenMode = TIEPenMode(i); });
     }},
    {"brush-color:RRGGBB (a clear brush turns solid)",
     [](const TArgs& a) { return WithColor(a, [](TDrawSession& s, TBGR c) { s.Canvas.State().SetBrushColor(c); }); }},
    {"brush-style:solid|clear|horizontal|vertical|fdiagonal|bdiagonal|cross|diagcross",
     [](const TArgs& a) {
       return WithName(a, {"solid", "clear", "horizontal", "vertical", "fdiagonal", "bdiagonal", "cross", "diagcross"},
                       [](TDrawSession& s, int i) { s.Canvas.State().BrushStyle = TIEBrushStyle(i); });
     }},
    {"moveto:X,Y",
     [](const TArgs& a) { return WithInts<2>(a, [](TDrawSession& s, TPoint2 v) { s.Canvas.MoveTo(v[0], v[1]); }); }},
    {"lineto:X,Y",
     [](const TArgs& a) { return WithInts<2>(a, [](TDrawSession& s, TPoint2 v) { s.Canvas.LineTo(v[0], v[1]); }); }},
    {"rect:X1,Y1,X2,Y2",
     [](const TArgs& a) {
       return WithInts<4>(a, [](TDrawSession& s, TBox v) { s.Canvas.Rectangle(v[0], v[1], v[2], v[3]); });
     }},
    {"ellipse:X1,Y1,X2,Y2",
     [](const TArgs& a) {
       return WithInts<4>(a, [](TDrawSession& s, TBox v) { s.Canvas.Ellipse(v[0], v[1], v[2], v[3]); });
     }},
    {"fillrect:X1,Y1,X2,Y2",
     [](const TArgs& a) {
       return WithInts<4>(a, [](TDrawSession& s, TBox v) { s.Canvas.FillRect(v[0], v[1], v[2], v[3]); });
     }},
    {"pixel:X,Y,RRGGBB", Pixel},
    {"flood:X,Y (the region of that pixel's colour, with the brush)",
     [](const TArgs& a) { return WithInts<2>(a, [](TDrawSession& s, TPoint2 v) { FillRegionAt(s.Canvas, {v[0], v[1]}); }); }},
    {"art:N,X1,Y1,X2,Y2 (pattern 0-7)", Art},
    {"paint-color:RRGGBB",
     [](const TArgs& a) { return WithColor(a, [](TDrawSession& s, TBGR c) { s.Options.PaintColor = c; }); }},
    {"fill-color:RRGGBB",
     [](const TArgs& a) { return WithColor(a, [](TDrawSession& s, TBGR c) { s.Options.FillColor = c; }); }},
    {"shape:line|rectangle|ellipse|none",
     [](const TArgs& a) {
       return WithName(a, {"none", "line", "rectangle", "ellipse"},
                       [](TDrawSession& s, int i) { s.State.DrawKind = TDrawKind(i); });
     }},
    {"fill-type:N (0-7)",
     [](const TArgs& a) { return WithInts<1>(a, [](TDrawSession& s, TOne v) { s.Options.FillType = v[0]; }, 0, 7); }},
    {"width:N (1-100)",
     [](const TArgs& a) { return WithInts<1>(a, [](TDrawSession& s, TOne v) { s.Options.PenWidth = v[0]; }, 1, 100); }},
    {"art-pattern:N (0-7)",
     [](const TArgs& a) {
       return WithInts<1>(a, [](TDrawSession& s, TOne v) { s.Options.ArtPattern = v[0]; }, 0, 7);
     }},
    {"brush-shape:N (0-18)",
     [](const TArgs& a) {
       return WithInts<1>(a, [](TDrawSession& s, TOne v) { s.Options.BrushShape = v[0]; }, 0, kBrushShapeCount - 1);
     }},
    {"font:NAME,SIZE[,STYLE] (points 1-1000; STYLE any of b, i, u)", Font},
    {"press:select|draw|art|brush|spray|eraser|fill|dropper,X,Y[,right]", Press},
    {"move:X,Y", [](const TArgs& a) { return WithInts<2>(a, [](TDrawSession& s, TPoint2 v) { s.Steps().Move({v[0], v[1]}); }); }},
    {"release", Release},
    {"text:X,Y,TEXT (the cell's bottom-left at X,Y)", Text, 3},
    {"save:FILE", Save, 1},
};

std::string NameOf(const char* usage) {
  const std::string text = usage;
  return text.substr(0, text.find_first_of(": "));
}

}  // namespace

std::optional<TDrawOp> ParseDrawOp(const std::string& text, std::string& error) {
  const size_t colon = text.find(':');
  const std::string name = text.substr(0, colon), rest = colon == std::string::npos ? "" : text.substr(colon + 1);
  for (const TOpEntry& op : kOps) {
    if (NameOf(op.usage) != name) continue;
    const TArgs args = colon == std::string::npos ? TArgs()
                       : op.parts             ? SplitFirst(rest, ',', op.parts)
                                              : Split(rest, ',');
    std::optional<TDrawOp> parsed = op.parse(args);
    if (!parsed) error = text + ": expected " + op.usage;
    return parsed;
  }
  error = text + ": unknown op";
  return std::nullopt;
}

const std::string& DrawOpsHelp() {
  static const std::string help = [] {
    std::string text = "Ops:";
    for (const TOpEntry& op : kOps) text += std::string(" ") + op.usage + ";";
    text.back() = '.';
    return text;
  }();
  return help;
}

}  // namespace quillet::cli
