#include "app/notice_dlg.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/info_dialog_units.h"
#include "io/license_text.h"

namespace zorvik {

CNoticeDlg::CNoticeDlg(const QString& licensePath, QWidget* parent) : QDialog(parent), licensePath_(licensePath) {
  setObjectName(QStringLiteral("CNoticeDlg"));
  setWindowTitle(QStringLiteral("著作権情報"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFont(InfoDialogProportionalGothicFont());
  const InfoDialogUnits du = InfoDialogUnits::ForFont(font());
  setFixedSize(du.X(262), du.Y(223));

  auto* group = new QGroupBox(QStringLiteral("ご注意"), this);
  group->setAlignment(Qt::AlignHCenter);
  group->setGeometry(du.Rect(4, 4, 252, 196));

  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName(QStringLiteral("1170"));
  edit_->setProperty("controlId", kNoticeEditId);
  edit_->setReadOnly(true);
  edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Lines wrap at the box's edge: between words, and anywhere in Japanese, which has no spaces.
  edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  edit_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit_->setFocusPolicy(Qt::StrongFocus);
  edit_->setGeometry(du.Rect(8, 16, 244, 180));
  edit_->setAccessibleName(group->title());  // the caption over the text

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  ok->setAutoDefault(true);
  ok->setGeometry(du.Rect(212, 204, 42, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  setTabOrder(edit_, ok);
  OnInitDialog();
}

bool CNoticeDlg::OnInitDialog() {
  edit_->setPlainText(ReadNoticeText(licensePath_));
  edit_->moveCursor(QTextCursor::Start);
  return true;
}

}  // namespace zorvik
