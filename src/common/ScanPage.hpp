#pragma once

#include "common/ScanPrompt.hpp"

#include <QWidget>

#include <functional>
#include <memory>

namespace dorvale {

class AppState;
struct ScanResult;

/// A page that works on a scan result: the scan prompt with the page's texts while there is
/// no result, and the page's content once there is one. The content is made anew from each
/// result `scanChanged` announces (the old one goes, and with it whatever it held of the old
/// tree, selections included); nothing else rebuilds it.
class ScanPage : public QWidget {
    Q_OBJECT

public:
    /// Makes the content for a result; the page takes ownership.
    using ContentFactory = std::function<QWidget*(std::shared_ptr<const ScanResult> scan)>;

    ScanPage(AppState& state, const ScanPrompt::Texts& texts, ContentFactory content,
             QWidget* parent = nullptr);

    [[nodiscard]] ScanPrompt* prompt() const { return m_prompt; }
    /// The content of the current result, or null while the prompt shows.
    [[nodiscard]] QWidget* content() const { return m_content; }

private:
    void rebuild();

    AppState& m_state;
    ContentFactory m_makeContent;
    ScanPrompt* m_prompt;
    QWidget* m_content = nullptr;
};

} // namespace dorvale
