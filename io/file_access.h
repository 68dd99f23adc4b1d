#pragma once
// Every file the program writes (plan files, the PDF sheet, the downloaded rate master) goes
// through AtomicFileWriter, and every file it reads through ReadFileBytes.
//
// Writing: the content goes to a temporary file in the target's folder, which replaces the
// target only when every byte reached the disk. A write that fails at any point (a full disk, a
// file-size limit, an I/O error), also one that only shows when the last buffered bytes are
// flushed, is reported, and the old file stays byte for byte as it was. Only a regular file or
// a new name is ever replaced: a folder, a FIFO, a device or a socket at the target is refused
// before anything is written.
//
// Reading: only regular files are opened, so a FIFO or a device chosen by mistake never blocks
// the program and never streams endless bytes into it; at most a given number of bytes is read.

#include <QSaveFile>
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

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const QString& path);
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
  // Abandons the write; the temporary file is removed.
  void Cancel();

  AtomicWriteStatus status() const { return status_; }

 private:
  void Fail();

  QSaveFile file_;
  AtomicWriteStatus status_ = AtomicWriteStatus::kCannotCreate;
  bool opened_ = false;
};

// Whether a write to `path` may replace what is there: nothing, or a regular file (a symbolic
// link counts as what it points to).
bool IsReplaceableTarget(const QString& path);

// Whether two paths name the same existing file (also through links or different spellings).
bool IsSameFile(const QString& a, const QString& b);

// Writes `bytes` to `path` atomically. `beforeReplace` as for AtomicFileWriter::Commit.
AtomicWriteStatus WriteFileAtomically(const QString& path, std::string_view bytes,
                                      const std::function<bool()>& beforeReplace = {});
// The same with a UTF-8 path; true when the file was written.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const std::function<bool()>& beforeReplace = {});

// Reads at most `maxBytes` of a regular file (the rest of a longer file is left unread). False
// when the path is not a regular file or cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes);

}  // namespace zorvik
