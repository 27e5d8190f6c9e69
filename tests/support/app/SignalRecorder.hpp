#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

namespace dorvale::test {

/// Records the argument-free signals of an object in the order they are emitted, by name, so
/// a test can tell which signals an action emitted and in which order.
class SignalRecorder final : public QObject {
    Q_OBJECT

public:
    /// Listens to every signal that `object`'s own class declares.
    explicit SignalRecorder(const QObject& object);

    /// The names of the signals emitted so far, one per emission, in order.
    [[nodiscard]] const QList<QByteArray>& emitted() const { return m_emitted; }
    void clear() { m_emitted.clear(); }

private slots:
    void record();

private:
    QList<QByteArray> m_emitted;
};

} // namespace dorvale::test
