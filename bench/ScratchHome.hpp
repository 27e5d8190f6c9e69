#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace dorvale::bench {

/// Points home, settings and data at a scratch folder for as long as it lives, so a benchmark
/// never touches the user's own settings and history. Made before the application object.
class ScratchHome {
public:
    ScratchHome() {
        point("HOME", "/home");
        point("XDG_CONFIG_HOME", "/config");
        point("XDG_DATA_HOME", "/data");
    }

private:
    void point(const char* variable, const char* folder) const {
        setenv(variable, QFile::encodeName(m_scratch.path() + folder).constData(), 1);
    }

    QTemporaryDir m_scratch;
};

} // namespace dorvale::bench
