#include "LineBench.h"

#include "MallocArenas.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace benchline {

long statusField(const char* name) {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(int(std::strlen(name))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

bool enterLine(harness::TestDir& dir) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it comes, also into a file
    corvane::capMallocArenas();               // as the program's main() does
    // Nothing but loopback: a closed port, never the fixture's own address.
    qputenv("CORVANE_FIXTURE_HOST", "127.0.0.1");
    qputenv("CORVANE_FIXTURE_PORT", "1");
    if (qEnvironmentVariableIsEmpty("CORVANE_TIME_SCALE"))
        qputenv("CORVANE_TIME_SCALE", "0.01");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    harness::qtApp();
    if (!dir.enter()) {
        std::fprintf(stderr, "cannot enter a temporary folder\n");
        return false;
    }
    dir.setEnv("CORVANE_PROGRAM_DIR", dir.path().toUtf8());
    OzmLogic::instance()->init(harness::qtApp());
    ozmParamsMgr()->setSearchTime(5);
    ozmParamsMgr()->setCurrentLanCode("en_US");
    return true;
}

} // namespace benchline
