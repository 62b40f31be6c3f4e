#include "harness/TestDir.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

namespace harness {

TestDir::TestDir() : m_dir(QDir::tempPath() + "/corvane-test-XXXXXX") {
    QDir root(m_dir.path());
    root.mkpath("config");
    root.mkpath("log");
    root.mkpath("runtime");
    root.mkpath("home");
    root.mkpath("xdg-config");
    QFile::setPermissions(runtimeDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setEnv("CORVANE_CONFIG_DIR", QFile::encodeName(configDir()));
    setEnv("CORVANE_LOG_DIR", QFile::encodeName(logDir()));
    setEnv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir()));
    setEnv("XDG_CONFIG_HOME", QFile::encodeName(file("xdg-config")));
    setEnv("HOME", QFile::encodeName(file("home")));
}

bool TestDir::enter() {
    QString skin = QDir::current().absoluteFilePath("skin");
    if (!QFileInfo(skin).isDir()) {
        skin = QFile::decodeName(qgetenv("CORVANE_BIN_DIR")) + "/skin";
    }
    if (!QFileInfo(skin).isDir() || !QFile::link(skin, file("skin"))) {
        return false;
    }
    if (m_previousCwd.isEmpty()) {
        m_previousCwd = QDir::currentPath();
    }
    return QDir::setCurrent(path());
}

TestDir::~TestDir() {
    if (!m_previousCwd.isEmpty()) {
        QDir::setCurrent(m_previousCwd);
    }
    for (const auto& [name, saved] : m_saved) {
        if (saved.first) {
            qputenv(name.constData(), saved.second);
        } else {
            qunsetenv(name.constData());
        }
    }
}

void TestDir::setEnv(const char* name, const QByteArray& value) {
    const QByteArray key(name);
    if (m_saved.find(key) == m_saved.end()) {
        m_saved[key] = {qEnvironmentVariableIsSet(name), qgetenv(name)};
    }
    qputenv(name, value);
}

namespace {

class ProgramTestDir : public ::testing::Environment {
public:
    void SetUp() override { m_dir = std::make_unique<TestDir>(); }
    void TearDown() override { m_dir.reset(); }

private:
    std::unique_ptr<TestDir> m_dir;
};

} // namespace

const ::testing::Environment* addProgramTestDir() {
    return ::testing::AddGlobalTestEnvironment(new ProgramTestDir);
}

} // namespace harness
