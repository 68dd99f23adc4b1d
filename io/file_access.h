#pragma once
// Every file the program writes (plan files, the PDF sheet, the downloaded rate master) goes
// through AtomicFileWriter, and every file it reads through ReadFileBytes.
//
// Writing: the content goes to a temporary file in the target's folder, which replaces the
// target only when every byte reached the disk (a link is followed: the file it points to is
// replaced, the link stays). A write that fails at any point (a full disk, a
// file-size limit, an I/O error), also one that only shows when the last buffered bytes are
// flushed, is reported, and the old file stays byte for byte as it was. Only a regular file or
// a new name is ever replaced: a folder, a FIFO, a device or a socket at the target is refused
// before anything is written.
//
// Temporary names: every temporary file or folder the program makes beside a target is named
// ".NAME.zorvik-PID-XXXXXX" (hidden; NAME the target's file name, PID the writing process, six
// random letters or digits). A crash between the temporary file and the replace leaves one
// behind; the next write into that folder removes such leftovers, but only those that cannot
// belong to a write still running: older than an hour, or made by a process that is gone. Two
// programs may write into one folder at the same time.
//
// Reading: only regular files are opened, so a FIFO or a device chosen by mistake never blocks
// the program and never streams endless bytes into it; at most a given number of bytes is read.

#include <QFile>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

namespace zorvik {

enum class AtomicWriteStatus {
  kWritten,         // the target now holds the new content
  kNotRegularFile,  // something other than a regular file is at the target; nothing written
  kCannotCreate,    // the temporary file could not be made (missing folder, no permission)
  kWriteFailed,     // writing, flushing or replacing failed; the target is as it was
};

// How a write ended: its status and, for a failure, the system's error number of the step that
// failed (0 when the system gave none), from which the user is told why.
struct WriteResult {
  AtomicWriteStatus status = AtomicWriteStatus::kWritten;
  int osError = 0;
  std::string detail;  // a reason that is not the system's (a workbook too long for a spreadsheet)

  bool ok() const { return status == AtomicWriteStatus::kWritten; }
  explicit operator bool() const { return ok(); }
};

// Why a write failed, as one Japanese sentence for the line under a failure message: the disk
// is full, no permission, the folder does not exist, and so on. Empty for a write that
// succeeded or whose reason is not known.
std::string WriteFailureReason(const WriteResult& result);
// The reason on a line of its own, to follow a failure message ("\n" and the reason); empty when
// there is none.
QString WriteFailureReasonLine(const WriteResult& result);
// A failed write: `osError` as errno gave it (0 when none), or a reason of the program's own.
WriteResult WriteFailed(int osError, std::string detail = std::string());

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const QString& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Checks the target and opens the temporary file. False (and status() says why) when the
  // target may not be replaced or the temporary file cannot be made.
  bool Open();
  // Appends bytes to the temporary file; false when not all of them were written, and every
  // later Write and Commit then fails too.
  bool Write(std::string_view bytes);
  // Makes sure every byte is on the disk, runs `beforeReplace` (a seam for tests: false
  // abandons the write), and replaces the target. On false the temporary file is removed and
  // the target is untouched.
  bool Commit(const std::function<bool()>& beforeReplace = {});
  // Abandons the write; the temporary file is removed. Also done when the writer is destroyed
  // before Commit.
  void Cancel();

  AtomicWriteStatus status() const { return status_; }
  WriteResult result() const { return WriteResult{status_, osError_, std::string()}; }

 private:
  // Fails the write; `osError` is the system's error number of the step that failed.
  void Fail(int osError);

  QString path_;    // as given
  QString target_;  // the file replaced: `path_` with its links resolved
  QFile file_;      // the temporary file
  AtomicWriteStatus status_ = AtomicWriteStatus::kCannotCreate;
  int osError_ = 0;
  bool opened_ = false;
};

// Whether a write to `path` may replace what is there: nothing, or a regular file (a symbolic
// link counts as what it points to).
bool IsReplaceableTarget(const QString& path);

// Whether two paths name the same existing file (also through links or different spellings).
bool IsSameFile(const QString& a, const QString& b);

// Writes `bytes` to `path` atomically. `beforeReplace` as for AtomicFileWriter::Commit.
WriteResult WriteFileAtomically(const QString& path, std::string_view bytes,
                                const std::function<bool()>& beforeReplace = {});
// The same with a UTF-8 path.
WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                const std::function<bool()>& beforeReplace = {});

// A fresh temporary name beside `target` (see the top of this file); nothing is created. The name
// part is shortened so that the whole name fits a file system's 255 bytes.
QString TemporaryPathBeside(const QString& target);
// Makes a new private folder beside `target` under such a name; false when it cannot be made.
bool MakeTemporaryFolderBeside(const QString& target, QString& folder);

// Removes this program's stale leftovers from `folder`: temporary files and folders named as
// above (a folder only when it holds nothing but files), and files "TARGETNAME.XXXXXX" (six
// letters) that earlier versions left beside `targetName`, which carry no process id and are
// removed only when older than an hour.
void RemoveStaleTemporaries(const QString& folder, const QString& targetName = QString());
// Removes work folders "zorvik-XXXXXX" and "zorvik-sheet-XXXXXX" that earlier versions of the
// workbook export left in `folder` (the shared temporary folder): only those older than an hour
// that hold nothing but the unfinished workbook "schedule.xlsx".
void RemoveStaleExportFolders(const QString& folder);
// Whether a temporary name carrying `pid` may still belong to a running write: the process
// exists (on systems where that cannot be asked, every process counts as running).
bool IsProcessRunning(qint64 pid);

// A file name made from a text the user typed (the customer name): blanks at both ends removed,
// control characters (NUL included) and the characters no file name may hold (/ \ : * ? " < > |)
// replaced by "_". Empty when nothing usable is left (an empty text, or only dots, which would
// name a folder).
QString CleanFileNameBase(const QString& text);

// Tests only: replaces fsync for the writer's final flush (a disk that fails with EIO). Null
// restores the real one.
void SetFileSyncForTests(int (*sync)(int fd));

// Reads at most `maxBytes` of a regular file (the rest of a longer file is left unread). False
// when the path is not a regular file or cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes);

}  // namespace zorvik
