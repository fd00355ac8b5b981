#include "LoopbackServer.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

namespace marubo::test {

namespace {

QByteArray head(int status, const QByteArray& reason, const QByteArray& fields) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n" + fields +
           "Connection: close\r\n\r\n";
}

QByteArray lengthField(qsizetype length) {
    return "Content-Length: " + QByteArray::number(length) + "\r\n";
}

} // namespace

LoopbackServer::LoopbackServer(const QHostAddress& host) : host_(host) {
    start();
    ready_.acquire();
}

LoopbackServer::~LoopbackServer() {
    quit();
    wait();
}

QString LoopbackServer::address(const QString& path) const {
    const QString host = host_.protocol() == QAbstractSocket::IPv6Protocol
                             ? u'[' + host_.toString() + u']'
                             : host_.toString();
    return QStringLiteral("http://%1:%2/%3").arg(host).arg(port_).arg(path);
}

void LoopbackServer::setScript(const Script& script) {
    QMutexLocker lock(&mutex_);
    script_ = script;
}

void LoopbackServer::run() {
    QTcpServer server;
    if (server.listen(host_, 0))
        port_ = server.serverPort();
    ready_.release();
    if (port_ == 0)
        return;
    QObject::connect(&server, &QTcpServer::newConnection, [this, &server] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            ++connections_;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                // Answer once, when the request's head is complete.
                QByteArray request = socket->property("request").toByteArray();
                request += socket->readAll();
                socket->setProperty("request", request);
                if (request.contains("\r\n\r\n") && !socket->property("answered").toBool()) {
                    socket->setProperty("answered", true);
                    answer(socket);
                }
            });
        }
    });
    exec();
    // Sockets still open (stalled answers) go with the server.
}

void LoopbackServer::answer(QTcpSocket* socket) {
    Script script;
    {
        QMutexLocker lock(&mutex_);
        script = script_;
    }
    const QByteArray half = script.body.left(script.body.size() / 2);
    switch (script.answer) {
    case Answer::Body:
        socket->write(head(200, "OK", lengthField(script.body.size())) + script.body);
        socket->disconnectFromHost();
        break;
    case Answer::BodyUntilClose:
        socket->write(head(200, "OK", {}) + script.body);
        socket->disconnectFromHost();
        break;
    case Answer::Status: {
        const QByteArray text = "status " + QByteArray::number(script.status) + '\n';
        socket->write(head(script.status, "Canned", lengthField(text.size())) + text);
        socket->disconnectFromHost();
        break;
    }
    case Answer::Redirect:
        socket->write(head(302, "Found", "Location: " + script.location + "\r\n" + lengthField(0)));
        socket->disconnectFromHost();
        break;
    case Answer::Silent:
        break;
    case Answer::StallInBody:
        socket->write(head(200, "OK", lengthField(script.body.size())) + half);
        break;
    case Answer::CutOff:
        socket->write(head(200, "OK", lengthField(script.body.size())) + half);
        socket->disconnectFromHost();
        break;
    }
}

} // namespace marubo::test
