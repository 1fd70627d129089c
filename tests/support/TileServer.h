#pragma once
// A tile server on 127.0.0.1 for the map tests, on a thread of its own so it answers while the
// test waits (or while a kavro it started runs). What it does depends on the first path part:
//   /png/{z}/{x}/{y}.png    a generated 256 x 256 tile (one colour per tile, see TileColor)
//   /404/...                "404 Not Found"
//   /junk/...               "200 OK" with text that is no picture
//   /silent/...             reads the request and never answers
// Every request is recorded with its User-Agent. Header-only: the tests that use it link Qt
// Network through the map room.

#include <QBuffer>
#include <QHostAddress>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kavro::test {

class TileServer {
 public:
  struct Hit {
    std::string path;
    std::string userAgent;
  };

  // The colour of tile z/x/y: pale, never the colour of a track.
  static QRgb TileColor(int z, int x, int y) { return qRgb(150 + (x * 7 + z) % 60, 190 + (y * 5) % 50, 230); }

  TileServer() {
    thread_.start();
    server_ = new QTcpServer;
    server_->moveToThread(&thread_);
    QMetaObject::invokeMethod(server_, [this] {
          QObject::connect(server_, &QTcpServer::newConnection, server_, [this] { Accept(); });
          server_->listen(QHostAddress::LocalHost, 0);
          port_ = server_->serverPort();
        }, Qt::BlockingQueuedConnection);
  }
  ~TileServer() {
    QMetaObject::invokeMethod(server_, [this] { delete server_; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
  }
  TileServer(const TileServer&) = delete;
  TileServer& operator=(const TileServer&) = delete;

  quint16 Port() const { return port_; }
  std::string Url(const std::string& mode) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + mode + "/{z}/{x}/{y}.png";
  }
  std::vector<Hit> Hits() const {
    std::lock_guard lock(mutex_);
    return hits_;
  }
  // The most connections open at one time.
  int MaxOpen() const {
    std::lock_guard lock(mutex_);
    return maxOpen_;
  }
  std::size_t Count() const {
    std::lock_guard lock(mutex_);
    return hits_.size();
  }

 private:
  void Accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
      socket->setParent(server_);  // the silent ones stay open until the server goes
      {
        std::lock_guard lock(mutex_);
        maxOpen_ = std::max(maxOpen_, ++open_);
      }
      QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
        std::lock_guard lock(mutex_);
        --open_;
        socket->deleteLater();
      });
      auto buffer = std::make_shared<QByteArray>();
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
        buffer->append(socket->readAll());
        if (buffer->contains("\r\n\r\n")) Answer(socket, *buffer);
      });
    }
  }

  void Answer(QTcpSocket* socket, const QByteArray& request) {
    const QList<QByteArray> lines = request.split('\n');
    const QList<QByteArray> first = lines.value(0).split(' ');
    const QByteArray path = first.value(1);
    QByteArray agent;
    for (const QByteArray& l : lines)
      if (l.toLower().startsWith("user-agent:")) agent = l.mid(11).trimmed();
    {
      std::lock_guard lock(mutex_);
      hits_.push_back({path.toStdString(), agent.toStdString()});
    }
    const QList<QByteArray> parts = path.split('/');  // "", mode, z, x, "y.png"
    const QByteArray mode = parts.value(1);
    if (mode == "silent") return;
    if (mode == "404") return Send(socket, "404 Not Found", "text/plain", "no such tile\n");
    if (mode == "junk") return Send(socket, "200 OK", "image/png", "<html>this is not a picture</html>\n");
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(TileColor(parts.value(2).toInt(), parts.value(3).toInt(), parts.value(4).split('.').value(0).toInt()));
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    tile.save(&out, "PNG");
    Send(socket, "200 OK", "image/png", png);
  }

  static void Send(QTcpSocket* socket, const char* status, const char* type, const QByteArray& body) {
    QByteArray head = QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(head + body);
    socket->disconnectFromHost();
  }

  QThread thread_;
  QTcpServer* server_ = nullptr;
  quint16 port_ = 0;
  mutable std::mutex mutex_;
  std::vector<Hit> hits_;
  int open_ = 0;
  int maxOpen_ = 0;
};

}  // namespace kavro::test
