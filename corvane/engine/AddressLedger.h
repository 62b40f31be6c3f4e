// The addresses on their way to a camera: each address the IP change has sent (one hold per
// change, not per camera) and the address of each live device thread of the other-parameter
// run. Both address batches ask it before they hand an address out.
//
// A change's hold ends only on evidence that its camera will not take the address or has taken
// it: the camera refused the change, or it was seen (a search answer, a login) at that address
// or at an address sent to it by a later change. A failed or timed-out relogin is no evidence:
// an address whose camera never shows up stays held.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class AddressLedger {
public:
    using Change = std::uint64_t;    // one IP change of one camera; 0: none
    using RunThread = std::uint64_t; // one device thread of the other-parameter run; 0: none

    // Whether the address may be handed out now: no change holds it and no live device thread
    // of the run has it.
    bool mayHandOut(const std::string& address) const;

    // The IP change sends the address to the camera. The change holding it, or 0 (nothing
    // held, nothing to send) when the address may not be handed out or a text is empty.
    Change sent(const std::string& mac, const std::string& address);
    // The camera refused the change: the change's hold ends.
    void refused(Change change);
    // The camera was seen at the address: the holds of its changes up to the latest one that
    // sent it this address end. An address no held change of it sent frees nothing.
    void seenAt(const std::string& mac, const std::string& address);
    // The change's relogin ended. Frees nothing; a failed one logs that the address stays held.
    void reloginEnded(Change change, bool loggedIn);
    // A search has ended: the holds it did not free stay, logged once.
    void searchDone();

    // A device thread of the run takes the address until it ends. 0 when the address may not
    // be handed out (or is empty).
    RunThread runThreadStarted(const std::string& address);
    void runThreadEnded(RunThread thread);

private:
    struct Hold {
        Change change = 0;
        std::string mac;
        std::string address;
        bool logged = false; // "stays held" written
    };
    struct Run {
        RunThread thread = 0;
        std::string address;
    };
    bool takenLocked(const std::string& address) const;
    void logStaysHeld(Hold& hold, const char* where);

    mutable std::mutex m_lock; // every member below
    std::vector<Hold> m_holds; // in sending order
    std::vector<Run> m_runs;
    std::uint64_t m_lastId = 0;
};
