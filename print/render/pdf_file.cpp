#include "print/render/pdf_file.h"

#include <QBuffer>
#include <QByteArray>
#include <cerrno>
#include <string_view>

namespace zorvik {

WriteResult WritePdfFile(const QString& path, const std::function<bool(QIODevice&)>& draw) {
  if (path.isEmpty()) return WriteFailed(ENOENT);
  AtomicFileWriter writer(path);
  if (!writer.Open()) return writer.result();
  QByteArray pdf;
  QBuffer buffer(&pdf);
  if (!buffer.open(QIODevice::WriteOnly) || !draw(buffer)) {
    writer.Cancel();
    return WriteFailed(0);
  }
  buffer.close();
  if (writer.Write(std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())))) writer.Commit();
  return writer.result();
}

}  // namespace zorvik
