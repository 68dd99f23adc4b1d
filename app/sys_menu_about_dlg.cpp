#include "app/sys_menu_about_dlg.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/app_icon.h"
#include "app/form_layout.h"
#include "ui/ui_font.h"

namespace zorvik {

CSysMenuAboutDlg::CSysMenuAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kSysMenuAboutCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFont(UiFont(kFormFontPoints));
  const DialogBaseUnits units = DialogBaseUnits::ForFont(font());
  setFixedSize(units.X(235), units.Y(55));

  const QIcon icon = AppIcon();
  setWindowIcon(icon);
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("icon"));
  const QRect iconRect = units.ToPixels({11, 17, 20, 20});
  picture->setGeometry(iconRect);
  picture->setPixmap(icon.pixmap(32, 32));
  picture->setAlignment(Qt::AlignCenter);

  auto* version = new QLabel(QString::fromUtf8(kSysMenuAboutVersionLine), this);
  version->setObjectName(QStringLiteral("version"));
  version->setGeometry(units.ToPixels({40, 22, 130, 10}));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(units.ToPixels({178, 7, 50, 14}));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace zorvik
