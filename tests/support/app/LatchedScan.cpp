#include "support/app/LatchedScan.hpp"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace dorvale::test {

namespace {

struct Release {
    bool walk = false;
    std::optional<ScanResult> result;
    std::vector<ScanProgressSnapshot> reports;
};

} // namespace

struct LatchedScan::State {
    std::mutex mutex;
    std::condition_variable released;
    std::map<std::string, std::deque<Release>> pending;
    std::vector<Call> calls;
    std::vector<Outcome> outcomes;
    bool closed = false;

    void add(const std::string& rootPath, Release release) {
        const std::lock_guard lock(mutex);
        pending[rootPath].push_back(std::move(release));
        released.notify_all();
    }

    // Waits until the test lets the scan of `rootPath` go; a closed latch lets it end empty.
    Release await(const std::string& rootPath, const Scanner::Exclusions& exclusions) {
        std::unique_lock lock(mutex);
        calls.push_back({rootPath, exclusions});
        auto& queue = pending[rootPath];
        released.wait(lock, [&] { return closed || !queue.empty(); });
        if (queue.empty()) {
            return {};
        }
        Release release = std::move(queue.front());
        queue.pop_front();
        return release;
    }

    void ended(const std::string& rootPath, bool gaveResult) {
        const std::lock_guard lock(mutex);
        outcomes.push_back({rootPath, gaveResult});
    }
};

LatchedScan::LatchedScan()
    : m_state(std::make_shared<State>()) {}

LatchedScan::~LatchedScan() {
    close();
}

void LatchedScan::close() {
    const std::lock_guard lock(m_state->mutex);
    m_state->closed = true;
    m_state->released.notify_all();
}

ScanFunction LatchedScan::seam() const {
    return [state = m_state](Scanner& scanner, const std::string& rootPath,
                             const Scanner::Exclusions& exclusions,
                             const Scanner::Progress& progress) {
        Release release = state->await(rootPath, exclusions);
        for (const ScanProgressSnapshot& report : release.reports) {
            progress(report);
        }
        std::optional<ScanResult> result =
            release.walk ? scanner.scan(rootPath, exclusions, progress) : std::move(release.result);
        state->ended(rootPath, result.has_value());
        return result;
    };
}

void LatchedScan::releaseToWalk(const std::string& rootPath) {
    m_state->add(rootPath, Release{.walk = true, .result = {}, .reports = {}});
}

void LatchedScan::releaseWithResult(const std::string& rootPath, std::optional<ScanResult> result,
                                    std::vector<ScanProgressSnapshot> reports) {
    m_state->add(
        rootPath,
        Release{.walk = false, .result = std::move(result), .reports = std::move(reports)});
}

std::vector<LatchedScan::Call> LatchedScan::calls() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->calls;
}

std::vector<LatchedScan::Outcome> LatchedScan::outcomes() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->outcomes;
}

} // namespace dorvale::test
