// THelpForm: the editor's own help window, showing the help pages compiled
// into the program, with back, forward and the table of contents.
#pragma once

#include <QTextBrowser>
#include <QToolButton>
#include <QWidget>

namespace quillet {

class THelpForm : public QWidget {
  Q_OBJECT

 public:
  explicit THelpForm(QWidget* parent = nullptr);

  // Shows the window at the table of contents.
  void ShowContents();

  QToolButton *BackButton, *ForwardButton, *ContentsButton;
  QTextBrowser* HelpBrowser;
};

}  // namespace quillet
