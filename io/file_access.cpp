#include "io/file_access.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
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

// ---- temporary names -----------------------------------------------------------------------

namespace {

constexpr const char* kTemporaryMarker = ".zorvik-";
constexpr int kRandomLength = 6;
constexpr int kMaxNameBytes = 255;
constexpr int kCreateAttempts = 100;
// A leftover older than this cannot belong to a write that is still running.
constexpr qint64 kStaleSeconds = 3600;

int (*g_fileSync)(int) = nullptr;

QString RandomSuffix() {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString out;
  for (int i = 0; i < kRandomLength; ++i) {
    out += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof(kLetters) - 1))]);
  }
  return out;
}

// ".NAME.zorvik-PID-XXXXXX" (PID in the first group).
const QRegularExpression& TemporaryNamePattern() {
  static const QRegularExpression pattern(QStringLiteral("^\\..+\\.zorvik-([0-9]{1,18})-[A-Za-z0-9]{6}$"),
                                          QRegularExpression::DotMatchesEverythingOption);
  return pattern;
}

// The newest modification of an entry, and for a folder of what it holds.
QDateTime LastChange(const QFileInfo& info) {
  QDateTime last = info.lastModified();
  if (info.isDir() && !info.isSymLink()) {
    const QDir dir(info.absoluteFilePath());
    for (const QFileInfo& inner :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
      last = std::max(last, inner.lastModified());
    }
  }
  return last;
}

bool OlderThanAnHour(const QFileInfo& info) {
  const QDateTime last = LastChange(info);
  return last.isValid() && last.secsTo(QDateTime::currentDateTimeUtc()) > kStaleSeconds;
}

// A leftover file is removed; a leftover folder only when it holds nothing but files.
void RemoveLeftover(const QFileInfo& info) {
  if (info.isSymLink() || info.isFile()) {
    QFile::remove(info.absoluteFilePath());
    return;
  }
  if (!info.isDir()) return;
  QDir dir(info.absoluteFilePath());
  const QFileInfoList inner = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QFileInfo& entry : inner) {
    if (!entry.isFile() || entry.isSymLink()) return;
  }
  for (const QFileInfo& entry : inner) QFile::remove(entry.absoluteFilePath());
  dir.rmdir(dir.absolutePath());
}

// The name part of a temporary name, cut at a character so that the whole name fits.
QString ShortenedName(QString name, int roomBytes) {
  while (!name.isEmpty() && QFile::encodeName(name).size() > roomBytes) {
    name.chop(1);
    if (!name.isEmpty() && name.back().isHighSurrogate()) name.chop(1);
  }
  return name;
}

}  // namespace

QString TemporaryPathBeside(const QString& target) {
  const QFileInfo info(target);
  const QString tail = QLatin1String(kTemporaryMarker) + QString::number(QCoreApplication::applicationPid()) +
                       QLatin1Char('-') + RandomSuffix();
  const QString name = ShortenedName(info.fileName(), kMaxNameBytes - 1 - static_cast<int>(tail.size()));
  return QDir(info.absolutePath()).filePath(QLatin1Char('.') + name + tail);
}

bool MakeTemporaryFolderBeside(const QString& target, QString& folder) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    const QString candidate = TemporaryPathBeside(target);
    const QFileInfo info(candidate);
    if (info.exists() || info.isSymLink()) continue;
    if (QDir().mkdir(candidate, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
      folder = candidate;
      return true;
    }
    if (!QFileInfo(candidate).exists()) return false;  // not a name clash: the folder cannot be written
  }
  return false;
}

bool IsProcessRunning(qint64 pid) {
#ifdef Q_OS_UNIX
  if (pid <= 0 || pid != static_cast<qint64>(static_cast<pid_t>(pid))) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
  Q_UNUSED(pid);
  return true;
#endif
}

void RemoveStaleTemporaries(const QString& folder, const QString& targetName) {
  const QDir dir(folder);
  // Files that earlier versions left: the target's name, a dot and six random letters. The random
  // part mixes cases, with a capital after its first letter; a user's own "plan.zvk.backup" or
  // "plan.zvk.Backup" is never taken for one.
  const QRegularExpression legacy(QStringLiteral("^") + QRegularExpression::escape(targetName) +
                                  QStringLiteral("\\.(?=[A-Za-z]*[a-z])(?=[A-Za-z][A-Za-z]*[A-Z])[A-Za-z]{6}$"));
  for (const QFileInfo& info :
       dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    const QString name = info.fileName();
    const QRegularExpressionMatch match = TemporaryNamePattern().match(name);
    if (match.hasMatch()) {
      if (!IsProcessRunning(match.captured(1).toLongLong()) || OlderThanAnHour(info)) RemoveLeftover(info);
    } else if (!targetName.isEmpty() && info.isFile() && !info.isSymLink() && legacy.match(name).hasMatch() &&
               OlderThanAnHour(info)) {
      QFile::remove(info.absoluteFilePath());
    }
  }
}

void RemoveStaleExportFolders(const QString& folder) {
  static const QRegularExpression pattern(QStringLiteral("^zorvik(-sheet)?-[A-Za-z0-9]{6}$"));
  const QDir dir(folder);
  for (const QFileInfo& info : dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
    if (info.isSymLink() || !pattern.match(info.fileName()).hasMatch() || !OlderThanAnHour(info)) continue;
    QDir work(info.absoluteFilePath());
    const QStringList inner = work.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (inner.size() > 1 || (inner.size() == 1 && inner.front() != QLatin1String("schedule.xlsx"))) continue;
    RemoveLeftover(info);
  }
}

