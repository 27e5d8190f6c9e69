#include "app/WordingTranslator.hpp"

#include "platform/Log.hpp"
#include "platform/Tr.hpp"

#include <QCoreApplication>
#include <QFile>

namespace dorvale {

namespace {

WordingCatalogue readBuiltInWording() {
    QFile file(QStringLiteral(":/wording/wording.json"));
    const QByteArray json = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::optional<WordingCatalogue> wording =
        WordingCatalogue::parse(std::string_view(json.constData(), json.size()));
    if (!wording) {
        logWarning("The built-in wording could not be read; texts show as written.");
        return {};
    }
    return std::move(*wording);
}

} // namespace

const WordingCatalogue& builtInWording() {
    static const WordingCatalogue wording = readBuiltInWording();
    return wording;
}

WordingTranslator::WordingTranslator(const WordingCatalogue& wording, QObject* parent)
    : QTranslator(parent)
    , m_wording(wording) {
    installWording(&m_wording);
    QCoreApplication::installTranslator(this);
}

WordingTranslator::~WordingTranslator() {
    QCoreApplication::removeTranslator(this);
    installWording(nullptr);
}

QString WordingTranslator::translate(const char* /*context*/, const char* sourceText,
                                     const char* /*disambiguation*/, int /*n*/) const {
    if (sourceText == nullptr) {
        return {};
    }
    const std::optional<std::string_view> shown = m_wording.find(sourceText);
    return shown ? QString::fromUtf8(shown->data(), static_cast<qsizetype>(shown->size()))
                 : QString();
}

bool WordingTranslator::isEmpty() const {
    return m_wording.entries().empty();
}

} // namespace dorvale
