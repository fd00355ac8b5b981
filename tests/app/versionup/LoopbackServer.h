#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

#include <atomic>

class QTcpSocket;

namespace marubo::test {

// An HTTP server on a loopback address with one canned answer for every
// request. It runs on a thread of its own, because a download blocks the
// thread that asks for it.
class LoopbackServer : public QThread {
public:
    enum class Answer {
        Body,           // 200 with Content-Length and the whole body
        BodyUntilClose, // 200 without Content-Length, the body ended by closing
        Status,         // `status` with a short text body
        Redirect,       // 302 to `location`
        Silent,         // reads the request, never answers
        StallInBody,    // announces the body, sends half of it, then nothing
        CutOff,         // announces the body, sends half of it, then closes
    };
    struct Script {
        Answer answer = Answer::Body;
        QByteArray body;
        int status = 200;
        QByteArray location;
    };

    explicit LoopbackServer(const QHostAddress& host = QHostAddress::LocalHost);
    ~LoopbackServer() override;

    // False when the address could not be bound.
    bool listening() const { return port_ != 0; }
    quint16 port() const { return port_; }
    // "http://<host>:<port>/<path>"
    QString address(const QString& path) const;

    void setScript(const Script& script);
    // Connections accepted so far.
    int connections() const { return connections_; }

protected:
    void run() override;

private:
    void answer(QTcpSocket* socket);

    QHostAddress host_;
    quint16 port_ = 0;
    QSemaphore ready_;
    mutable QMutex mutex_;
    Script script_;
    std::atomic<int> connections_{0};
};

} // namespace marubo::test