QString CleanFileNameBase(const QString& text) {
  QString name = text.trimmed();
  for (QChar& c : name) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c)) c = QLatin1Char('_');
  }
  // Names made only of dots would name the folder itself or its parent.
  if (name.count(QLatin1Char('.')) == name.size()) return QString();
  return name;
}

void SetFileSyncForTests(int (*sync)(int fd)) {
  g_fileSync = sync;
}

// ---- the atomic writer ---------------------------------------------------------------------

AtomicFileWriter::AtomicFileWriter(const QString& path) : path_(path) {}

AtomicFileWriter::~AtomicFileWriter() {
  Cancel();
}

bool AtomicFileWriter::Open() {
  if (path_.isEmpty()) {
    status_ = AtomicWriteStatus::kCannotCreate;
    osError_ = ENOENT;
    return false;
  }
  if (!IsReplaceableTarget(path_)) {
    status_ = AtomicWriteStatus::kNotRegularFile;
    return false;
  }
  const QFileInfo info(path_);
  const bool exists = info.exists();
  target_ = exists ? info.canonicalFilePath() : info.absoluteFilePath();
  const QFileInfo target(target_);
  RemoveStaleTemporaries(target.absolutePath(), target.fileName());
  status_ = AtomicWriteStatus::kCannotCreate;
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    const QString candidate = TemporaryPathBeside(target_);
    file_.setFileName(candidate);
    // Unbuffered: every write reaches the file at once, so a failure shows in its result rather
    // than in a flush. NewOnly: never a file (or link) that is already there.
    errno = 0;
    const bool created = file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered);
    osError_ = errno;
    if (created) {
      osError_ = 0;
      opened_ = true;
      status_ = AtomicWriteStatus::kWritten;
      // The new file keeps the permissions of the one it replaces.
      if (exists) file_.setPermissions(target.permissions());
      return true;
    }
    const QFileInfo clash(candidate);
    if (!clash.exists() && !clash.isSymLink()) break;  // not a name clash: the folder cannot be written
  }
  file_.setFileName(QString());
  // Where the system did not say why, the folder tells.
  if (osError_ == 0) {
    const QFileInfo folder(target.absolutePath());
    osError_ = !folder.isDir() ? ENOENT : !folder.isWritable() ? EACCES : 0;
  }
  return false;
}

void AtomicFileWriter::Fail(int osError) {
  status_ = AtomicWriteStatus::kWriteFailed;
  osError_ = osError;
  Cancel();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (!opened_ || status_ != AtomicWriteStatus::kWritten) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    errno = 0;
    const qint64 n = file_.write(bytes.data() + done, static_cast<qint64>(bytes.size() - done));
    if (n <= 0) {
      Fail(errno);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFileWriter::Commit(const std::function<bool()>& beforeReplace) {
  if (!opened_ || status_ != AtomicWriteStatus::kWritten) return false;
  errno = 0;
  bool ok = file_.flush() && file_.error() == QFileDevice::NoError;
  int failure = ok ? 0 : errno;
#ifdef Q_OS_UNIX
  // Errors that a file system reports only when the data is forced out (quota, network drives,
  // a failing disk).
  if (ok) {
    const int synced = g_fileSync != nullptr ? g_fileSync(file_.handle()) : ::fsync(file_.handle());
    if (synced != 0 && errno != EINVAL) {
      ok = false;
      failure = errno;
    }
  }
#endif
  if (ok && beforeReplace && !beforeReplace()) ok = false;
  if (ok) {
    errno = 0;
    file_.close();
    ok = file_.error() == QFileDevice::NoError;
    if (!ok) failure = errno;
  }
  std::error_code error;
  if (ok) std::filesystem::rename(FsPath(file_.fileName()), FsPath(target_), error);
  if (!ok || error) {
    Fail(error ? error.value() : failure);
    return false;
  }
  opened_ = false;
#ifdef Q_OS_UNIX
  // The new name itself reaches the disk with its folder.
  const int dirFd =
      ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
#endif
  return true;
}

void AtomicFileWriter::Cancel() {
  if (!opened_) return;
  opened_ = false;
  file_.close();
  file_.remove();
}

WriteResult WriteFileAtomically(const QString& path, std::string_view bytes,
                                const std::function<bool()>& beforeReplace) {
  AtomicFileWriter writer(path);
  if (writer.Open() && writer.Write(bytes)) writer.Commit(beforeReplace);
  return writer.result();
}

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                const std::function<bool()>& beforeReplace) {
  return WriteFileAtomically(QString::fromStdString(path), bytes, beforeReplace);
}

QString WriteFailureReasonLine(const WriteResult& result) {
  const std::string reason = WriteFailureReason(result);
  return reason.empty() ? QString() : QStringLiteral("\n") + QString::fromStdString(reason);
}

WriteResult WriteFailed(int osError, std::string detail) {
  return WriteResult{AtomicWriteStatus::kWriteFailed, osError, std::move(detail)};
}

std::string WriteFailureReason(const WriteResult& result) {
  if (result.ok()) return std::string();
  if (!result.detail.empty()) return result.detail;
  if (result.status == AtomicWriteStatus::kNotRegularFile) return "保存先はファイルではありません（フォルダーなど）。";
  switch (result.osError) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "ディスクの空き容量が足りません。";
    case EACCES:
    case EPERM:
      return "保存先に書き込む権限がありません。";
    case EROFS:
      return "保存先は読み取り専用です。";
    case ENOENT:
    case ENOTDIR:
      return "保存先のフォルダーがありません。";
    case EFBIG:
      return "ファイルの大きさの上限を超えます。";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます。";
    case EIO:
      return "ディスクの読み書きに失敗しました。";
    default:
      return std::string();
  }
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
