#pragma once
// The template of the main plan form: every control with its id, kind, text and rectangle in
// dialog units, the menu, the tab order and the controls on which Enter moves on.
//
// Dialog units are relative to the dialog font: one horizontal unit is a quarter of the font's
// average character width, one vertical unit an eighth of its height. ToPixels converts them
// the way the form's original platform does, so the sheet keeps its proportions whatever the
// font and the screen resolution.

#include <QFont>
#include <QKeySequence>
#include <QRect>
#include <QString>
#include <vector>

#include "core/plan_texts.h"

namespace zorvik {

inline constexpr const char* kFormCaption = "資金計画表 ： ゾルビク";
inline constexpr int kFormWidthDu = 424;
inline constexpr int kFormHeightDu = 263;
inline constexpr double kFormFontPoints = 9.0;

// Caption and text of the version item the form adds to its window menu.
inline constexpr const char* kSysMenuAboutItem = "Zorvik のﾊﾞｰｼﾞｮﾝ情報(&A)...";

enum class ControlKind {
  Caption,          // centred, bordered static
  Label,            // plain static text without a border ("年", "月", "日")
  Result,           // bordered static showing a computed value
  ClickableResult,  // bordered static that reports mouse clicks (the simulation totals)
  Sample,           // sunken colour sample
  Note,             // multi-line explanatory text
  Edit,             // single-line edit
  ReadOnlyEdit,     // single-line edit the user cannot change; still in the tab order
  ReadOnlyMultiLine,
  NameCombo,   // drop-down combo box with an edit field (loan products)
  MethodList,  // drop-down list ("元利均等", "元金均等")
  PushButton,
  DefaultButton,
  Line,  // the horizontal line along the top edge
};

enum class TextAlign { Left, Center, Right };

struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Id 0 marks a control nobody addresses (a plain caption, the top line).
struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  const char* text = "";
  DialogRect rect;
  TextAlign align = TextAlign::Left;
  int dropHeightDu = 0;  // list height of the two combo kinds, edit field included
};

// Every control of the form, rows included, in creation order.
const std::vector<ControlTemplate>& FormTemplate();
// The template entry of a control, or nullptr.
const ControlTemplate* FindTemplate(int id);

// The two texts of every method list, list position = method code - 1.
inline constexpr const auto& kMethodTexts = kMethodNames;  // the method list, core/plan_texts.h

// The name a screen reader gives a control: what a sighted user reads beside it ("氏名",
// "1行目 金利", "合計 月払い"); empty for the captions, which are read by their own text.
QString FormAccessibleName(int id);

// Focus order of Tab (and of Enter where it moves on).
const std::vector<int>& TabOrder();
// True for the controls on which Enter moves the focus to the next control of the tab order.
bool EnterMovesToNext(int id);

// Menu 134. A command id 0 is a separator.
struct MenuItemTemplate {
  int commandId = 0;
  const char* text = "";
};
struct MenuTemplate {
  const char* title = "";
  std::vector<MenuItemTemplate> items;
};
const std::vector<MenuTemplate>& FormMenu();
// The simulation items of the "ツール(&T)" menu, after the tool windows.
inline constexpr const char* kMonthlySimulationMenuText = "月払いシミュレーション(&M)";
inline constexpr const char* kBonusSimulationMenuText = "ボーナス払いシミュレーション(&O)";
// The key that runs a menu command from anywhere on the form (Ctrl+S: "上書き保存(&S)", F1:
// "操作説明(&H)"); empty for the others.
QKeySequence MenuShortcut(int commandId);
// Command of the file menu that saves the sheet as a PDF document (after "名前をつけて保存(&A)").
inline constexpr int kFileSavePdfCommand = 32790;

// Horizontal and vertical base units of a font: average character width and character height
// in pixels.
struct DialogBaseUnits {
  int cx = 6;
  int cy = 12;

  static DialogBaseUnits ForFont(const QFont& font);
  QRect ToPixels(const DialogRect& r) const;
  int X(int du) const;
  int Y(int du) const;
};

}  // namespace zorvik
