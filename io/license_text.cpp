#include "io/license_text.h"

#include <QStringDecoder>
#include <string>

#include "io/file_access.h"

namespace zorvik {

QString DecodeNoticeText(const QByteArray& bytes) {
  static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
  QByteArray raw = bytes;
  const qsizetype nul = raw.indexOf('\0');
  if (nul >= 0) raw.truncate(nul);

  QString text;
  if (raw.startsWith(kUtf8Bom)) {
    text = QString::fromUtf8(raw.mid(kUtf8Bom.size()));
  } else {
    QStringDecoder decoder("windows-31j");
    if (decoder.isValid()) {
      text = decoder.decode(raw);
    } else {
      text = QString::fromLocal8Bit(raw);  // an ICU-less Qt: the system's code page is the best guess
    }
  }
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return text;
}

QString ReadNoticeText(const QString& path) {
  // A notice is a few kilobytes; only a regular file is read, and only this far.
  constexpr size_t kMaxNoticeBytes = size_t{4} * 1024 * 1024;
  std::string bytes;
  if (!ReadFileBytes(path.toStdString(), bytes, kMaxNoticeBytes)) return QString();
  return DecodeNoticeText(QByteArray::fromStdString(bytes));
}

}  // namespace zorvik
