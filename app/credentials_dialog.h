#pragma once
// The credentials dialog shown when a rate-master server answers 401: user name and password for
// one retry. It belongs to no window of the program (like the system's own credentials prompt)
// but is modal to the whole application while it is open.

#include <QDialog>

#include "io/download/download_to_file.h"

class QLineEdit;
class QLabel;

namespace zorvik {

inline constexpr const char* kCredentialsCaption = "ユーザー認証";

class CCredentialsDlg : public QDialog {
 public:
  CCredentialsDlg(const QString& url, const QString& realm, QWidget* parent = nullptr);

  QString user() const;
  QString password() const;
  QLineEdit* userEdit() const { return user_; }
  QLineEdit* passwordEdit() const { return password_; }

 private:
  QLineEdit* user_ = nullptr;
  QLineEdit* password_ = nullptr;
};

// Asks through CCredentialsDlg; a cancelled dialog ends the attempt with code 2.
class DialogCredentialsProvider : public CredentialsProvider {
 public:
  bool AskCredentials(const QString& url, const QString& realm, QString& user, QString& password) override;
};

}  // namespace zorvik
