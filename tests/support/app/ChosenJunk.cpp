#include "support/app/ChosenJunk.hpp"

#include "model/JunkRule.hpp"
#include "support/app/Gate.hpp"

#include <algorithm>
#include <mutex>
#include <stdexcept>

namespace dorvale::test {

struct ChosenJunk::State {
    std::mutex mutex;
    std::vector<JunkFinding> findings;
    std::unique_ptr<Gate> gate;
    std::function<void()> pass;
    int scans = 0;
};

ChosenJunk::ChosenJunk()
    : m_state(std::make_shared<State>()) {}

ChosenJunk::~ChosenJunk() {
    release();
}

JunkScanFunction ChosenJunk::seam() const {
    return [state = m_state](std::span<const JunkRule>, const Locations&, const Clock&,
                             const JunkScan::AccessProbe&) {
        std::function<void()> pass;
        {
            const std::lock_guard lock(state->mutex);
            ++state->scans;
            pass = state->pass;
        }
        if (pass) {
            pass();
        }
        const std::lock_guard lock(state->mutex);
        return state->findings;
    };
}

void ChosenJunk::answer(std::vector<JunkFinding> findings) {
    const std::lock_guard lock(m_state->mutex);
    m_state->findings = std::move(findings);
}

void ChosenJunk::hold() {
    const std::lock_guard lock(m_state->mutex);
    m_state->gate = std::make_unique<Gate>();
    m_state->pass = m_state->gate->pass();
}

void ChosenJunk::release() {
    const std::lock_guard lock(m_state->mutex);
    m_state->gate.reset();
    m_state->pass = {};
}

int ChosenJunk::scans() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->scans;
}

JunkFinding ChosenJunk::finding(const Locations& locations, const std::string& ruleId, int count,
                                std::int64_t size, const std::string& prefix) {
    const std::vector<JunkRule>& rules = JunkRule::all();
    const auto rule = std::find_if(rules.begin(), rules.end(), [&](const JunkRule& candidate) {
        return candidate.id == ruleId;
    });
    if (rule == rules.end()) {
        throw std::invalid_argument("no junk rule " + ruleId);
    }
    JunkFinding found{.rule = *rule, .items = {}};
    const std::string base = rule->basePath(locations);
    for (int n = 0; n < count; ++n) {
        found.items.push_back(JunkItem{.id = base + "/" + prefix + std::to_string(n),
                                       .ruleID = ruleId,
                                       .size = size > 0 ? size : count - n,
                                       .fileCount = 1,
                                       .modified = std::nullopt});
    }
    return found;
}

void ChosenJunk::writeItems(FixtureTree& tree, const JunkFinding& finding) {
    for (const JunkItem& item : finding.items) {
        tree.file(std::string_view(item.id).substr(tree.root().size() + 1), "junk");
    }
}

} // namespace dorvale::test
