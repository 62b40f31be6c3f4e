// A fake test fixture on 127.0.0.1 speaking the fixture wire protocol (8-byte frame header,
// JSON payload). Scriptable: heartbeat answers or silence, the device list, test results per
// MAC, pushes, reply delays, replies split at chosen bytes, garbage, closes and refusals.
// All socket work runs on one server thread; the setters may be called from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class FixtureSim {
public:
    struct Request {
        std::uint8_t type = 0;
        std::string payload;
        std::string cmd; // "cmd" of the JSON payload, if any
        std::string mac; // "mac" of the JSON payload, if any
        std::uint64_t atMs = 0;
        std::uint16_t peerPort = 0; // the client's port: which connection it came on
    };
    // What to answer for a MAC without a result of its own.
    enum class Unknown { Pass, Silent, NoMac };
    // One scripted answer to a test_result request: a reply (type 1) or a push (type 2) of a
    // test_result object ("cmd" and the request's "mac" added when missing), due delayMs after
    // the request came. It goes to the clients connected when it is due: one due after a
    // reconnect goes out on the new connection.
    struct Answer {
        Answer() = default;
        Answer(std::uint8_t t, std::string j, int delay, std::string g = std::string())
            : type(t), json(std::move(j)), delayMs(delay), tag(std::move(g)) {}
        std::uint8_t type = 1;
        std::string json;
        int delayMs = 0;
        std::string tag; // named to the written hook when the frame has gone out
    };
    // Decides the answers to each device_list and test_result request (on the server thread,
    // under the fixture's lock: it must not call the fixture). Replaces every other answer rule.
    using Responder = std::function<std::vector<Answer>(const Request&)>;
    // Told, on the server thread, when the last byte of a tagged answer has been written to the
    // client on peerPort: the times (steady clock, ns) before its first send call and after its
    // last, between which its bytes reached the client.
    using WrittenHook = std::function<void(const std::string& tag, std::uint16_t peerPort,
                                           std::uint64_t startNs, std::uint64_t doneNs)>;

    // The device a MAC names, however it is spelt: its letters and digits, lower case (empty
    // when it has none). The fixture keeps its results, delays and scripts under it.
    static std::string deviceKey(const std::string& mac);

    FixtureSim();
    ~FixtureSim();
    FixtureSim(const FixtureSim&) = delete;
    FixtureSim& operator=(const FixtureSim&) = delete;

    // Listens on host:port (port 0: an ephemeral port). Only 127.0.0.0/8 addresses are accepted.
    bool start(std::uint16_t port = 0, const std::string& host = "127.0.0.1");
    void stop();
    std::uint16_t port() const { return m_port; }

    void setAnswerHeartbeat(bool answer);
    // The device_list reply object (JSON text; "cmd" is added when missing).
    void setDeviceList(const std::string& json);
    // The test_result reply object for a MAC (matched with case and separators ignored); "cmd"
    // and "mac" are added when missing.
    void setResult(const std::string& mac, const std::string& json);
    void clearResults();
    void setUnknown(Unknown policy);
    // Delay before each device_list / test_result reply; a per-MAC delay takes precedence.
    void setReplyDelayMs(int ms);
    void setMacDelayMs(const std::string& mac, int ms);
    // Replies are written in pieces cut at these byte offsets of the frame (empty: whole).
    void setSplit(std::vector<std::size_t> offsets);
    // The next device_list / test_result replies use these payloads instead, in order.
    void queueReply(const std::string& payload);
    // The n-th test_result request for mac from now on gets script[n] (any number of answers, also
    // none); later requests get the usual answer. A fixture that measures each request as it comes
    // and answers out of order.
    void scriptAnswers(const std::string& mac, std::vector<std::vector<Answer>> script);
    void setResponder(Responder responder);
    void setWrittenHook(WrittenHook hook);
    // Close the connection when a request other than a heartbeat arrives.
    void setCloseOnRequest(bool close);
    // To every connected client: a pushed test_result object, any frame, raw bytes.
    void push(const std::string& json);
    // A tag names the frame to the written hook.
    void sendFrame(std::uint8_t type, const std::string& payload, const std::string& tag = std::string());
    void sendRaw(const std::string& bytes, const std::string& tag = std::string());
    // Bytes in two pieces, cut at cut, pauseMs apart; nothing else is written to a client between.
    void sendSplit(const std::string& bytes, std::size_t cut, int pauseMs,
                   const std::string& tag = std::string());
    // Closes every connected client; returns once they are closed.
    void closeClients();
    // Stop listening (connects are refused) or listen again on the same port.
    void setRefusing(bool refuse);
    // The next connection accepted is written these bytes at once, before anything else.
    void sendOnAccept(const std::string& bytes, const std::string& tag = std::string());
    // A fixture that keeps its sockets open and reads nothing; connections accepted while it is
    // set get small receive buffers, so that a client's sends soon block.
    void setStalled(bool stalled);
    // For durationMs, every periodMs: to every client the rest of frame and its first cut bytes
    // again; every other write meanwhile ends the frame begun before it and begins the next, so
    // that no write ends on a frame boundary, as a bridge forwarding in chunks does.
    void stream(const std::string& frame, std::size_t cut, int periodMs, int durationMs);

    int connections() const; // accepted so far
    int clients() const;     // connected now
    std::vector<Request> requests() const;
    int count(const std::string& cmd) const;
    void clearRequests();
    // Polls pred every few ms until it holds or ms pass.
    static bool waitFor(const std::function<bool()>& pred, int ms);

    static std::string frame(std::uint8_t type, const std::string& payload);
    // An all-pass test_result object for a MAC.
    static std::string passResult(const std::string& mac);
    // Loads a results file: a JSON array of test_result objects or an object MAC -> object. An
    // entry with nothing but its MAC (and "cmd") gets the all-pass result.
    bool loadResults(const std::string& path, std::string* error = nullptr);

