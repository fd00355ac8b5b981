#include "LoopbackServer.h"

#include "app/versionup/DownloadFile.h"
#include "app/versionup/VersionUp.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace marubo;
using marubo::test::LoopbackServer;
using Answer = LoopbackServer::Answer;
using Script = LoopbackServer::Script;

Q_DECLARE_METATYPE(LoopbackServer::Script)

namespace {

const QString kQuestion = QStringLiteral(
    "バージョンアップを実行しますか。\r\nただし、ソフトの更新中は実行できない場合があります。");
const QString kFailed = QStringLiteral("バージョンアップが正常に出来ませんでした。");
const QString kProgramBase = QStringLiteral("https://download.example.jp/marubo");
const QString kNewProgram = QStringLiteral("https://download.example.jp/marubo/Marubo.exe");
const QByteArray kEarlierUpdater = "#!/bin/sh\n# the updater of an earlier version-up\n";
const QString kUpdaterName = QStringLiteral("dload.exe");

// Canned answers of the loopback server.
Script answering(Answer answer, const QByteArray& body = {}) {
    Script script;
    script.answer = answer;
    script.body = body;
    return script;
}
Script status(int code) {
    Script script = answering(Answer::Status);
    script.status = code;
    return script;
}
Script redirect(const QByteArray& location) {
    Script script = answering(Answer::Redirect);
    script.location = location;
    return script;
}

struct RecordingWindow : VersionUpWindow {
    bool answer = true;
    QStringList questions;
    QStringList messages;
    int closes = 0;

    bool askInformationYesNo(const QString& text) override {
        questions << text;
        return answer;
    }
    void showMessage(const QString& text) override { messages << text; }
    void closeMainWindow() override { ++closes; }
    // Every change of the busy state, in order.
    QList<bool> busy;
    void setDownloading(bool downloading) override { busy << downloading; }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// A program folder and a folder for what a started updater records, kept beside
// the test program (a temporary folder may be mounted without execution).
struct VersionUpRun {
    QTemporaryDir scratch{QCoreApplication::applicationDirPath() +
                          QStringLiteral("/versionup-XXXXXX")};
    QString programFolder;
    QString recordFolder;
    RecordingWindow window;
    VersionUpSettings settings;

    explicit VersionUpRun(const QString& updaterAddress) {
        QDir(scratch.path()).mkpath(QStringLiteral("program"));
        QDir(scratch.path()).mkpath(QStringLiteral("record"));
        programFolder = QDir(scratch.path()).filePath(QStringLiteral("program"));
        recordFolder = QDir(scratch.path()).filePath(QStringLiteral("record"));
        settings.updaterAddress = updaterAddress;
        settings.programBaseAddress = kProgramBase;
        settings.programFolder = programFolder;
        // Short bounds so that a stalled server costs a second or two.
        settings.limits.connectTimeout = std::chrono::milliseconds(2000);
        settings.limits.lowSpeedTime = std::chrono::seconds(1);
        settings.limits.totalTimeout = std::chrono::seconds(20);
        settings.limits.maxBytes = 4096;
    }

