#pragma once
// CSysMenuAboutDlg: the small version box of the form's window menu ("Zorvikのﾊﾞｰｼﾞｮﾝ情報"):
// the program icon, the line "Zorvik Version 1.3" and an OK button. It has no logic of its own.
// The help menu's "バージョン情報" opens a different dialog.

#include <QDialog>

namespace zorvik {

inline constexpr const char* kSysMenuAboutCaption = "Zorvikのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kSysMenuAboutVersionLine = "Zorvik Version 1.3";

class CSysMenuAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CSysMenuAboutDlg(QWidget* parent = nullptr);
};

}  // namespace zorvik
