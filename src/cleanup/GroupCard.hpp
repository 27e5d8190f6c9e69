#pragma once

#include "model/JunkFinding.hpp"
#include "model/JunkGroup.hpp"
#include "widgets/Card.hpp"

#include <map>
#include <string>
#include <vector>

class QCheckBox;

namespace dorvale {

class AppState;

/// One junk group on the smart clean's review page: its symbol, title and total (every
/// finding's bytes, chosen or not), then a checkbox for each rule that found something, with
/// the rule's explanation, a compact risk badge unless the rule is safe, and the finding's
/// bytes. A checkbox adds its rule to the smart clean's selection or takes it out, at once.
class GroupCard : public Card {
    Q_OBJECT

public:
    GroupCard(AppState& state, JunkGroup group, const std::vector<const JunkFinding*>& findings,
              QWidget* parent = nullptr);

    [[nodiscard]] JunkGroup group() const { return m_group; }
    /// The checkbox of the rule with this id, or null.
    [[nodiscard]] QCheckBox* checkBox(const std::string& ruleId) const;

private:
    [[nodiscard]] QWidget* makeHeader(std::int64_t total) const;
    [[nodiscard]] QWidget* makeRow(const JunkFinding& finding);
    void choose(const std::string& ruleId, bool chosen);
    void showSelection();

    AppState& m_state;
    JunkGroup m_group;
    std::map<std::string, QCheckBox*> m_boxes;
};

} // namespace dorvale
