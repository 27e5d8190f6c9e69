#include "PrivateBus.hpp"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

namespace dorvale::test {

namespace {

constexpr char busConfiguration[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

PrivateBus::~PrivateBus() {
    for (const QString& name : m_connections) {
        QDBusConnection::disconnectFromBus(name);
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
}

bool PrivateBus::start() {
    ensureApplication();
    const std::string configuration = m_fixture.file("bus.conf", busConfiguration);
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                    QStringLiteral("--config-file=") + QString::fromStdString(configuration)});
    if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10'000)) {
        return false;
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

QDBusConnection PrivateBus::connect(const QString& name) {
    m_connections.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

std::vector<QString>& loggedWarnings() {
    static std::vector<QString> warnings;
    return warnings;
}

void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && QByteArray(context.category).startsWith("dorvale.")) {
        loggedWarnings().push_back(message);
    }
}

void ensureApplication() {
    static int argc = 1;
    static char name[] = "desktop_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

bool waitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10'000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return done();
}

void spin(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
}

} // namespace dorvale::test
