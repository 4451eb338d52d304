// The processing component's undo list: captioned whole-image copies kept in
// image stores, oldest first, at most UndoLimit of them.
#include <algorithm>

#include "imaging/proc/ziridev_proc.h"

namespace quillet {

void TZiridEvProc::SaveUndo() {
  const TIEWorkingBitmap* bitmap = link_.Bitmap();
  if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return;
  // The oldest go first, so that a large image never needs one copy too many.
  while (!undo_.empty() && int(undo_.size()) >= std::max(UndoLimit, 1)) undo_.pop_front();
  auto image = std::make_unique<TIEBitmap>();
  image->SetLocation(UndoLocation);
  image->CopyFromBitmap(*bitmap);
  if (image->Empty()) return;  // no store could hold it
  undo_.push_back(TUndoEntry{std::move(image), std::string()});
  ++undoAppends_;
}

void TZiridEvProc::SaveUndoCaptioned(const std::string& caption) {
  const uint64_t before = undoAppends_;
  SaveUndo();
  if (undoAppends_ != before) undo_.back().Caption = caption;
}

void TZiridEvProc::Undo() { UndoAt(0); }

void TZiridEvProc::UndoAt(int index) {
  TIEWorkingBitmap* bitmap = link_.Bitmap();
  if (!bitmap || index < 0 || index >= UndoCount()) return;
  undo_[undo_.size() - 1 - size_t(index)].Image->CopyToBitmap(*bitmap);
  NotifyImageChanged();
}

void TZiridEvProc::ClearUndo() { undo_.clear(); }

const std::string& TZiridEvProc::UndoCaption(int index) const {
  return undo_.at(undo_.size() - 1 - size_t(index)).Caption;
}

}  // namespace quillet
