#include "app/credentials_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/info_dialog_units.h"

namespace zorvik {

CCredentialsDlg::CCredentialsDlg(const QString& url, const QString& realm, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CCredentialsDlg"));
  setWindowTitle(QString::fromUtf8(kCredentialsCaption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowModality(Qt::ApplicationModal);
  setFont(InfoDialogGothicFont());

  auto* layout = new QVBoxLayout(this);
  const QString host = QUrl(url).host();
  QString message =
      QStringLiteral("%1 に接続するには、ユーザー名とパスワードが必要です。").arg(host.isEmpty() ? url : host);
  if (!realm.isEmpty()) message += QStringLiteral("\n領域: %1").arg(realm);
  auto* text = new QLabel(message, this);
  text->setWordWrap(true);
  layout->addWidget(text);

  auto* form = new QFormLayout;
  user_ = new QLineEdit(this);
  user_->setObjectName(QStringLiteral("user"));
  password_ = new QLineEdit(this);
  password_->setObjectName(QStringLiteral("password"));
  password_->setEchoMode(QLineEdit::Password);
  form->addRow(QStringLiteral("ユーザー名:"), user_);
  form->addRow(QStringLiteral("パスワード:"), password_);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  user_->setFocus();
}

QString CCredentialsDlg::user() const {
  return user_->text();
}
QString CCredentialsDlg::password() const {
  return password_->text();
}

bool DialogCredentialsProvider::AskCredentials(const QString& url, const QString& realm, QString& user,
                                               QString& password) {
  CCredentialsDlg dialog(url, realm);
  if (dialog.exec() != QDialog::Accepted) return false;
  user = dialog.user();
  password = dialog.password();
  return true;
}

}  // namespace zorvik
