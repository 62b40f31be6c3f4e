// A temporary folder per test with the environment pointing into it: CORVANE_CONFIG_DIR
// (parameter store), CORVANE_LOG_DIR (log and crash dumps), XDG_RUNTIME_DIR (single-instance
// lock), XDG_CONFIG_HOME and HOME. The earlier values come back when it goes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>

namespace testing {
class Environment;
}

namespace harness {

class TestDir {
public:
    TestDir();
    ~TestDir();

    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString configDir() const { return file("config"); }
    QString logDir() const { return file("log"); }
    QString runtimeDir() const { return file("runtime"); }

    // Makes the folder the working directory, with "skin" linked to the build's skin (found in
    // the working directory or in CORVANE_BIN_DIR), until the TestDir goes. For code that reads
    // or writes paths relative to the working directory.
    bool enter();

    // Sets another variable for the test's lifetime.
    void setEnv(const char* name, const QByteArray& value);

private:
    QTemporaryDir m_dir;
    QString m_previousCwd;
    std::map<QByteArray, std::pair<bool, QByteArray>> m_saved;
};

// A TestDir for the whole test program (the parameter store is one per process): made before
// the first test, gone after the last. Call once, at static initialisation.
const ::testing::Environment* addProgramTestDir();

} // namespace harness
