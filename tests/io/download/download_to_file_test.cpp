#include "io/download/download_to_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>

#include "io/download/rate_master_sources.h"
#include "tests/support/fake_http_server.h"

namespace zorvik {
namespace {

using testing::FakeAnswer;
using testing::FakeHttpServer;
using testing::FakeRequest;

// "フラット35,1.940," and "民間変動,0.475," in Shift-JIS, CR LF line ends.
const QByteArray kGoodMaster = QByteArray::fromHex("83748389836283673335") + ",1.940,\r\n" +
                               QByteArray::fromHex("96AF8AD495CF93AE") + ",0.475,\r\n";
const QByteArray kOldMaster = "old product,2.000,\r\nsecond,1.000,\r\n";
const QByteArray kErrorSjis = QByteArray::fromHex("83478389815B");  // エラー

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// A body whose error marker straddles the 1,024th byte, sent as two separate packets.
FakeAnswer SplitMarkerAnswer() {
  QByteArray body(1021, 'a');
  body += kErrorSjis;  // bytes 1021..1026
  body += "\r\n";
  const QByteArray head =
      "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
  return FakeAnswer{{head + body.left(1024), body.mid(1024)}, 80, false};
}

class DownloadToFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("no_proxy", "127.0.0.1,localhost");
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(server_.listening());
    local_ = dir_.filePath("YushiMaster.txt");
    WriteAll(local_, kOldMaster);

