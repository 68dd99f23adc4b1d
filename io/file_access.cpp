#include "io/file_access.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zorvik {

namespace {

// Files are read in pieces of this size, straight into the result.
constexpr size_t kReadChunk = size_t{64} * 1024;

std::filesystem::path FsPath(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

#ifdef Q_OS_UNIX
// Opens a regular file for reading without ever waiting: O_NONBLOCK makes opening a FIFO return
// at once, and the descriptor is then refused because it is not a regular file.
bool OpenRegularFile(const QString& path, QFile& file) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return false;
  }
  return true;
}
#else
bool OpenRegularFile(const QString& path, QFile& file) {
  file.setFileName(path);
  return file.open(QIODevice::ReadOnly) && !file.isSequential();
}
#endif

}  // namespace

bool IsReplaceableTarget(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return !info.isSymLink();  // a new name; a dangling link is not followed
  return info.isFile();
}

bool IsSameFile(const QString& a, const QString& b) {
  std::error_code error;
  return std::filesystem::equivalent(FsPath(a), FsPath(b), error) && !error;
}

AtomicFileWriter::AtomicFileWriter(const QString& path) : file_(path) {}

bool AtomicFileWriter::Open() {
  if (file_.fileName().isEmpty()) {
    status_ = AtomicWriteStatus::kCannotCreate;
    return false;
  }
  if (!IsReplaceableTarget(file_.fileName())) {
    status_ = AtomicWriteStatus::kNotRegularFile;
    return false;
  }
  // Unbuffered: every write reaches the file at once, so a failure shows in its result rather
  // than in a flush that the replace would not check.
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    status_ = AtomicWriteStatus::kCannotCreate;
    return false;
  }
  opened_ = true;
  status_ = AtomicWriteStatus::kWritten;
  return true;
}

void AtomicFileWriter::Fail() {
  status_ = AtomicWriteStatus::kWriteFailed;
  Cancel();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (!opened_ || status_ != AtomicWriteStatus::kWritten) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const qint64 n = file_.write(bytes.data() + done, static_cast<qint64>(bytes.size() - done));
    if (n <= 0) {
      Fail();
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFileWriter::Commit(const std::function<bool()>& beforeReplace) {
  if (!opened_ || status_ != AtomicWriteStatus::kWritten) return false;
  bool ok = file_.flush() && file_.error() == QFileDevice::NoError;
#ifdef Q_OS_UNIX
  // Errors that a file system reports only when the data is forced out (quota, network drives).
  if (ok && ::fsync(file_.handle()) != 0 && errno != EINVAL) ok = false;
#endif
  if (ok && beforeReplace && !beforeReplace()) ok = false;
  if (!ok) {
    Fail();
    return false;
  }
  opened_ = false;
  if (!file_.commit()) {
    status_ = AtomicWriteStatus::kWriteFailed;
    return false;
  }
  return true;
}

void AtomicFileWriter::Cancel() {
  if (!opened_) return;
  opened_ = false;
  file_.cancelWriting();
  file_.commit();  // with the write cancelled this only removes the temporary file
}

AtomicWriteStatus WriteFileAtomically(const QString& path, std::string_view bytes,
                                      const std::function<bool()>& beforeReplace) {
  AtomicFileWriter writer(path);
  if (writer.Open() && writer.Write(bytes)) writer.Commit(beforeReplace);
  return writer.status();
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, const std::function<bool()>& beforeReplace) {
  return WriteFileAtomically(QString::fromStdString(path), bytes, beforeReplace) == AtomicWriteStatus::kWritten;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes) {
  const QString qpath = QString::fromStdString(path);
  // The check by name comes first, so that a device is not even opened.
  if (!QFileInfo(qpath).isFile()) return false;
  QFile file;
  if (!OpenRegularFile(qpath, file)) return false;
  bytes.clear();
  while (bytes.size() < maxBytes) {
    const size_t old = bytes.size();
    const size_t want = std::min(kReadChunk, maxBytes - old);
    bytes.resize(old + want);
    const qint64 got = file.read(bytes.data() + old, static_cast<qint64>(want));
    bytes.resize(old + static_cast<size_t>(std::max<qint64>(got, 0)));
    if (got < 0) return false;
    if (got == 0) break;
  }
  return true;
}

}  // namespace zorvik
