// The frame's 200 ms refresh, the one place where menus, tool bars, option
// panels and the active view's mouse interaction follow the active document.
#include <QTime>

#include "app/edit_form.h"
#include "app/frame_form.h"
#include "app/text_form.h"

namespace quillet {

void TFrameForm::Timer1Timer() {
  StatusPanel0->setText(QTime::currentTime().toString(QLocale().timeFormat(QLocale::ShortFormat)));
  VideoPanel->setVisible(ToolPanel->SpeedButton32->isChecked());
  TEditForm* doc = ActiveDocument();
  QMenu* const imageMenus[] = {Edit1, Image1, Color1, Effects1, View1, Window1};
  ApplyEnableRules(doc);
  if (!doc) {
    ToolBar2->hide();
    ToolBar1->hide();
    ToolPanel->ReleasePaintTools();
    for (QWidget* p : std::initializer_list<QWidget*>{DrawPanel, ArtDrawPanel, BrushPanel, TextPanel, TextForm})
      p->hide();
    for (QMenu* m : imageMenus) m->menuAction()->setEnabled(false);
    return;
  }
  ToolBar2->show();
  ToolBar1->show();
  for (QMenu* m : imageMenus) m->menuAction()->setEnabled(true);
  SplitChannelsTo1->menuAction()->setEnabled(doc->ZiridEvView1->Bitmap().PixelFormat() != TIEPixelFormat::pf1bit);

  const TToolPanel& tools = *ToolPanel;
  const std::pair<QWidget*, bool> panels[] = {
      {DrawPanel, tools.SpeedButton1->isChecked()},
      {ArtDrawPanel, tools.SpeedButton3->isChecked()},
      {BrushPanel, tools.SpeedButton2->isChecked() || tools.SpeedButton7->isChecked()},
      {TextPanel, tools.SpeedButton9->isChecked()}};
  for (const auto& [panel, shown] : panels) panel->setVisible(shown);
  if (!tools.SpeedButton9->isChecked()) TextForm->hide();
  // Every paint tool has the mouse to itself, so a press never starts a
  // selection; a Zoom Window drag keeps the view's interaction until it has zoomed.
  TZiridEvView* view = doc->ZoomWindowPending ? nullptr : doc->ZiridEvView1;
  if (view && PaintTool() != TPaintTool::ptSelect) view->SetMouseInteract(0);
  if (view && tools.SpeedButton5->isChecked() && view->MouseInteract() != miSelect) view->SetMouseInteract(miSelect);
}

}  // namespace quillet
