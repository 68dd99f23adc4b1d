#include "io/download/download_to_file.h"

#include <QAuthenticator>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>

#include "io/file_access.h"
#include "io/rate_master.h"

namespace zorvik {

namespace {

// "エラー" in Shift-JIS: the marker the rate-master servers put into their error pages.
const QByteArray kErrorMarkerSjis = QByteArray::fromHex("83478389815B");

bool IsHttpUrl(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
         !url.host().isEmpty();
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A file marked read-only is never overwritten, even by a user whom the system would let write
// it anyway (the administrator); a missing file only needs a writable folder.
bool IsMarkedReadOnly(const QString& localPath) {
  const QFileInfo info(localPath);
  if (!info.exists()) return false;
  if (info.isDir()) return true;
  const auto perms = info.permissions();
  return !(perms & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

// How one request ended.
enum class RequestEnd { kFinished, kTimedOut, kStalled, kCancelled, kTooLarge };

struct Response {
  RequestEnd end = RequestEnd::kFinished;
  int status = 0;  // 0: no HTTP answer (connection refused, name not resolved...)
  QNetworkReply::NetworkError error = QNetworkReply::NoError;
  bool chunked = false;   // the body came in the chunked transfer coding
  qint64 announced = -1;  // the Content-Length of the answer; -1 when it gave none
  bool encoded = false;   // the body came compressed although it was asked for as it is
  bool hasLocation = false;
  QByteArray location;
  QByteArray body;
};

struct DeleteLater {
  void operator()(QNetworkReply* reply) const {
    if (reply != nullptr) reply->deleteLater();
  }
};

// The time budget of one attempt. The time the user spends in the credentials dialog does not
// count, and nothing is aborted while that dialog is open (the request is inside its own signal).
struct AttemptClock {
  QDeadlineTimer deadline;
  bool asking = false;
};

int TimerInterval(qint64 remaining) {
  return static_cast<int>(std::clamp<qint64>(remaining, 1, INT32_MAX));
}

// Sends one GET and waits for its end in a local event loop, keeping at most maxBytes of body.
Response Fetch(QNetworkAccessManager& manager, const QUrl& url, const DownloadOptions& options,
               const AttemptClock& clock) {
  Response response;
  if (options.cancel != nullptr && options.cancel->IsCancelled()) {
    response.end = RequestEnd::kCancelled;
    return response;
  }
  const qint64 remaining = clock.deadline.remainingTime();
  if (remaining == 0) {
    response.end = RequestEnd::kTimedOut;
    return response;
  }

  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Zorvik"));
  // The master is asked for as it is, not compressed: a web server then sends a static file with
  // its length, which shows whether the whole body arrived, where a compressed reply would come
  // chunked and be refused.
  request.setRawHeader(QByteArrayLiteral("Accept-Encoding"), QByteArrayLiteral("identity"));

  std::unique_ptr<QNetworkReply, DeleteLater> reply(manager.get(request));
  QNetworkReply* r = reply.get();
  // The reply holds no more than one byte over the cap; an endless body is stopped there
  // instead of piling up in memory until the time-out.
  r->setReadBufferSize(options.maxBytes + 1);
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  // Armed when the answer's headers arrive and again with every piece of its body: a server
  // that goes quiet in the middle of an answer is given up after stallMs, long before the time
  // budget of the attempt runs out. Before the headers only that budget counts (a slow name
  // lookup or proxy is no stall).
  QTimer stall;
  stall.setSingleShot(true);
  auto alive = [&] {
    if (options.stallMs > 0 && response.end == RequestEnd::kFinished) stall.start(options.stallMs);
  };

  auto stop = [&](RequestEnd why) {
    if (response.end == RequestEnd::kFinished) response.end = why;
    if (r->isRunning()) r->abort();
  };
  auto take = [&] {
    if (response.end != RequestEnd::kFinished) return;
    alive();
    response.body += r->readAll();
    if (response.body.size() > options.maxBytes) stop(RequestEnd::kTooLarge);
  };

  QObject::connect(r, &QNetworkReply::metaDataChanged, &loop, [&] {
    alive();
    const qint64 announced = r->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > options.maxBytes) stop(RequestEnd::kTooLarge);
  });
  QObject::connect(r, &QNetworkReply::readyRead, &loop, take);
  QObject::connect(r, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
    if (stall.isActive()) alive();
    if (received > options.maxBytes) stop(RequestEnd::kTooLarge);
  });
  QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    const qint64 left = clock.deadline.remainingTime();
    if (clock.asking) {
      timer.start(100);
    } else if (left != 0) {
      timer.start(TimerInterval(left));
    } else {
      stop(RequestEnd::kTimedOut);
    }
  });
  QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
    // While the user is asked for credentials the request waits inside its own signal.
    if (clock.asking) {
      stall.start(options.stallMs);
    } else {
      stop(RequestEnd::kStalled);
    }
  });
  if (options.cancel != nullptr) {
    QObject::connect(options.cancel, &DownloadCancel::cancelled, &loop, [&] { stop(RequestEnd::kCancelled); });
  }
  if (remaining > 0) timer.start(TimerInterval(remaining));  // negative: no time limit
  if (!r->isFinished()) loop.exec(QEventLoop::AllEvents);
  timer.stop();
  take();
  stall.stop();

  response.status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  response.error = r->error();
  response.chunked = r->rawHeader("Transfer-Encoding").toLower().contains("chunked");
  bool hasLength = false;
  const qint64 length = r->header(QNetworkRequest::ContentLengthHeader).toLongLong(&hasLength);
  if (hasLength && length >= 0) response.announced = length;
  const QByteArray coding = r->rawHeader("Content-Encoding").trimmed().toLower();
  response.encoded = !coding.isEmpty() && coding != "identity";
  // Header names are matched without regard to case ("location" from an HTTP/2 server).
  response.hasLocation = r->hasRawHeader("Location");
  response.location = r->rawHeader("Location").trimmed();
  return response;
}

