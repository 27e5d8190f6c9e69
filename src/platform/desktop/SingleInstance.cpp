#include "platform/desktop/SingleInstance.hpp"

#include "platform/FileOperations.hpp"
#include "platform/Paths.hpp"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>

#include <cstdlib>

namespace dorvale {

namespace {

Q_LOGGING_CATEGORY(instanceLog, "dorvale.instance")

constexpr auto baseName = "app.dorvale.Dorvale";
// The one request there is.
constexpr QByteArrayView showRequest = "show\n";
constexpr int retryMilliseconds = 50;

QString nameOf(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The lock in `folder`, which is made first when missing.
FileLock lockIn(const std::string& folder) {
    (void)createFolderChain(folder);
    return FileLock::tryOnFile(joinPath(folder, std::string(baseName) + ".lock"));
}

std::string absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

} // namespace

std::string SingleInstance::defaultFolder(const Locations& locations) {
    if (std::string runtime = absoluteVariable("XDG_RUNTIME_DIR"); !runtime.empty()) {
        return runtime;
    }
    std::string cache = absoluteVariable("XDG_CACHE_HOME");
    return joinPath(cache.empty() ? locations.homePath(".cache") : cache, "Dorvale");
}

SingleInstance::SingleInstance(const std::string& folder)
    : m_socketPath(joinPath(folder, std::string(baseName) + ".socket"))
    , m_lock(lockIn(folder)) {
    if (isPrimary()) {
        listen();
    }
}

SingleInstance::~SingleInstance() {
    m_server.close();
}

void SingleInstance::listen() {
    // A socket file left by a process that died refuses connections; the lock says no other
    // process listens on it now.
    QLocalServer::removeServer(nameOf(m_socketPath));
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(nameOf(m_socketPath))) {
        qCWarning(instanceLog).noquote()
            << "A later launch cannot reach this one:" << m_server.errorString();
        return;
    }
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answerNext);
}

void SingleInstance::answerNext() {
    while (QLocalSocket* client = m_server.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        const auto serve = [this, client] {
            if (!client->canReadLine()) {
                return;
            }
            if (client->readLine() == showRequest.toByteArray() && m_handler) {
                m_handler();
            }
            client->disconnectFromServer();
        };
        connect(client, &QLocalSocket::readyRead, this, serve);
        serve();
    }
}

bool SingleInstance::activatePrimary(std::chrono::milliseconds limit) const {
    const QDeadlineTimer deadline(limit);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(nameOf(m_socketPath));
        const int left = static_cast<int>(deadline.remainingTime());
        if (socket.waitForConnected(left)) {
            socket.write(showRequest.data(), showRequest.size());
            const bool sent =
                socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
            socket.disconnectFromServer();
            return sent;
        }
        if (deadline.hasExpired()) {
            qCWarning(instanceLog) << "Dorvale is already running but does not answer.";
            return false;
        }
        // The first process may hold the lock and not listen yet.
        QThread::msleep(retryMilliseconds);
    }
}

} // namespace dorvale
