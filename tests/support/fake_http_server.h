#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for the download tests. Each path has a handler that
// returns the raw response bytes; the connection is closed after the answer. A handler may
// instead hold the connection open without answering, or send the answer in timed pieces.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <memory>

namespace zorvik::testing {

struct FakeRequest {
  QByteArray method;
  QByteArray path;
  QByteArray head;  // request line and headers as received
  // Value of a header, matched without regard to case; empty when absent.
  QByteArray Header(const QByteArray& name) const {
    for (const QByteArray& line : head.split('\n')) {
      const int colon = line.indexOf(':');
      if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
        return line.mid(colon + 1).trimmed();
      }
    }
    return {};
  }
};

struct FakeAnswer {
  QList<QByteArray> pieces;  // written one after the other, `pauseMs` apart
  int pauseMs = 0;
  bool never = false;  // accept the request, never answer
};

class FakeHttpServer {
 public:
  using Handler = std::function<FakeAnswer(const FakeRequest&)>;

  FakeHttpServer() {
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
    listening_ = server_.listen(QHostAddress::LocalHost, 0);
  }
  ~FakeHttpServer() {
    server_.close();
    for (const QPointer<QTcpSocket>& s : sockets_) {
      if (s) s->abort();
    }
  }

  bool listening() const { return listening_; }
  quint16 port() const { return server_.serverPort(); }
  QString Url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path); }

  void Route(const QByteArray& path, Handler handler) { routes_[path] = std::move(handler); }
  const QList<FakeRequest>& requests() const { return requests_; }

  // Plain answers.
  static FakeAnswer Reply(int status, const QByteArray& reason, const QByteArray& body,
                          const QByteArray& extraHeaders = {}) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n";
    out += extraHeaders;
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += body;
    return FakeAnswer{{out}, 0, false};
  }
  static FakeAnswer Ok(const QByteArray& body) { return Reply(200, "OK", body, "Content-Type: text/plain\r\n"); }

 private:
  void Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      sockets_.append(socket);
      auto buffer = std::make_shared<QByteArray>();
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
        *buffer += socket->readAll();
        const int end = buffer->indexOf("\r\n\r\n");
        if (end < 0) return;
        FakeRequest request;
        request.head = buffer->left(end);
        buffer->clear();
        const QList<QByteArray> first = request.head.left(request.head.indexOf('\r')).split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        requests_.append(request);
        const auto route = routes_.find(request.path);
        const FakeAnswer answer = route != routes_.end() ? route.value()(request) : Reply(404, "Not Found", "none");
        if (answer.never) return;
        Send(socket, answer.pieces, 0, answer.pauseMs);
      });
    }
  }

  static void Send(QPointer<QTcpSocket> socket, QList<QByteArray> pieces, int index, int pauseMs) {
    if (!socket) return;
    if (index >= pieces.size()) {
      socket->disconnectFromHost();
      return;
    }
    socket->write(pieces[index]);
    socket->flush();
    QTimer::singleShot(pauseMs, socket, [socket, pieces, index, pauseMs] { Send(socket, pieces, index + 1, pauseMs); });
  }

  QTcpServer server_;
  bool listening_ = false;
  QMap<QByteArray, Handler> routes_;
  QList<FakeRequest> requests_;
  QList<QPointer<QTcpSocket>> sockets_;
};

}  // namespace zorvik::testing
