// QR code (model 2) encoder: level M, version 2 and up, mask pattern 0, fixed-size symbol buffers
// (the run table alone is sized by the text).
#pragma once

#include <cstdint>
#include <vector>

class QrEncoder {
public:
    static constexpr int kMaxSide = 177;
    static constexpr int kMaxDataCodewords = 2956;
    static constexpr int kMaxCodewords = 3706;
    static constexpr int kMaxBlockLength = 153;

    QrEncoder();

    // text: zero-terminated UTF-8; the symbol carries its bytes. 1: side() and the matrix are set;
    // 0: empty text or too long for version 40 at level M.
    int encodeText(const char* text);

    int version() const { return m_version; }
    int side() const { return m_side; }
    // 1 = dark, 0 = light; x is the column, y the row, 0 <= x, y < side().
    int module(int x, int y) const { return m_matrix[x * kMaxSide + y]; }
    // Module (x, y) at x * kMaxSide + y.
    const std::uint8_t* matrix() const { return m_matrix; }

private:
    struct Run {
        int mode;   // 0 numeric, 1 alphanumeric, 2 8-bit
        int length; // bytes
    };

    bool chooseVersion(const std::uint8_t* text, int length);
    bool analyseSegments(const std::uint8_t* text, int length, int group);
    int segmentBitLength(int mode, int length, int group) const;
    void appendBits(std::uint32_t value, int count);
    void computeEcc(const std::uint8_t* data, int dataLength, std::uint8_t* ecc, int eccLength);
    void buildMatrix();
    void placeFunctionPatterns();
    void placeFinder(int x, int y);
    void placeAlignment(int x, int y);
    void placeVersionInfo();
    void placeDataBits();
    void applyMask();
    void placeFormatInfo();

    void setFunction(int x, int y, bool dark);

    int m_level = 1;
    int m_version = 0;
    int m_mask = 0;
    int m_side = 0;
    std::uint8_t m_matrix[kMaxSide * kMaxSide];
    int m_bitCount = 0;
    std::uint8_t m_data[kMaxDataCodewords];
    std::uint8_t m_final[kMaxCodewords];
    std::uint8_t m_block[kMaxBlockLength];
    std::vector<Run> m_runs; // one entry per byte at most: sized by the text
    int m_runCount = 0;
};
