// The frame's commands as one table, a row per menu item: designer name,
// caption with its mnemonic, shortcuts, picture, handler, enable rule and its
// tool bar button. The menus, the tool bars and the refresh's enabling are
// all built from it.
#pragma once

#include <QAction>
#include <QMenu>
#include <span>

namespace quillet {

class TFrameForm;

// When the 200 ms refresh enables a command.
enum class TEnableRule {
  erAlways,      // left alone
  erDocument,    // a document is active (Save, Printer Setup, Print)
  erUndo,        // the active document holds an undo copy
  erSelection,   // its view has a selection
  erZoomIn,      // CurrentZoom below 1600
  erZoomOut,     // CurrentZoom above 25
  erColor24,     // its image is 24-bit
  erBlackWhite,  // its image is 1-bit
};

struct TFrameMenu {
  const char* Name;
  QMenu* TFrameForm::*Member;
  const char* Parent;  // none for the menu bar's own menus
  const char* Caption;
};

struct TFrameCommand {
  const char* Menu;               // designer name of the menu it stands in
  const char* Name;               // designer name; none for a separator
  QAction* TFrameForm::*Member;
  const char* Caption;
  const char* Shortcuts;          // "Ctrl+O", several as "Ctrl++; Ctrl+="
  const char* Icon;               // theme name or resource path
  void (TFrameForm::*Handler)();  // none while its work has not arrived: always disabled
  TEnableRule Rule;
  const char* Button;             // designer name of its tool bar button
  const char* Hint;               // the button's hint and status text
};

// Menus in the order they are first used: top menus, then the submenus.
std::span<const TFrameMenu> FrameMenus();
// Rows in menu order; a submenu is placed where its first item stands.
std::span<const TFrameCommand> FrameCommands();
// Buttons of the tool bars left to right, by command name; none is a
// separator, "ComboBox1" the zoom box.
std::span<const char* const> ToolBar2Order();
std::span<const char* const> ToolBar1Order();

}  // namespace quillet
