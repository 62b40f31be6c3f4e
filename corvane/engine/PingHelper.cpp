#include "PingHelper.h"

#include <QProcess>
#include <QString>
#include <QStringList>

bool PingHelper::parseDottedQuad(const std::string& text, std::uint32_t* hostOrder) {
    std::uint32_t value = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        const std::size_t start = pos;
        unsigned number = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
            number = number * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
        }
        const std::size_t digits = pos - start;
        if (digits == 0 || number > 255 || (digits > 1 && text[start] == '0'))
            return false;
        value = (value << 8) | number;
    }
    if (pos != text.size())
        return false;
    if (hostOrder)
        *hostOrder = value;
    return true;
}

QString PingHelper::program() {
    return QStringLiteral("ping");
}

QStringList PingHelper::arguments(const QString& address) {
    return {QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-W"), QStringLiteral("1"), address};
}

bool PingHelper::answers(const std::string& address) {
    if (!parseDottedQuad(address, nullptr))
        return false;
    QProcess process;
    process.start(program(), arguments(QString::fromStdString(address)));
    if (!process.waitForStarted(30000))
        return false;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

int PingHelper::probe(const std::string& address) {
    if (!parseDottedQuad(address, nullptr))
        return -1;
    return answers(address) ? -1 : 0;
}