    QString updaterFile() const { return QDir(programFolder).filePath(kUpdaterName); }
    QString recordFile() const { return QDir(recordFolder).filePath(QStringLiteral("arguments")); }
    QStringList programFolderEntries() const {
        return QDir(programFolder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    void run() { runVersionUp(window, QStringLiteral("Marubo"), settings); }

    // An updater that writes its argument count and each argument in <> to the
    // record file, renaming it into place when complete.
    QByteArray recordingUpdater() const {
        const QByteArray record = recordFile().toLocal8Bit();
        return "#!/bin/sh\n"
               "{ echo \"$#\"; for argument in \"$@\"; do echo \"<$argument>\"; done; } > '" +
               record + ".part'\nmv '" + record + ".part' '" + record + "'\n";
    }
};

// A loopback port on which nothing listens.
quint16 closedPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace

class TestVersionUp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void permittedAddresses_data();
    void permittedAddresses();
    void addressesAndDefaults();

    void answerNoFetchesNothing();
    void updaterStartedAndWindowClosed_data();
    void updaterStartedAndWindowClosed();
    void failedDownloadKeepsEarlierUpdater_data();
    void failedDownloadKeepsEarlierUpdater();
    void failedStartKeepsWindowOpen_data();
    void failedStartKeepsWindowOpen();
    void refusedAddressMakesNoRequest_data();
    void refusedAddressMakesNoRequest();
    void missingProgramFolder();

private:
    std::unique_ptr<LoopbackServer> server_;
    // On another loopback address, which is not one the download accepts.
    std::unique_ptr<LoopbackServer> otherServer_;
    // Serves a good updater over http, as the target of a redirect.
    std::unique_ptr<LoopbackServer> redirectTarget_;
};

void TestVersionUp::initTestCase() {
    server_ = std::make_unique<LoopbackServer>();
    QVERIFY(server_->listening());
    otherServer_ = std::make_unique<LoopbackServer>(QHostAddress(QStringLiteral("127.0.0.2")));
    redirectTarget_ = std::make_unique<LoopbackServer>();
    QVERIFY(redirectTarget_->listening());
    redirectTarget_->setScript(answering(Answer::Body, "#!/bin/sh\n"));
}

void TestVersionUp::cleanupTestCase() {
    server_.reset();
    otherServer_.reset();
    redirectTarget_.reset();
}

void TestVersionUp::permittedAddresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("permitted");

    QTest::newRow("https") << "https://download.example.jp/marubo/dload.exe" << true;
    QTest::newRow("https in capitals") << "HTTPS://Download.Example.JP/marubo/dload.exe" << true;
    QTest::newRow("http on 127.0.0.1") << "http://127.0.0.1:8080/dload.exe" << true;
    QTest::newRow("http on localhost") << "http://LocalHost/dload.exe" << true;
    QTest::newRow("http on ::1") << "http://[::1]:8080/dload.exe" << true;
    QTest::newRow("https on loopback") << "https://127.0.0.1/dload.exe" << true;
    QTest::newRow("http on a host name") << "http://download.example.jp/dload.exe" << false;
    QTest::newRow("http on 127.0.0.2") << "http://127.0.0.2/dload.exe" << false;
    QTest::newRow("localhost as a name prefix") << "http://localhost.example.jp/" << false;
    QTest::newRow("loopback as a name prefix") << "http://127.0.0.1.example.jp/" << false;
    QTest::newRow("loopback as a user name") << "http://127.0.0.1@download.example.jp/" << false;
    QTest::newRow("ftp on loopback") << "ftp://127.0.0.1/dload.exe" << false;
    QTest::newRow("file") << "file:///etc/hostname" << false;
    QTest::newRow("no scheme") << "download.example.jp/dload.exe" << false;
    QTest::newRow("no host") << "https://" << false;
    QTest::newRow("empty") << "" << false;
}

void TestVersionUp::permittedAddresses() {
    QFETCH(QString, address);
    QFETCH(bool, permitted);
    QCOMPARE(isPermittedAddress(address), permitted);
}

void TestVersionUp::addressesAndDefaults() {
    QCOMPARE(newProgramAddress(kProgramBase, QStringLiteral("Marubo")), kNewProgram);
    QCOMPARE(newProgramAddress(kProgramBase + u'/', QStringLiteral("Marubo")), kNewProgram);
    QCOMPARE(localUpdaterFile(QStringLiteral("/opt/marubo")),
             QDir::toNativeSeparators(QStringLiteral("/opt/marubo/dload.exe")));

    const VersionUpSettings defaults = VersionUpSettings::defaults();
    QVERIFY(isPermittedAddress(defaults.updaterAddress));
    QVERIFY(defaults.programBaseAddress.startsWith(QStringLiteral("https://")));
    QCOMPARE(defaults.programFolder, QCoreApplication::applicationDirPath());
}

void TestVersionUp::answerNoFetchesNothing() {
    VersionUpRun run(server_->address(kUpdaterName));
    writeFile(run.updaterFile(), kEarlierUpdater);
    server_->setScript(answering(Answer::Body, run.recordingUpdater()));
    const int before = server_->connections();

    run.window.answer = false;
    run.run();

    QCOMPARE(run.window.questions, QStringList{kQuestion});
    QCOMPARE(server_->connections(), before);
    QVERIFY(run.window.busy.isEmpty());
    QVERIFY(run.window.messages.isEmpty());
    QCOMPARE(run.window.closes, 0);
    QCOMPARE(run.programFolderEntries(), QStringList{kUpdaterName});
    QCOMPARE(readAll(run.updaterFile()), kEarlierUpdater);
}

void TestVersionUp::updaterStartedAndWindowClosed_data() {
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<QString>("programBase");

    QTest::newRow("first version-up") << false << kProgramBase;
    QTest::newRow("earlier updater replaced") << true << kProgramBase;
    QTest::newRow("base address with a trailing slash") << false << kProgramBase + u'/';
}

void TestVersionUp::updaterStartedAndWindowClosed() {
    QFETCH(bool, earlier);
    QFETCH(QString, programBase);
    VersionUpRun run(server_->address(kUpdaterName));
    run.settings.programBaseAddress = programBase;
    if (earlier)
        writeFile(run.updaterFile(), kEarlierUpdater);
    const QByteArray updater = run.recordingUpdater();
    server_->setScript(answering(Answer::Body, updater));

    run.run();

    QCOMPARE(run.window.questions, QStringList{kQuestion});
    QVERIFY(run.window.messages.isEmpty());
    QCOMPARE(run.window.busy, (QList<bool>{true, false}));
    QCOMPARE(run.window.closes, 1);
    QCOMPARE(run.programFolderEntries(), QStringList{kUpdaterName});
    QCOMPARE(readAll(run.updaterFile()), updater);
    QVERIFY(QFile::permissions(run.updaterFile()) & QFileDevice::ExeOwner);
    // The updater runs on its own; wait for what it records.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(run.recordFile()), 10000);
    QCOMPARE(QString::fromLocal8Bit(readAll(run.recordFile())),
             QStringLiteral("2\n<%1>\n<>\n").arg(kNewProgram));
}

void TestVersionUp::failedDownloadKeepsEarlierUpdater_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("address"); // empty: the loopback server
    QTest::addColumn<bool>("earlier");

