#pragma once

#include "app/AppServices.hpp"
#include "model/ScanProgressSnapshot.hpp"
#include "model/ScanResult.hpp"
#include "model/Scanner.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dorvale::test {

/// A scan seam (`AppServices::scan`) that holds every scan on its worker until the test lets
/// it go, so that tests decide the order in which scans end. Scans are told apart by their
/// root path. Safe from any thread.
class LatchedScan {
public:
    /// A scan as it began.
    struct Call {
        std::string rootPath;
        Scanner::Exclusions exclusions;
    };
    /// A scan as it ended.
    struct Outcome {
        std::string rootPath;
        bool gaveResult = false;
    };

    LatchedScan();
    /// Closes the latch.
    ~LatchedScan();
    LatchedScan(const LatchedScan&) = delete;
    LatchedScan& operator=(const LatchedScan&) = delete;

    /// The seam to put into the services. It outlives this object.
    [[nodiscard]] ScanFunction seam() const;

    /// Lets the next scan of `rootPath` (held now or begun later) walk the folder with its
    /// own scanner, which gives nothing once the scanner is cancelled.
    void releaseToWalk(const std::string& rootPath);
    /// Lets the next scan of `rootPath` send `reports` to its progress callback and then end
    /// with `result`, whatever became of its scanner.
    void releaseWithResult(const std::string& rootPath, std::optional<ScanResult> result,
                           std::vector<ScanProgressSnapshot> reports = {});

    /// Lets every scan held now or begun later end with nothing.
    void close();

    /// The scans begun so far, in order.
    [[nodiscard]] std::vector<Call> calls() const;
    /// The scans ended so far, in order.
    [[nodiscard]] std::vector<Outcome> outcomes() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace dorvale::test
