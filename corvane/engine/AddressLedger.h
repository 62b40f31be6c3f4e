// The addresses on their way to a camera: each address that the IP change or the
// other-parameter run has sent to a camera (one hold per change, not per camera). Both address
// batches ask it before they hand an address out.
//
// A change's hold ends only on evidence that its camera will not take the address or has taken
// it: the camera refused the change (or it was never sent), or it was seen (a search answer, a
// login) at that address or at an address sent to it by a later change of either batch. A failed
// or timed-out relogin, or a device thread that gives up waiting, is no evidence: an address
// whose camera never shows up stays held. MACs are matched by their key (MacKey.h).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class AddressLedger {
public:
    using Change = std::uint64_t; // one address change of one camera; 0: none

    // Whether the address may be handed out now: no change holds it.
    bool mayHandOut(const std::string& address) const;

    // A batch is about to send the address to the camera: the check and the hold in one step.
    // The change holding it, or 0 (nothing held, nothing to send) when the address may not be
    // handed out or a text is empty.
    Change sent(const std::string& mac, const std::string& address);
    // The camera refused the change, or the batch did not send it after all: the hold ends.
    void refused(Change change);
    // The camera was seen at the address: the holds of its changes up to the latest one that
    // sent it this address end. An address no held change of it sent frees nothing.
    void seenAt(const std::string& mac, const std::string& address);
    // The change's relogin ended. Frees nothing; a failed one logs that the address stays held.
    void reloginEnded(Change change, bool loggedIn);
    // The batch stopped waiting for the camera at the address. Frees nothing; logs that the
    // address stays held.
    void gaveUp(Change change);
    // A search has ended: the holds it did not free stay, logged once.
    void searchDone();

private:
    struct Hold {
        Change change = 0;
        std::string key; // the camera's MAC key
        std::string mac; // as the batch gave it, for the log
        std::string address;
        bool logged = false; // "stays held" written
    };
    bool takenLocked(const std::string& address) const;
    void logStaysHeld(Change change, const char* where);
    void logStaysHeldLocked(Hold& hold, const char* where);

    mutable std::mutex m_lock; // every member below
    std::vector<Hold> m_holds; // in sending order
    std::uint64_t m_lastId = 0;
};