    const QByteArray body(2000, 'x');
    const QByteArray tooLarge(10000, 'x');
    const QString refused = QStringLiteral("http://127.0.0.1:%1/dload.exe").arg(closedPort());
    const QByteArray toHttp = redirectTarget_->address(kUpdaterName).toUtf8();

    QTest::newRow("404") << status(404) << QString() << true;
    QTest::newRow("500") << status(500) << QString() << true;
    QTest::newRow("401") << status(401) << QString() << true;
    QTest::newRow("407") << status(407) << QString() << true;
    QTest::newRow("no answer") << answering(Answer::Silent) << QString() << true;
    QTest::newRow("stalls in the body")
        << answering(Answer::StallInBody, body) << QString() << true;
    QTest::newRow("cut off in the body") << answering(Answer::CutOff, body) << QString() << true;
    QTest::newRow("connection refused") << Script() << refused << true;
    QTest::newRow("redirect to http") << redirect(toHttp) << QString() << true;
    QTest::newRow("announced too large") << answering(Answer::Body, tooLarge) << QString() << true;
    QTest::newRow("too large until close")
        << answering(Answer::BodyUntilClose, tooLarge) << QString() << true;
    QTest::newRow("empty body") << answering(Answer::Body) << QString() << true;
    QTest::newRow("404, no earlier updater") << status(404) << QString() << false;
}

void TestVersionUp::failedDownloadKeepsEarlierUpdater() {
    QFETCH(Script, script);
    QFETCH(QString, address);
    QFETCH(bool, earlier);
    VersionUpRun run(address.isEmpty() ? server_->address(kUpdaterName) : address);
    if (earlier)
        writeFile(run.updaterFile(), kEarlierUpdater);
    server_->setScript(script);

    QElapsedTimer timer;
    timer.start();
    run.run();

    QCOMPARE(run.window.messages, QStringList{kFailed});
    QCOMPARE(run.window.busy, (QList<bool>{true, false}));
    QCOMPARE(run.window.closes, 0);
    // No temporary file is left, and an earlier updater is as it was.
    if (earlier) {
        QCOMPARE(run.programFolderEntries(), QStringList{kUpdaterName});
        QCOMPARE(readAll(run.updaterFile()), kEarlierUpdater);
    } else {
        QCOMPARE(run.programFolderEntries(), QStringList());
    }
    QVERIFY2(timer.elapsed() < 15000, "the download must give up within its bounds");
}

void TestVersionUp::failedStartKeepsWindowOpen_data() {
    QTest::addColumn<QByteArray>("updater");

    QTest::newRow("interpreter missing") << QByteArray("#!/nonexistent/interpreter\n");
    QTest::newRow("not a program") << QByteArray("not a program\x01\x02\x03", 16);
}

void TestVersionUp::failedStartKeepsWindowOpen() {
    QFETCH(QByteArray, updater);
    VersionUpRun run(server_->address(kUpdaterName));
    server_->setScript(answering(Answer::Body, updater));

    run.run();

    QCOMPARE(run.window.messages, QStringList{kFailed});
    QCOMPARE(run.window.closes, 0);
    QCOMPARE(readAll(run.updaterFile()), updater);
}

void TestVersionUp::refusedAddressMakesNoRequest_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("needsOtherServer");