// The failure code of a request that did not end with a complete answer.
void ThrowIfInterrupted(const Response& response) {
  if (response.end == RequestEnd::kCancelled) ThrowDownloadError(kDownloadCancelled);
  if (response.end != RequestEnd::kFinished) ThrowDownloadError(kDownloadTransferFailed);
  if (response.status == 0) ThrowDownloadError(kDownloadTransferFailed);
}

// The body of a final answer 200, or code 9: a reply that reported any network error (the
// connection closed before the announced length, a corrupt compressed body) or an empty body is
// no rate master. Only a body of exactly its announced length is whole: without a
// Content-Length (a chunked body, or one that simply ends when the connection closes) a cut-off
// body cannot be told from a whole one, and Qt ends such a reply without an error. The rate
// master is a static file, which servers send with its length. A compressed body is refused
// too: it was asked for uncompressed, and its bytes are no master as they stand.
QByteArray AcceptedBody(const Response& response) {
  if (response.error != QNetworkReply::NoError || response.body.isEmpty() || response.chunked || response.encoded) {
    ThrowDownloadError(kDownloadTransferFailed);
  }
  if (response.announced < 0 || response.announced != response.body.size()) {
    ThrowDownloadError(kDownloadTransferFailed);
  }
  return response.body;
}

}  // namespace

int RedirectTargetCode(const QUrl& from, const QUrl& target) {
  if (!target.isValid()) return kDownloadBadUrl;
  if (!IsHttpUrl(target)) return kDownloadRedirectNotHttp;
  // From https to plain http anyone on the path could serve their own rates.
  if (from.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
      target.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0) {
    return kDownloadRedirectNotHttp;
  }
  return kDownloadOk;
}

