#pragma once
// The version dialog of the help menu (template 140, "バージョン情報"): a tall picture strip
// down the left edge, the program icon, the product line with its edition, and the maker's
// rights notice. It has no logic of its own; OK and the close box end it.
//
// The form's window menu has a different, smaller version box (CSysMenuAboutDlg).

#include <QDialog>
#include <QPixmap>

namespace zorvik {

inline constexpr const char* kAboutCaption = "バージョン情報";
inline constexpr const char* kAboutProductText = "資金計画表：ゾルビク\n\n2005 年 8 月 版";
inline constexpr const char* kAboutRightsNotice = "(C) Quorvane. 無断転載を禁じます。";

class CAboutDlg : public QDialog {
 public:
  static constexpr int kTemplateId = 140;
  static constexpr int kStripBitmapId = 146;
  static constexpr int kIconId = 138;

  explicit CAboutDlg(QWidget* parent = nullptr);
};

// Bitmap 146: the 46 x 242 picture strip of the version dialog, drawn in code.
QPixmap AboutStripPixmap();

// Icon 138 at `size` pixels: the program's icon from the resources, or a drawn stand-in when
// the resource is not there.
QPixmap ProgramIconPixmap(int size);

}  // namespace zorvik
