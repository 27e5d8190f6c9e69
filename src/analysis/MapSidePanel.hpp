#pragma once

#include "model/FileNode.hpp"
#include "model/SafetyVerdict.hpp"
#include "model/ScanResult.hpp"
#include "widgets/Card.hpp"

#include <memory>
#include <unordered_map>
#include <vector>

namespace dorvale {

class AppState;

/// The panel beside the map: the details of the node under the pointer (icon, name,
/// category, size, shown path, risk and its reason), or, while the pointer rests on no arc,
/// the ten largest items of the folder shown, each dotted with the colour the map gives it on
/// its first ring. Keeps the scan its nodes belong to.
class MapSidePanel : public Card {
    Q_OBJECT

public:
    MapSidePanel(AppState& state, std::shared_ptr<const ScanResult> scan, const FileNode* current,
                 QWidget* parent = nullptr);

    void setCurrent(const FileNode* current);
    /// The hovered node, or null.
    void setFocusNode(const FileNode* focus);
    [[nodiscard]] const FileNode* focusNode() const { return m_focus; }

    /// The children of `folder` the list shows: not deleted, of positive size, largest first
    /// (equal sizes in their order), at most ten.
    [[nodiscard]] static std::vector<const FileNode*> largestItems(const FileNode& folder);

    [[nodiscard]] QSize sizeHint() const override;

private:
    void rebuild();
    void showFocus(const FileNode& node);
    void showLargest();
    [[nodiscard]] const SafetyVerdict& verdictFor(const FileNode& node);

    AppState& m_state;
    std::shared_ptr<const ScanResult> m_scan;
    const FileNode* m_current;
    const FileNode* m_focus = nullptr;
    QWidget* m_content = nullptr;
    // Verdicts of the nodes hovered so far: a verdict may read the disk.
    std::unordered_map<const FileNode*, SafetyVerdict> m_verdicts;
};

} // namespace dorvale
