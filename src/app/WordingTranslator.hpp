#pragma once

#include "platform/WordingCatalogue.hpp"

#include <QTranslator>

namespace dorvale {

/// This desktop's words for the program's texts, compiled into the program. Read once; it
/// lives for the process.
[[nodiscard]] const WordingCatalogue& builtInWording();

/// While it lives, the core's `tr` and the toolkit's translation both look texts up in one
/// catalogue, so every layer shows the same words. Made on the GUI thread once the
/// application object exists; the catalogue must outlive it.
class WordingTranslator final : public QTranslator {
    Q_OBJECT

public:
    explicit WordingTranslator(const WordingCatalogue& wording, QObject* parent = nullptr);
    ~WordingTranslator() override;

    WordingTranslator(const WordingTranslator&) = delete;
    WordingTranslator& operator=(const WordingTranslator&) = delete;

    /// The catalogue's text for `sourceText`, whatever the context; a null string, so the
    /// source text stands, when it has none.
    [[nodiscard]] QString translate(const char* context, const char* sourceText,
                                    const char* disambiguation, int n) const override;
    [[nodiscard]] bool isEmpty() const override;

private:
    const WordingCatalogue& m_wording;
};

} // namespace dorvale
