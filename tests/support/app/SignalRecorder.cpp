#include "support/app/SignalRecorder.hpp"

#include <QMetaMethod>

namespace dorvale::test {

SignalRecorder::SignalRecorder(const QObject& object) {
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("record()"));
    const QMetaObject& observed = *object.metaObject();
    for (int index = observed.methodOffset(); index < observed.methodCount(); ++index) {
        const QMetaMethod signal = observed.method(index);
        if (signal.methodType() == QMetaMethod::Signal) {
            connect(&object, signal, this, slot);
        }
    }
}

void SignalRecorder::record() {
    m_emitted.push_back(sender()->metaObject()->method(senderSignalIndex()).name());
}

} // namespace dorvale::test
