#pragma once

#include <functional>
#include <memory>

namespace dorvale::test {

/// Holds the workers that pass it until the test opens it, so a test decides when a job on
/// the pool ends. Safe from any thread; what `pass` returns outlives the gate, and a gate
/// opens as it goes, so no worker waits for a gate that is gone.
class Gate {
public:
    Gate();
    ~Gate();
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

    /// Lets every worker held now or arriving later through.
    void open();
    /// A function that blocks its caller until the gate is open.
    [[nodiscard]] std::function<void()> pass() const;
    /// How many callers have arrived at the gate so far.
    [[nodiscard]] int arrivals() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace dorvale::test
