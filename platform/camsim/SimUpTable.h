// Which simulated addresses answer a ping, shared with the stand-in ping through a file that the
// fleet maps and writes in place: a 64-byte header ("CVSIMUP1", zeros), then one byte per address
// of 127.0.0.0/8 in address order (non-zero: a camera that is up holds it). The file is sparse;
// a ping reads the header and its one byte, whatever the size of the fleet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class SimUpTable {
public:
    static constexpr char kMagic[8] = {'C', 'V', 'S', 'I', 'M', 'U', 'P', '1'};
    static constexpr std::size_t kHeaderBytes = 64;
    static constexpr std::size_t kAddresses = std::size_t(1) << 24;
    static constexpr std::size_t kFileBytes = kHeaderBytes + kAddresses;

    SimUpTable() = default;
    ~SimUpTable();
    SimUpTable(const SimUpTable&) = delete;
    SimUpTable& operator=(const SimUpTable&) = delete;

    // Creates an empty table and puts it at path (a temporary file renamed over it; a link
    // planted at the temporary name is never followed). False when it cannot; the table then
    // stays closed and set() does nothing.
    bool create(const std::string& path);
    void close();
    bool isOpen() const { return m_table != nullptr; }
    // Marks an address of 127.0.0.0/8 up or down; other addresses are ignored.
    void set(std::uint32_t hostOrder, bool up);

    // Reads one address from the table file at path: false when the file is missing, is not a
    // table or the address is not up.
    static bool readUp(const char* path, std::uint32_t hostOrder);

private:
    unsigned char* m_table = nullptr; // the whole file, mapped shared
};
