// Whether an address answers a ping: runs "ping -c 1 -W 0.005 ADDRESS" (no shell) and judges
// by the exit status. Text that is not a strict dotted-quad address is never pinged.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

class PingHelper {
public:
    static constexpr int kFinishLimitMs = 30000; // real time a probe may take
    static constexpr int kAnswerWaitMs = 5;      // how long a probe waits for the echo reply

    // Four decimal parts 0..255, no signs, blanks or leading zeros. hostOrder may be null.
    static bool parseDottedQuad(const std::string& text, std::uint32_t* hostOrder);
    // The probe command, run without a shell: exit status 0 answered, 1 no answer, else error.
    static QString program();
    // The reply wait is given to ping in seconds (it takes fractions).
    static QStringList arguments(const QString& address, int answerWaitMs = 1000);
    // True when the address answered.
    static bool answers(const std::string& address);
    // The probe the Parts use: -1 when the address answers or is not an address, 0 when not.
    static int probe(const std::string& address);
};
