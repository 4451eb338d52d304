// The effects preview dialog driven as the application drives it: OnPreview
// gets the prepared form, a zero-time timer works its controls once the
// modal loop runs, then presses OK or Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "imaging/proc/ui/hsv_box.h"
#include "imaging/proc/ui/previews_form.h"
#include "imaging/proc/ui/previews_port.h"
#include "imaging/proc/ui/ruler_box.h"
#include "imaging/view/qt/ziridev_view.h"
#include "proc_ui/control_mouse.h"

namespace quillet {
namespace {

TBGR At(const TIEWorkingBitmap& b, int64_t x, int64_t y) {
  const uint8_t* p = b.ScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

void Fill(TIEWorkingBitmap& b, int64_t w, int64_t h, TBGR c) {
  b.Resize(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) std::copy_n(&c.b, 3, b.ScanLine(y) + 3 * x);
}

template <class T>
T* Find(TfPreviews& form, const char* name) {
  T* control = form.findChild<T*>(QLatin1String(name));
  EXPECT_NE(control, nullptr) << name;
  return control;
}

void Press(TfPreviews& form, const char* button) { Find<QAbstractButton>(form, button)->click(); }

// A document: a view with a w x h image of one colour and its component.
struct Document {
  Document(int64_t w, int64_t h, TBGR colour) {
    InstallPreviewsDialog();
    Fill(view.Bitmap(), w, h, colour);
    view.Update();
    proc.SetAttachedZiridEv(&view);
    proc.UndoLocation = TIEBitmapLocation::ieMemory;
    proc.MsgLanguage = TMsgLanguage::msEnglish;
  }
  // ShowPreviews with `steps` run on the shown form, then `button` pressed.
  bool Run(TPreviewPages pages, std::function<void(TfPreviews&)> steps, const char* button = "OkButton") {
    shown = false;
    proc.OnPreview = [=, this](TZiridEvProc*, TfPreviews* form) {
      shown = true;
      QTimer::singleShot(0, form, [=] {
        if (steps) steps(*form);
        QApplication::processEvents();
        Press(*form, button);
      });
    };
    return proc.ShowPreviews(pages);
  }
  TBGR Pixel(int64_t x, int64_t y) { return At(view.Bitmap(), x, y); }

  TZiridEvView view;
  TZiridEvProc proc;
  bool shown = false;
};

void SetTrack(TfPreviews& form, const char* name, int value) { Find<QSlider>(form, name)->setValue(value); }

QStringList VisibleTabs(TfPreviews& form) {
  QTabWidget* tabs = Find<QTabWidget>(form, "PageTabs");
  QStringList shown;
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->isTabVisible(i)) shown << tabs->tabText(i);
  return shown;
}

TEST(Previews, PageSetsShowTheirTabs) {
  Document d(8, 8, {10, 20, 30});
  const struct {
    TPreviewPages Pages;
    QStringList Tabs;
  } cases[] = {{ppEqualize, {"Equalization"}},
               {ppContrast, {"Contrast"}},
               {ppAll, {"Contrast", "HSV", "HSL", "RGB", "User filter", "Equalization", "Bump map", "Lens", "Wave",
                        "Morphing filters", "Rotate", "FFT"}}};
  for (const auto& c : cases) {
    QStringList tabs;
    EXPECT_FALSE(d.Run(c.Pages, [&](TfPreviews& f) { tabs = VisibleTabs(f); }, "CancelButton"));
    EXPECT_EQ(tabs, c.Tabs);
  }
}

TEST(Previews, RefusesImagesItCannotShow) {
  const struct {
    int64_t W, H;
    TIEPixelFormat Format;
    bool Opens;
  } cases[] = {{1, 1, TIEPixelFormat::pf24bit, false},
               {4, 4, TIEPixelFormat::pf1bit, false},
               {0, 0, TIEPixelFormat::pf24bit, false},
               {1, 5, TIEPixelFormat::pf24bit, true}};
  for (const auto& c : cases) {
    Document d(4, 4, {});
    d.view.Bitmap().Resize(c.W, c.H, c.Format);
    d.view.Update();
    d.Run(ppContrast, {}, "CancelButton");
    EXPECT_EQ(d.shown, c.Opens) << c.W << "x" << c.H;
  }
  Document d(4, 4, {});
  InstallPreviewsPort(nullptr);
  EXPECT_FALSE(d.proc.ShowPreviews(ppContrast));
  InstallPreviewsDialog();
}

TEST(Previews, OkWritesBackWithUndoAndCancelChangesNothing) {
  Document d(4, 4, {200, 150, 100});
  const auto brighter = [](TfPreviews& f) { SetTrack(f, "BrightnessTrackBar", 50); };
  EXPECT_FALSE(d.Run(ppContrast, brighter, "CancelButton"));
  EXPECT_EQ(d.Pixel(3, 3), (TBGR{200, 150, 100}));
  EXPECT_EQ(d.proc.UndoCount(), 0);
  EXPECT_TRUE(d.Run(ppContrast, brighter));
  for (int64_t y = 0; y < 4; ++y)
    for (int64_t x = 0; x < 4; ++x) EXPECT_EQ(d.Pixel(x, y), (TBGR{250, 200, 150}));
  ASSERT_EQ(d.proc.UndoCount(), 1);
  EXPECT_EQ(d.proc.UndoCaption(0), "Previews");
}

TEST(Previews, SelectionsLimitTheChange) {
  const TBGR grey{100, 100, 100}, lighter{150, 150, 150};
  Document rect(10, 10, grey);
  rect.view.SelectRectangle(2, 2, 5, 5, false);
  ASSERT_TRUE(rect.Run(ppContrast, [](TfPreviews& f) { SetTrack(f, "BrightnessTrackBar", 50); }));
  int changed = 0;
  for (int64_t y = 0; y < 10; ++y)
    for (int64_t x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x <= 5 && y >= 2 && y <= 5;
      EXPECT_EQ(rect.Pixel(x, y), inside ? lighter : grey) << x << "," << y;
      changed += rect.Pixel(x, y) == lighter;
    }
  EXPECT_EQ(changed, 16);

  Document ellipse(40, 40, grey);
  ellipse.view.Selection().AddEllipse(20, 20, 35, 35, false);
  ellipse.view.Selection().EndSelection();
  ASSERT_TRUE(ellipse.Run(ppContrast, [](TfPreviews& f) { SetTrack(f, "BrightnessTrackBar", 50); }));
  EXPECT_EQ(ellipse.Pixel(20, 20), lighter);
  const TIEMask& mask = *ellipse.view.GetSelectionMask();
  EXPECT_EQ(ellipse.Pixel(mask.X1(), mask.Y1()), grey);
  EXPECT_EQ(ellipse.Pixel(mask.X2(), mask.Y2()), grey);
}

TEST(Previews, PresetsFillTheFilter) {
  Document d(6, 6, {10, 80, 200});
  std::vector<int> highPass, lowPass;
  const auto edits = [](TfPreviews& f) {
    std::vector<int> v;
    for (int i = 0; i < 9; ++i) v.push_back(f.findChild<QSpinBox*>(QStringLiteral("FilterEdit%1").arg(i))->value());
    v.push_back(Find<QSpinBox>(f, "DivisorEdit")->value());
    return v;
  };
  const auto choose = [](TfPreviews& f, const QString& name) {
    QComboBox* list = Find<QComboBox>(f, "PresetList");
    list->setCurrentIndex(list->findText(name));
    emit list->activated(list->currentIndex());
  };
  ASSERT_TRUE(d.Run(ppUserFilter, [&](TfPreviews& f) {
    choose(f, "High Pass 2");
    highPass = edits(f);
    choose(f, "Low Pass 2");
    lowPass = edits(f);
    choose(f, "None");
  }));
  EXPECT_EQ(highPass, (std::vector<int>{-1, -1, -1, -1, 9, -1, -1, -1, -1, 1}));
  EXPECT_EQ(lowPass, (std::vector<int>{1, 2, 1, 2, 4, 2, 1, 2, 1, 16}));
  EXPECT_EQ(d.Pixel(3, 3), (TBGR{10, 80, 200}));
}

TEST(Previews, FilterFilesLoadSaveAndWarn) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillet_previews_flt";
  std::filesystem::create_directories(dir);
  const QString emboss = QString::fromStdString((dir / "emboss").string());
  Document d(6, 6, {10, 80, 200});
  std::vector<int> loaded;
  QString savedTitle;
  d.Run(ppUserFilter, [&](TfPreviews& f) {
    f.SaveFileName = [&](const QString& title, const QString& filter) {
      savedTitle = title + "|" + filter;
      return emboss;
    };
    QComboBox* list = Find<QComboBox>(f, "PresetList");
    emit list->activated(list->findText("Emboss"));
    Press(f, "SaveButton");
    emit list->activated(0);
    f.OpenFileName = [&](const QString&, const QString&) { return emboss + ".flt"; };
    Press(f, "LoadButton");
    loaded = {int(f.Params().Coefficients[0]), int(f.Params().Coefficients[5]), int(f.Params().Divisor)};
    // A missing file: a warning, and the values stay.
    f.OpenFileName = [&](const QString&, const QString&) { return emboss + ".missing"; };
    QTimer::singleShot(0, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    Press(f, "LoadButton");
    loaded.push_back(f.Params().Divisor);
  }, "CancelButton");
  EXPECT_EQ(savedTitle, "Save filter|Filter (*.flt)");
  EXPECT_EQ(std::filesystem::file_size(dir / "emboss.flt"), 43u);
  EXPECT_EQ(loaded, (std::vector<int>{-1, 1, 1, 1}));
  std::filesystem::remove_all(dir);
}

TEST(Previews, EqualizationRulersSetLevelsAndDoNotCross) {
  Document d(4, 4, {250, 150, 50});
  QStringList labels;
  ASSERT_TRUE(d.Run(ppEqualize, [&](TfPreviews& f) {
    TRulerBox* lower = Find<TRulerBox>(f, "LowerRuler");
    labels << Find<QLabel>(f, "LowerLowLabel")->text() << Find<QLabel>(f, "LowerHighLabel")->text();
    lower->SetGripPosition(1, 200);
    lower->SetGripPosition(0, 220);
    labels << QString::number(lower->GripPosition(1)) << Find<QLabel>(f, "LowerLowLabel")->text();
    lower->SetGripPosition(0, 100);
    lower->SetGripPosition(1, 255);
  }));
  EXPECT_EQ(labels, (QStringList{"0", "255", "220", "220"}));
  EXPECT_EQ(d.Pixel(0, 0), (TBGR{250, 150, 0}));
}

TEST(Previews, HsvColoursSetTheShifts) {
  Document d(4, 4, {0, 0, 255});
  std::vector<int> shifts;
  d.Run(ppHSV, [&](TfPreviews& f) {
    THSVBox* base = Find<THSVBox>(f, "BaseColorBox");
    THSVBox* next = Find<THSVBox>(f, "NewColorBox");
    base->SetColor(255, 0, 0);
    next->SetColor(0, 255, 0);
    next->OnChange(next);
    for (const char* name : {"HsvHueTrackBar", "HsvSatTrackBar", "HsvValTrackBar"})
      shifts.push_back(Find<QSlider>(f, name)->value());
    shifts.push_back(base->Hue());
    shifts.push_back(base->Sat());
    shifts.push_back(next->Hue());
  }, "CancelButton");
  EXPECT_EQ(shifts, (std::vector<int>{120, 0, 0, 0, 99, 120}));
}

TEST(Previews, CaptionsComeFromTheWords) {
  Document d(4, 4, {});
  const auto texts = [](TfPreviews& f) {
    return QStringList{f.windowTitle(), Find<QPushButton>(f, "PreviewButton")->text(),
                       Find<QLabel>(f, "SourceLabel")->text()};
  };
  QStringList italian, user, system;
  QStringList english;
  d.proc.MsgLanguage = TMsgLanguage::msItalian;
  d.Run(ppContrast, [&](TfPreviews& f) { italian = texts(f); }, "CancelButton");
  d.proc.MsgLanguage = TMsgLanguage::msUser;
  d.Run(ppContrast, [&](TfPreviews& f) { user = texts(f); }, "CancelButton");
  d.proc.MsgLanguage = TMsgLanguage::msSystem;
  setenv("LC_ALL", "it_IT.UTF-8", 1);
  d.Run(ppContrast, [&](TfPreviews& f) { system = texts(f); }, "CancelButton");
  unsetenv("LC_ALL");
  d.proc.MsgLanguage = TMsgLanguage::msEnglish;
  d.Run(ppAll, [&](TfPreviews& f) {
    for (QLabel* label : f.findChildren<QLabel*>()) english << label->text();
  }, "CancelButton");
  EXPECT_EQ(italian, (QStringList{"Anteprima", "Anteprima", "Originale:"}));
  EXPECT_EQ(user, (QStringList{"Preview", "Preview", "Original:"}));
  EXPECT_EQ(system, italian);
  EXPECT_TRUE(english.contains("Brightness:"));
  EXPECT_TRUE(english.contains("Hue (H):"));
}

TEST(Previews, MorphMaximumGrowsAPoint) {
  Document d(7, 7, {0, 0, 0});
  std::copy_n(std::array<uint8_t, 3>{255, 255, 255}.data(), 3, d.view.Bitmap().ScanLine(3) + 9);
  ASSERT_TRUE(d.Run(ppMorph, {}));
  for (int64_t y = 0; y < 7; ++y)
    for (int64_t x = 0; x < 7; ++x)
      EXPECT_EQ(d.Pixel(x, y).r, x >= 2 && x <= 4 && y >= 2 && y <= 4 ? 255 : 0) << x << "," << y;
}

TEST(Previews, CopyResultToOriginalResetsThePage) {
  Document d(4, 4, {100, 100, 100});
  int after = -1;
  ASSERT_TRUE(d.Run(ppContrast, [&](TfPreviews& f) {
    SetTrack(f, "BrightnessTrackBar", 30);
    Press(f, "CopyResultButton");
    after = Find<QSlider>(f, "BrightnessTrackBar")->value();
    EXPECT_EQ(At(f.Source(), 0, 0), (TBGR{130, 130, 130}));
  }));
  EXPECT_EQ(after, 0);
  EXPECT_EQ(d.Pixel(1, 1), (TBGR{130, 130, 130}));
}

TEST(Previews, QueuedTrackMovesMakeOnePreview) {
  Document d(64, 48, {90, 60, 30});
  d.proc.PreviewsParams = prppDefaultLockPreview;
  int runs = -1;
  d.Run(ppContrast, [&](TfPreviews& f) {
    // What showing the dialog set going (layout, fitting) settles first.
    for (int turn = 0; turn < 5; ++turn) QApplication::processEvents();
    const int before = f.PreviewRuns();
    for (int v = 1; v <= 20; ++v) SetTrack(f, "ContrastTrackBar", v);
    QApplication::processEvents();
    runs = f.PreviewRuns() - before;
  }, "CancelButton");
  EXPECT_EQ(runs, 1);
}

TEST(Previews, TypedValuesStayInTheirRanges) {
  Document d(4, 4, {});
  std::vector<int> values;
  d.Run(ppMorph, [&](TfPreviews& f) {
    QSpinBox* window = Find<QSpinBox>(f, "WindowSizeEdit");
    for (const char* text : {"10000", ""}) {
      window->findChild<QLineEdit*>()->setText(QString::fromLatin1(text));
      window->interpretText();
      emit window->editingFinished();
      values.push_back(window->value());
    }
  }, "CancelButton");
  EXPECT_EQ(values, (std::vector<int>{64, 1}));
}

TEST(Previews, CancelDuringOkAbortsTheRun) {
  Document d(300, 200, {40, 80, 120});
  d.proc.OnProgress = [&](TZiridEvProc*, int) {
    if (auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget())) form->reject();
  };
  EXPECT_FALSE(d.Run(ppMorph, [](TfPreviews& f) { Find<QSpinBox>(f, "WindowSizeEdit")->setValue(5); }));
  EXPECT_EQ(d.Pixel(0, 0), (TBGR{40, 80, 120}));
  EXPECT_EQ(d.proc.UndoCount(), 0);
}

TEST(Previews, PicksOnTheResultSetTheLight) {
  Document d(100, 80, {40, 80, 120});
  std::vector<int> light;
  d.Run(ppBumpMap, [&](TfPreviews& f) {
    TZiridEvView* result = Find<TZiridEvView>(f, "ResultView");
    result->OnMouseDown(result, TIEMouseButton::mbRight, 0, result->Geometry().BitmapToScreenX(10),
                        result->Geometry().BitmapToScreenY(5));
    // The whole image fits the source view: result pixels are source pixels zoomed.
    const double zoom = Find<TZiridEvView>(f, "SourceView")->Zoom();
    light = {f.Params().BumpLeft, f.Params().BumpTop, int(10 * 100 / zoom), int(5 * 100 / zoom)};
  }, "CancelButton");
  ASSERT_EQ(light.size(), 4u);
  EXPECT_EQ(light[0], light[2]);
  EXPECT_EQ(light[1], light[3]);
}

}  // namespace
}  // namespace quillet