    server_.Route("/good", [](const FakeRequest&) { return FakeHttpServer::Ok(kGoodMaster); });
    server_.Route("/marker", [](const FakeRequest&) { return FakeHttpServer::Ok("abc" + kErrorSjis + "def"); });
    server_.Route("/split-marker", [](const FakeRequest&) { return SplitMarkerAnswer(); });
    server_.Route("/moved", [this](const FakeRequest&) {
      return FakeHttpServer::Reply(301, "Moved", "", "Location: " + server_.Url("/good").toLatin1() + "\r\n");
    });
    server_.Route("/moved-lower", [this](const FakeRequest&) {
      return FakeHttpServer::Reply(302, "Found", "", "location: " + server_.Url("/good").toLatin1() + "\r\n");
    });
    server_.Route("/moved-relative", [](const FakeRequest&) {
      return FakeHttpServer::Reply(303, "See Other", "", "Location: /good\r\n");
    });
    server_.Route("/moved-twice",
                  [](const FakeRequest&) { return FakeHttpServer::Reply(301, "Moved", "", "Location: /moved\r\n"); });
    server_.Route("/moved-nowhere", [](const FakeRequest&) { return FakeHttpServer::Reply(302, "Found", ""); });
    server_.Route("/moved-ftp", [](const FakeRequest&) {
      return FakeHttpServer::Reply(301, "Moved", "", "Location: ftp://127.0.0.1/YushiMaster.txt\r\n");
    });
    server_.Route("/moved-missing", [](const FakeRequest&) {
      return FakeHttpServer::Reply(301, "Moved", "", "Location: /not-there\r\n");
    });
    server_.Route("/moved-marker",
                  [](const FakeRequest&) { return FakeHttpServer::Reply(301, "Moved", "", "Location: /marker\r\n"); });
    server_.Route("/not-found-good-body",
                  [](const FakeRequest&) { return FakeHttpServer::Reply(404, "Not Found", kGoodMaster); });
    server_.Route("/server-error",
                  [](const FakeRequest&) { return FakeHttpServer::Reply(500, "Internal Server Error", kGoodMaster); });
    server_.Route("/huge", [](const FakeRequest&) { return FakeHttpServer::Ok(QByteArray(70 * 1024, 'x')); });
    server_.Route("/huge-unannounced", [](const FakeRequest&) {
      QByteArray head = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
      return FakeAnswer{{head + QByteArray(40 * 1024, 'y'), QByteArray(40 * 1024, 'z')}, 20, false};
    });
    server_.Route("/exactly-64k", [](const FakeRequest&) {
      QByteArray body = "A,1.000,";
      return FakeHttpServer::Ok(body + QByteArray(64 * 1024 - body.size(), 'k'));
    });
    // Bodies that are cut off, empty or no rate master at all.
    server_.Route("/cut-short", [](const FakeRequest&) {
      return FakeAnswer{
          {"HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n" + kGoodMaster}, 0, false};
    });
    server_.Route("/chunked-unfinished", [](const FakeRequest&) {
      return FakeAnswer{{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
                             QByteArray::number(kGoodMaster.size(), 16) + "\r\n" + kGoodMaster + "\r\n",
                         ""},
                        50,
                        false};
    });
    server_.Route("/chunked-bad-size", [](const FakeRequest&) {
      return FakeAnswer{
          {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n" + kGoodMaster + "\r\n0\r\n\r\n"}, 0, false};
    });
    server_.Route("/chunked-complete", [](const FakeRequest&) {
      return FakeAnswer{{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                         QByteArray::number(kGoodMaster.size(), 16) + "\r\n" + kGoodMaster + "\r\n0\r\n\r\n"},
                        0,
                        false};
    });
    server_.Route("/chunked-over-cap", [](const FakeRequest&) {
      // Chunks of 8 KiB that would go on past the cap; the attempt stops at 64 KiB.
      QList<QByteArray> pieces{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"};
      for (int i = 0; i < 40; ++i) pieces.append("2000\r\n" + QByteArray(0x2000, 'c') + "\r\n");
      return FakeAnswer{pieces, 2, false};
    });
    server_.Route("/bad-gzip", [](const FakeRequest&) {
      return FakeHttpServer::Reply(200, "OK", "\x1f\x8b\x08\x00garbage" + kGoodMaster, "Content-Encoding: gzip\r\n");
    });
    server_.Route("/unannounced-good", [](const FakeRequest&) {
      return FakeAnswer{{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + kGoodMaster}, 0, false};
    });
    // Without a length a reply cut off after "財形住宅融資,1.1" would look whole.
    server_.Route("/unannounced-cut", [](const FakeRequest&) {
      return FakeAnswer{{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + kGoodMaster +
                         QByteArray::fromHex("8DE08C608F5A91EE975A8E91") + ",1.1"},
                        0,
                        false};
    });
    server_.Route("/portal-one-line", [](const FakeRequest&) {
      return FakeHttpServer::Ok("<html><body style=\"background:rgba(0,0,0,.5)\">Guest Wi-Fi</body></html>");
    });
    // Half the announced body, then silence with the connection open.
    server_.Route("/stall", [](const FakeRequest&) {
      const QByteArray head =
          "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(kGoodMaster.size()) + "\r\n\r\n";
      return FakeAnswer{{head + kGoodMaster.left(10), kGoodMaster.mid(10)}, 120000, false};
    });
    // The body in small pieces, each well within the allowed silence.
    server_.Route("/steady", [](const FakeRequest&) {
      QList<QByteArray> pieces{"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(kGoodMaster.size()) +
                               "\r\n\r\n"};
      for (qsizetype i = 0; i < kGoodMaster.size(); i += 8) pieces.append(kGoodMaster.mid(i, 8));
      return FakeAnswer{pieces, 50, false};
    });
    server_.Route("/empty", [](const FakeRequest&) { return FakeHttpServer::Ok(""); });
    server_.Route("/captive-portal", [](const FakeRequest&) {
      return FakeHttpServer::Reply(
          200, "OK",
          "<!DOCTYPE html>\r\n<html><head><meta name=\"viewport\" content=\"width=device-width, "
          "initial-scale=1.0\">\r\n<title>Guest Wi-Fi</title></head>\r\n<body><form>Room, "
          "name, 1.5 <input name=\"room\"></form></body></html>\r\n",
          "Content-Type: text/html\r\n");
    });
    server_.Route("/silent", [](const FakeRequest&) { return FakeAnswer{{}, 0, true}; });
    server_.Route("/auth", [](const FakeRequest& request) {
      // user "agent", password "secret"
      if (request.Header("Authorization") == "Basic YWdlbnQ6c2VjcmV0") return FakeHttpServer::Ok(kGoodMaster);
      return FakeHttpServer::Reply(401, "Unauthorized", "no", "WWW-Authenticate: Basic realm=\"rates\"\r\n");
    });
  }

  int Download(const QString& path, int timeoutMs = 5000, CredentialsProvider* credentials = nullptr,
               DownloadCancel* cancel = nullptr) {
    DownloadOptions options;
    options.timeoutMs = timeoutMs;
    options.credentials = credentials;
    options.cancel = cancel;
    return DownloadToFile(server_.Url(path), local_, options);
  }

  QTemporaryDir dir_;
  FakeHttpServer server_;
  QString local_;
};

struct CodeCase {
  const char* path;
  int expected;
};

class DownloadCodeTest : public DownloadToFileTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(DownloadCodeTest, GivesCodeAndKeepsOldFileOnFailure) {
  const CodeCase c = GetParam();
  EXPECT_EQ(Download(QString::fromLatin1(c.path)), c.expected) << c.path;
  if (c.expected == kDownloadOk) {
    EXPECT_EQ(ReadAll(local_), kGoodMaster);
  } else {
    EXPECT_EQ(ReadAll(local_), kOldMaster) << "old master must stay byte-identical after " << c.path;
  }
  // No temporary file is left beside the master.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"YushiMaster.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadCodeTest,
    ::testing::Values(
        CodeCase{"/good", kDownloadOk}, CodeCase{"/marker", kDownloadErrorMarker},
        CodeCase{"/split-marker", kDownloadErrorMarker}, CodeCase{"/moved", kDownloadOk},
        CodeCase{"/moved-lower", kDownloadOk}, CodeCase{"/moved-relative", kDownloadOk},
        CodeCase{"/moved-twice", kDownloadRedirectTargetFailed},
        CodeCase{"/moved-nowhere", kDownloadRedirectNoLocation}, CodeCase{"/moved-ftp", kDownloadRedirectNotHttp},
        CodeCase{"/moved-missing", kDownloadRedirectTargetFailed}, CodeCase{"/moved-marker", kDownloadErrorMarker},
        CodeCase{"/not-found-good-body", kDownloadTransferFailed}, CodeCase{"/server-error", kDownloadTransferFailed},
        CodeCase{"/huge", kDownloadTransferFailed}, CodeCase{"/huge-unannounced", kDownloadTransferFailed},
        CodeCase{"/auth", kDownloadAuthFailed}, CodeCase{"/cut-short", kDownloadTransferFailed},
        CodeCase{"/chunked-unfinished", kDownloadTransferFailed},
        CodeCase{"/chunked-bad-size", kDownloadTransferFailed},
        // Qt cannot tell a whole chunked body from a cut-off one: chunked is refused.
        CodeCase{"/chunked-complete", kDownloadTransferFailed}, CodeCase{"/chunked-over-cap", kDownloadTransferFailed},
        CodeCase{"/bad-gzip", kDownloadTransferFailed},
        // Without a Content-Length a whole body cannot be told from a cut-off one.
        CodeCase{"/unannounced-good", kDownloadTransferFailed}, CodeCase{"/unannounced-cut", kDownloadTransferFailed},
        CodeCase{"/portal-one-line", kDownloadTransferFailed}, CodeCase{"/steady", kDownloadOk},
        CodeCase{"/empty", kDownloadTransferFailed}, CodeCase{"/captive-portal", kDownloadTransferFailed}),
    [](const ::testing::TestParamInfo<CodeCase>& info) {
      std::string name;
      for (const char* p = info.param.path + 1; *p != '\0'; ++p) name += (*p == '-') ? '_' : *p;
      return name;
    });

TEST_F(DownloadToFileTest, ExactlyTheLimitIsAccepted) {
  EXPECT_EQ(Download("/exactly-64k"), kDownloadOk);
  EXPECT_EQ(ReadAll(local_).size(), 64 * 1024);
}

TEST_F(DownloadToFileTest, SplitMarkerArrivesInTwoPackets) {
  // The body really comes in two pieces; the marker is still found.
  EXPECT_EQ(Download("/split-marker"), kDownloadErrorMarker);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

TEST_F(DownloadToFileTest, MissingLocalFileIsCreatedOnSuccessOnly) {
  ASSERT_TRUE(QFile::remove(local_));
  EXPECT_EQ(Download("/marker"), kDownloadErrorMarker);
  EXPECT_FALSE(QFile::exists(local_));
  EXPECT_EQ(Download("/good"), kDownloadOk);
  EXPECT_EQ(ReadAll(local_), kGoodMaster);
}

TEST_F(DownloadToFileTest, SilentServerTimesOut) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(Download("/silent", 300), kDownloadTransferFailed);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

// A server that announces a length and then goes quiet is given up after the allowed silence,
// long before the attempt's time-out.
TEST_F(DownloadToFileTest, StalledAnswerFailsWithoutWaitingForTheTimeOut) {
  DownloadOptions options;
  options.timeoutMs = 60000;
  options.stallMs = 300;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(DownloadToFile(server_.Url("/stall"), local_, options), kDownloadTransferFailed);
  EXPECT_LT(clock.elapsed(), 30000);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
  EXPECT_EQ(DownloadOptions{}.stallMs, kDefaultDownloadStallMs);
  // A slow answer whose pieces keep coming is no stall.
  options.stallMs = 1500;
  EXPECT_EQ(DownloadToFile(server_.Url("/steady"), local_, options), kDownloadOk);
  EXPECT_EQ(ReadAll(local_), kGoodMaster);
}

TEST_F(DownloadToFileTest, RefusedConnectionGivesNine) {
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const quint16 port = closed.serverPort();
  closed.close();
  DownloadOptions options;
  options.timeoutMs = 5000;
  EXPECT_EQ(DownloadToFile(QStringLiteral("http://127.0.0.1:%1/x").arg(port), local_, options),
            kDownloadTransferFailed);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

TEST_F(DownloadToFileTest, ReadOnlyLocalFileGivesElevenWithoutNetwork) {
  ASSERT_TRUE(QFile::setPermissions(local_, QFileDevice::ReadOwner | QFileDevice::ReadUser));
  EXPECT_EQ(Download("/good"), kDownloadLocalFileError);
  EXPECT_TRUE(server_.requests().isEmpty());
  QFile::setPermissions(local_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

TEST_F(DownloadToFileTest, LocalPathInMissingFolderGivesEleven) {
  DownloadOptions options;
  WriteResult why;
  options.writeFailure = &why;
  EXPECT_EQ(DownloadToFile(server_.Url("/good"), dir_.filePath("no/such/folder/YushiMaster.txt"), options),
            kDownloadLocalFileError);
  EXPECT_EQ(why.osError, ENOENT);  // the reason reaches the message: the folder does not exist
  EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(DownloadToFileTest, BadUrlsGiveOne) {
  for (const char* url : {"", "not a url", "ftp://127.0.0.1/YushiMaster.txt", "file:///etc/hostname", "http://"}) {
    EXPECT_EQ(DownloadToFile(QString::fromLatin1(url), local_), kDownloadBadUrl) << url;
  }
  EXPECT_TRUE(server_.requests().isEmpty());
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

TEST_F(DownloadToFileTest, RedirectIsFollowedOnceOnly) {
  EXPECT_EQ(Download("/moved-twice"), kDownloadRedirectTargetFailed);
  ASSERT_EQ(server_.requests().size(), 2);
  EXPECT_EQ(server_.requests()[0].path, "/moved-twice");
  EXPECT_EQ(server_.requests()[1].path, "/moved");
}

TEST_F(DownloadToFileTest, RequestsCarryTheAgentNameAndAskForAnUncompressedBody) {
  EXPECT_EQ(Download("/good"), kDownloadOk);
  ASSERT_EQ(server_.requests().size(), 1);
  EXPECT_EQ(server_.requests()[0].method, "GET");
  EXPECT_EQ(server_.requests()[0].Header("User-Agent"), "Zorvik");
  EXPECT_EQ(server_.requests()[0].Header("Accept-Encoding"), "identity");
}

class ScriptedCredentials : public CredentialsProvider {
 public:
  ScriptedCredentials(bool answer, QString user, QString password)
      : answer_(answer), user_(std::move(user)), password_(std::move(password)) {}
  bool AskCredentials(const QString& url, const QString& realm, QString& user, QString& password) override {
    ++asked;
    lastUrl = url;
    lastRealm = realm;
    if (!answer_) return false;
    user = user_;
    password = password_;
    return true;
  }
  int asked = 0;
  QString lastUrl;
  QString lastRealm;

 private:
  bool answer_;
  QString user_;
  QString password_;
};

TEST_F(DownloadToFileTest, UnauthorizedWithCancelledDialogGivesTwo) {
  ScriptedCredentials credentials(false, {}, {});
  EXPECT_EQ(Download("/auth", 5000, &credentials), kDownloadAuthFailed);
  EXPECT_EQ(credentials.asked, 1);
  EXPECT_EQ(credentials.lastRealm, "rates");
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

TEST_F(DownloadToFileTest, UnauthorizedAnsweredRetriesAndSucceeds) {
  ScriptedCredentials credentials(true, "agent", "secret");
  EXPECT_EQ(Download("/auth", 5000, &credentials), kDownloadOk);
  EXPECT_EQ(credentials.asked, 1);
  EXPECT_EQ(ReadAll(local_), kGoodMaster);
}

TEST_F(DownloadToFileTest, WrongCredentialsAreAskedForOnceOnly) {
  ScriptedCredentials credentials(true, "agent", "wrong");
  EXPECT_EQ(Download("/auth", 5000, &credentials), kDownloadAuthFailed);
  EXPECT_EQ(credentials.asked, 1);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

// Answers only after the attempt's time budget would have run out.
class SlowCredentials : public CredentialsProvider {
 public:
  bool AskCredentials(const QString&, const QString&, QString& user, QString& password) override {
    QEventLoop wait;
    QTimer::singleShot(600, &wait, &QEventLoop::quit);
    wait.exec();
    user = "agent";
    password = "secret";
    return true;
  }
};

TEST_F(DownloadToFileTest, TimeInTheCredentialsDialogDoesNotCount) {
  SlowCredentials credentials;
  EXPECT_EQ(Download("/auth", 300, &credentials), kDownloadOk);
  EXPECT_EQ(ReadAll(local_), kGoodMaster);
}

TEST_F(DownloadToFileTest, CancelStopsAWaitingAttempt) {
  DownloadCancel cancel;
  QTimer::singleShot(100, &cancel, [&cancel] { cancel.Cancel(); });
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(Download("/silent", 20000, nullptr, &cancel), kDownloadCancelled);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_EQ(ReadAll(local_), kOldMaster);
}

TEST_F(DownloadToFileTest, AlreadyCancelledMakesNoRequest) {
  DownloadCancel cancel;
  cancel.Cancel();
  EXPECT_EQ(Download("/good", 5000, nullptr, &cancel), kDownloadCancelled);
  EXPECT_TRUE(server_.requests().isEmpty());
}

// A redirect is followed to http or https, but never from https down to plain http.
TEST(RedirectTargetTest, RefusesOtherSchemesAndTheDowngradeFromHttps) {
  const struct {
    const char* from;
    const char* to;
    int code;
  } rows[] = {
      {"http://a.invalid/x", "http://b.invalid/y", kDownloadOk},
      {"http://a.invalid/x", "https://b.invalid/y", kDownloadOk},
      {"https://a.invalid/x", "https://b.invalid/y", kDownloadOk},
      {"https://a.invalid/x", "HTTPS://b.invalid/y", kDownloadOk},
      {"https://a.invalid/x", "http://b.invalid/y", kDownloadRedirectNotHttp},
      {"HTTPS://a.invalid/x", "http://a.invalid/x", kDownloadRedirectNotHttp},
      {"http://a.invalid/x", "ftp://b.invalid/y", kDownloadRedirectNotHttp},
      {"https://a.invalid/x", "http://", kDownloadRedirectNotHttp},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(RedirectTargetCode(QUrl(row.from), QUrl(row.to)), row.code) << row.from << " -> " << row.to;
  }
  EXPECT_EQ(RedirectTargetCode(QUrl("http://a.invalid/"), QUrl()), kDownloadBadUrl);
}

TEST(ErrorMarkerTest, FindsTheShiftJisTextOnly) {
  EXPECT_TRUE(ContainsErrorMarker(kErrorSjis));
  EXPECT_TRUE(ContainsErrorMarker(QByteArray(5000, 'a') + kErrorSjis));
  EXPECT_FALSE(ContainsErrorMarker(QString::fromUtf8("エラー").toUtf8()));  // the UTF-8 bytes are not the marker
  EXPECT_FALSE(ContainsErrorMarker(kErrorSjis.left(4)));
  EXPECT_FALSE(ContainsErrorMarker(kGoodMaster));
}

TEST(CZorvikExceptionTest, CarriesItsCode) {
  try {
    ThrowDownloadError(kDownloadRedirectNoLocation);
    FAIL() << "ThrowDownloadError returned";
  } catch (const CZorvikException& e) {
    EXPECT_EQ(e.m_dwErrorCode, 3u);
  }
}

TEST(RateMasterSourcesTest, JoinsBaseAndPath) {
  EXPECT_EQ(RateMasterUrl("http://a.invalid", kPrimaryRateMasterPath), "http://a.invalid/plan/zorvik/YushiMaster.txt");
  EXPECT_EQ(RateMasterUrl("https://b.invalid:8443/", kSecondaryRateMasterPath),
            "https://b.invalid:8443/zorvik/YushiMaster.txt");
}

TEST(RateMasterSourcesTest, EnvironmentOverridesEachSource) {
  qunsetenv("ZORVIK_RATE_PRIMARY_URL");
  qunsetenv("ZORVIK_RATE_SECONDARY_URL");
  const QStringList defaults = RateMasterSourceUrls();
  ASSERT_EQ(defaults.size(), 2);
  EXPECT_TRUE(defaults[0].endsWith("/plan/zorvik/YushiMaster.txt"));
  EXPECT_TRUE(defaults[1].endsWith("/zorvik/YushiMaster.txt"));
  EXPECT_FALSE(defaults[1].endsWith("/plan/zorvik/YushiMaster.txt"));

  qputenv("ZORVIK_RATE_PRIMARY_URL", "http://127.0.0.1:1/one.txt");
  EXPECT_EQ(RateMasterSourceUrls()[0], "http://127.0.0.1:1/one.txt");
  EXPECT_EQ(RateMasterSourceUrls()[1], defaults[1]);
  qputenv("ZORVIK_RATE_SECONDARY_URL", "https://127.0.0.1:2/two.txt");
  EXPECT_EQ(RateMasterSourceUrls()[1], "https://127.0.0.1:2/two.txt");
  qunsetenv("ZORVIK_RATE_PRIMARY_URL");
  qunsetenv("ZORVIK_RATE_SECONDARY_URL");
}

}  // namespace
}  // namespace zorvik
