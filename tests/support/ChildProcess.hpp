#pragma once

#include <functional>

namespace dorvale::test {

/// Runs `body` in a forked child and returns its exit status: `body`'s result, 251 when the
/// fork failed, 252 when the wait did, or 128 + the signal that ended the child. The body
/// must not use test assertions: it reports through its result.
int runInChild(const std::function<int()>& body);

} // namespace dorvale::test