    const QString other = otherServer_->address(kUpdaterName);
    const QString otherWithUser =
        QStringLiteral("http://127.0.0.1@127.0.0.2:%1/dload.exe").arg(otherServer_->port());
    const QString ftp = QStringLiteral("ftp://127.0.0.1:%1/dload.exe").arg(server_->port());
    const QString noScheme = QStringLiteral("127.0.0.1:%1/dload.exe").arg(server_->port());

    QTest::newRow("http on another loopback address") << other << true;
    QTest::newRow("loopback as a user name") << otherWithUser << true;
    QTest::newRow("http on a host name") << "http://download.example.jp/marubo/dload.exe" << false;
    QTest::newRow("ftp on loopback") << ftp << false;
    QTest::newRow("file") << "file:///etc/hostname" << false;
    QTest::newRow("no scheme") << noScheme << false;
    QTest::newRow("empty") << QString() << false;
}

void TestVersionUp::refusedAddressMakesNoRequest() {
    QFETCH(QString, address);
    QFETCH(bool, needsOtherServer);
    if (needsOtherServer && !otherServer_->listening())
        QSKIP("127.0.0.2 cannot be bound here");
    VersionUpRun run(address);
    server_->setScript(answering(Answer::Body, run.recordingUpdater()));
    const int before = server_->connections();
    const int otherBefore = otherServer_->connections();

    run.run();

    QCOMPARE(run.window.messages, QStringList{kFailed});
    QCOMPARE(run.window.closes, 0);
    QCOMPARE(server_->connections(), before);
    QCOMPARE(otherServer_->connections(), otherBefore);
    QCOMPARE(run.programFolderEntries(), QStringList());
}

void TestVersionUp::missingProgramFolder() {
    VersionUpRun run(server_->address(kUpdaterName));
    run.settings.programFolder = QDir(run.programFolder).filePath(QStringLiteral("missing"));
    server_->setScript(answering(Answer::Body, run.recordingUpdater()));

    run.run();

    QCOMPARE(run.window.messages, QStringList{kFailed});
    QCOMPARE(run.window.closes, 0);
    QVERIFY(!QFileInfo::exists(run.settings.programFolder));
}

QTEST_GUILESS_MAIN(TestVersionUp)
#include "tst_versionup.moc"