private:
    struct Client;
    struct Write {
        int client;
        std::string bytes;
        std::uint64_t dueMs;
        std::string tag;
        std::uint64_t startedNs = 0;
        bool streamEnd = false;  // the stream's last piece: it only ends the frame begun before
        std::size_t pauseAt = 0; // bytes to write before the pause (0: none)
        int pauseMs = 0;
    };
    struct Scheduled {
        std::string bytes;
        std::string tag;
    };

    void loop();
    void wake();
    void post(std::function<void()> action);
    bool listenOn(std::uint16_t port);
    void closeClient(int id);
    void onFrame(int id, std::uint8_t type, const std::string& payload);
    void reply(int id, const std::string& payload, int delayMs);
    void toAll(const std::string& bytes, const std::string& tag = std::string());
    void flushWrites(std::uint64_t now);
    struct Script {
        std::vector<std::vector<Answer>> answers;
        std::size_t next = 0;
    };
    // Queues answers to request, due their delays after it came; under m_mutex.
    void schedule(const Request& request, const std::vector<Answer>& answers);
    // The script that answers this request, if one has answers left; under m_mutex.
    Script* scriptFor(const Request& request);
    // Queues the scripted answers that are due for every client connected now; the time of the
    // next one (0: none).
    std::uint64_t releaseScheduled(std::uint64_t now);

    mutable std::mutex m_mutex;
    std::string m_host;
    std::uint16_t m_port = 0;
    int m_listener = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    bool m_stop = false;
    std::thread m_thread;

    // Loop thread only.
    std::map<int, std::unique_ptr<Client>> m_clients;
    int m_nextId = 1;
    std::vector<Write> m_writes;
    std::vector<Scheduled> m_onAccept;
    bool m_stalled = false;
    std::string m_streamFrame;
    std::size_t m_streamCut = 0;
    std::uint64_t m_streamPeriodMs = 0, m_streamNextMs = 0, m_streamUntilMs = 0;
    // Queues the stream's pieces that are due; the time of the next one (0: none).
    std::uint64_t releaseStream(std::uint64_t now);

    // Guarded by m_mutex.
    std::vector<std::function<void()>> m_actions;
    bool m_answerHeartbeat = true;
    std::string m_deviceList;
    std::map<std::string, std::string> m_results;
    std::map<std::string, int> m_macDelay;
    Unknown m_unknown = Unknown::Pass;
    int m_delayMs = 0;
    std::vector<std::size_t> m_split;
    std::vector<std::string> m_queued;
    std::map<std::string, Script> m_scripts;
    std::multimap<std::uint64_t, Scheduled> m_scheduled; // due time -> frame, to all clients
    bool m_closeOnRequest = false;
    Responder m_responder;
    WrittenHook m_writtenHook; // server thread only (set through post)
    int m_connections = 0;
    int m_clientCount = 0;
    std::vector<Request> m_requests;
};