namespace {

// Everything after the local file was found writable; returns the accepted body or throws.
QByteArray RunAttempt(const QString& urlText, const DownloadOptions& options) {
  const QUrl url(urlText, QUrl::StrictMode);
  if (!IsHttpUrl(url)) ThrowDownloadError(kDownloadBadUrl);

  // The system's proxy configuration, as a browser on this machine would use it.
  QNetworkProxyFactory::setUseSystemConfiguration(true);
  QNetworkAccessManager manager;
  manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  manager.setAutoDeleteReplies(false);

  // A 401 is answered at most once; a refusal of the given credentials ends the attempt.
  int challenges = 0;
  AttemptClock clock{QDeadlineTimer(options.timeoutMs)};
  QObject::connect(&manager, &QNetworkAccessManager::authenticationRequired, &manager,
                   [&](QNetworkReply* reply, QAuthenticator* authenticator) {
                     ++challenges;
                     if (challenges > 1 || options.credentials == nullptr) return;
                     QString user;
                     QString password;
                     QElapsedTimer asked;
                     asked.start();
                     clock.asking = true;
                     const bool answered = options.credentials->AskCredentials(reply->url().toString(),
                                                                               authenticator->realm(), user, password);
                     clock.asking = false;
                     clock.deadline += asked.elapsed();
                     if (!answered) return;
                     authenticator->setUser(user);
                     authenticator->setPassword(password);
                   });

  Response first = Fetch(manager, url, options, clock);
  ThrowIfInterrupted(first);
  if (first.status == 401) ThrowDownloadError(kDownloadAuthFailed);

  if (IsRedirect(first.status)) {
    if (!first.hasLocation || first.location.isEmpty()) ThrowDownloadError(kDownloadRedirectNoLocation);
    const QUrl relative(QString::fromLatin1(first.location), QUrl::StrictMode);
    if (!relative.isValid()) ThrowDownloadError(kDownloadBadUrl);
    const QUrl target = url.resolved(relative);
    if (const int code = RedirectTargetCode(url, target); code != kDownloadOk) ThrowDownloadError(code);

    Response second = Fetch(manager, target, options, clock);
    ThrowIfInterrupted(second);
    if (second.status != 200) ThrowDownloadError(kDownloadRedirectTargetFailed);
    return AcceptedBody(second);
  }

  // Anything but 200 (404, 500...) is an error page, whatever its body says.
  if (first.status != 200) ThrowDownloadError(kDownloadTransferFailed);
  return AcceptedBody(first);
}

}  // namespace

void DownloadCancel::Cancel() {
  if (cancelled_) return;
  cancelled_ = true;
  emit cancelled();
}

void ThrowDownloadError(uint32_t code) {
  throw CZorvikException(code);
}

bool ContainsErrorMarker(const QByteArray& body) {
  return body.contains(kErrorMarkerSjis);
}

int DownloadToFile(const QString& url, const QString& localPath) {
  return DownloadToFile(url, localPath, DownloadOptions{});
}

int DownloadToFile(const QString& url, const QString& localPath, const DownloadOptions& options) {
  // The new master goes to a temporary file beside the old one and replaces it only after a
  // success; the check comes first so that an unwritable target costs no network access.
  const auto localFailure = [&options](const WriteResult& why) {
    if (options.writeFailure != nullptr) *options.writeFailure = why;
    return static_cast<int>(kDownloadLocalFileError);
  };
  if (IsMarkedReadOnly(localPath)) return localFailure(WriteFailed(EROFS));
  AtomicFileWriter file(localPath);
  if (!file.Open()) return localFailure(file.result());

  int result = kDownloadOk;
  try {
    const QByteArray body = RunAttempt(url, options);
    // The whole body is searched at once, so a marker split between two network packets counts.
    if (ContainsErrorMarker(body)) ThrowDownloadError(kDownloadErrorMarker);
    // A login page of a hotel or office network answers 200 too; only a body that reads as a
    // master line by line is taken for it.
    if (!ReadsAsRateMaster(std::string_view(body.constData(), static_cast<size_t>(body.size())))) {
      ThrowDownloadError(kDownloadTransferFailed);
    }
    if (!file.Write(std::string_view(body.constData(), static_cast<size_t>(body.size())))) {
      ThrowDownloadError(kDownloadLocalFileError);
    }
    if (!file.Commit()) ThrowDownloadError(kDownloadLocalFileError);
  } catch (const CZorvikException& e) {
    result = static_cast<int>(e.m_dwErrorCode);
    if (result == kDownloadLocalFileError) localFailure(file.result());
  }
  if (result != kDownloadOk) file.Cancel();
  return result;
}

}  // namespace zorvik
