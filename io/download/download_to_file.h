#pragma once
// One attempt to fetch the rate master over HTTP(S) into a local file.
//
// An attempt: make sure the local file can be written (before any network access), send a GET
// through the system's proxy settings, answer a 401 once through a credentials provider, follow
// one redirect by hand (never from https down to http), receive the whole body (at most 64 KiB,
// no more is ever buffered) and check it for the Shift-JIS text "エラー", which the rate-master
// servers put into their error pages. Only a clean, non-empty body with the final status 200
// that came with a Content-Length and is exactly that long (a body without a length, chunked or
// ended by the closing connection, may be cut off without Qt reporting it), and that reads as a
// rate master line by line (ReadsAsRateMaster, io/rate_master.h), replaces the local file, and it
// does so atomically (io/file_access.h): every failure, time-out, stall, cancel or failed write
// (a full disk) leaves the old file byte for byte as it was.
//
// The attempt runs a local event loop until it ends, so the caller's windows keep painting and a
// progress dialog can offer a cancel button. Nothing is reported to the user from here.

#include <QObject>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <exception>

#include "io/file_access.h"

namespace zorvik {

// Result codes of one attempt. The command tells 0 (success) and 12 (cancelled) from the rest;
// the other codes are kept distinct for tests and diagnosis.
enum DownloadResult : int {
  kDownloadOk = 0,                    // whole body received, status 200, no error marker
  kDownloadBadUrl = 1,                // URL (given or redirect target) unparsable, or not http/https
  kDownloadAuthFailed = 2,            // 401 and the credentials were not given (or refused again)
  kDownloadRedirectNoLocation = 3,    // 301/302/303/307/308 without a Location header
  kDownloadRedirectNotHttp = 4,       // the redirect target is not an http/https URL, or leaves https for http
  kDownloadRedirectTargetFailed = 5,  // the redirect target did not answer 200
  kDownloadTransferFailed = 9,        // connection, name lookup, time-out, stall, non-200, any network error
                                      // of the reply (cut-off body...), no or a wrong Content-Length,
                                      // oversized or empty body, a body that is no rate master
  kDownloadErrorMarker = 10,          // the body contains the Shift-JIS text "エラー"
  kDownloadLocalFileError = 11,       // the local file cannot be written
  kDownloadCancelled = 12,            // the user cancelled the attempt; the whole command ends
};

// Largest body accepted; a rate master of 20 short lines is far below it.
inline constexpr qint64 kMaxRateMasterBytes = 64 * 1024;
// Default time-out of one attempt, counted from the start of the first request.
inline constexpr int kDefaultDownloadTimeoutMs = 30000;
// Default longest silence within an answer: once its headers arrived, a server that sends no
// byte for this long has stalled, and the attempt ends at once rather than at its time-out.
inline constexpr int kDefaultDownloadStallMs = 5000;

// Carries a result code out of the depths of one attempt. Raised only by ThrowDownloadError and
// caught only inside DownloadToFile; it never reaches a caller.
class CZorvikException : public std::exception {
 public:
  explicit CZorvikException(uint32_t code) : m_dwErrorCode(code) {}
  const char* what() const noexcept override { return "Zorvik download error"; }

  uint32_t m_dwErrorCode = 0;
};

[[noreturn]] void ThrowDownloadError(uint32_t code);

// Asked when a server answers 401. Returns false when the user cancels; otherwise fills in the
// user name and password to send once.
class CredentialsProvider {
 public:
  virtual ~CredentialsProvider() = default;
  virtual bool AskCredentials(const QString& url, const QString& realm, QString& user, QString& password) = 0;
};

// Lets a progress dialog stop a running attempt. Cancel() may be called from a slot while the
// attempt's event loop runs; the attempt then ends with kDownloadCancelled.
class DownloadCancel : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  void Cancel();
  bool IsCancelled() const { return cancelled_; }

 signals:
  void cancelled();

 private:
  bool cancelled_ = false;
};

struct DownloadOptions {
  int timeoutMs = kDefaultDownloadTimeoutMs;   // negative: no time limit
  int stallMs = kDefaultDownloadStallMs;       // 0 or negative: no limit on silence
  CredentialsProvider* credentials = nullptr;  // none: a 401 gives code 2
  DownloadCancel* cancel = nullptr;
  qint64 maxBytes = kMaxRateMasterBytes;
  // Filled with why, when the attempt ends with kDownloadLocalFileError (a full disk, no permission).
  WriteResult* writeFailure = nullptr;
};

// One attempt with the default options (30 s, no credentials, no cancel). Returns a DownloadResult.
int DownloadToFile(const QString& url, const QString& localPath);
int DownloadToFile(const QString& url, const QString& localPath, const DownloadOptions& options);

// Whether a redirect from `from` may be followed to `target`: kDownloadOk, kDownloadBadUrl for an
// invalid target, kDownloadRedirectNotHttp for one that is not http/https or that leaves https
// for plain http.
int RedirectTargetCode(const QUrl& from, const QUrl& target);

// Whether the bytes hold the Shift-JIS (CP932) text "エラー" anywhere.
bool ContainsErrorMarker(const QByteArray& body);

}  // namespace zorvik
