// Whether an address answers a ping: runs "ping -c 1 -W 0.005 ADDRESS" (no shell, C locale) and
// judges by the exit status; an error that says no route reaches the address is no answer. Text
// that is not a strict dotted-quad address is never pinged.
#pragma once

#include "NewAddressRule.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class PingHelper {
public:
    static constexpr int kFinishLimitMs = 30000; // real time a probe may take

    // What one ping found: an answer, no answer (also: no route to the address), or no
    // judgement at all: the program could not start, was killed or ended with an error other
    // than an unroutable address (CouldNotRun), or did not end in time (NoEnd).
    enum class Outcome { Answered, Silent, CouldNotRun, NoEnd };

    // One ping, resolved when it is made: the program's path on PATH (empty when there is none
    // or the text is not an address), its arguments and its C-locale environment.
    struct Command {
        std::string path;
        std::vector<std::string> argv;
        std::vector<std::string> env;
    };
    static constexpr int kAnswerWaitMs = 5; // how long a probe waits for the echo reply

    // Four decimal parts 0..255, no signs, blanks or leading zeros. hostOrder may be null.
    static bool parseDottedQuad(const std::string& text, std::uint32_t* hostOrder);
    // Whether the address is its subnet's network or broadcast address under the mask (host
    // part all zeros or all ones). Subnets with fewer than two host bits have neither.
    static bool isSubnetEdge(std::uint32_t address, std::uint32_t mask);
    // The probe command, run without a shell: exit status 0 answered, 1 no answer, else error.
    static QString program();
    // The reply wait is given to ping in seconds (it takes fractions).
    static QStringList arguments(const QString& address, int answerWaitMs = 1000);
    // The caller's environment with the messages in the C locale, so that a ping's error can be
    // told by its text whatever language the operator uses.
    static QProcessEnvironment processEnvironment();
    // Whether the error output of a ping that ended with status 2, run in the C locale, says
    // that no route reaches the address (the request could not even be sent).
    static bool saysUnroutable(const std::string& errorText);
    static Command command(const std::string& address, int answerWaitMs);
    // Runs the ping in a process group of its own and judges it by its exit status and error
    // output (read as it streams, never kept). Gives up after finishLimitMs (real time) or as
    // soon as *cancel is set (CouldNotRun); a ping that gives up or ends takes its whole group
    // with it.
    static Outcome run(const Command& command, int finishLimitMs = kFinishLimitMs,
                       const std::atomic<bool>* cancel = nullptr);
    // The ping's verdict, waiting answerWaitMs for the reply and finishLimitMs (real time) for
    // the end; text that is not an address is never pinged (CouldNotRun).
    static Outcome check(const std::string& address, int answerWaitMs = kAnswerWaitMs,
                         int finishLimitMs = kFinishLimitMs);
    // True when the address answered.
    static bool answers(const std::string& address, int answerWaitMs = kAnswerWaitMs);
    // A candidate address's verdict: Used when it answers or is not an address, Free when it
    // does not, NoVerdict when the ping gave none (such an address must not be taken as free).
    static newaddress::Verdict probe(const std::string& address, int answerWaitMs = kAnswerWaitMs);
};
