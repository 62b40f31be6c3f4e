#include "QrEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Per version: version; total codewords; data codewords at L, M, Q, H; number of alignment centres
// other than 6 and up to six of them; first block group {blocks, codewords, data codewords} for
// L, M, Q, H; second block group likewise.
const int kVersions[41][37] = {
    {0},
    {1, 26, 19, 16, 13, 9, 0, 0, 0, 0, 0, 0, 0, 1, 26, 19, 1, 26, 16,
     1, 26, 13, 1,  26, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0,  0, 0},
    {2, 44, 34, 28, 22, 16, 1, 18, 0, 0, 0, 0, 0, 1, 44, 34, 1, 44, 28,
     1, 44, 22, 1,  44, 16, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0,  0, 0},
    {3, 70, 55, 44, 34, 26, 1, 22, 0, 0, 0, 0, 0, 1, 70, 55, 1, 70, 44,
     2, 35, 17, 2,  35, 13, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0,  0, 0},
    {4, 100, 80, 64, 48, 36, 1, 26, 0, 0, 0, 0, 0, 1, 100, 80, 2, 50, 32,
     2, 50,  24, 4,  25, 9,  0, 0,  0, 0, 0, 0, 0, 0, 0,   0,  0, 0},
    {5, 134, 108, 86, 62, 46, 1, 30, 0, 0, 0, 0, 0, 1,  134, 108, 2,  67, 43,
     2, 33,  15,  2,  33, 11, 0, 0,  0, 0, 0, 0, 2, 34, 16,  2,   34, 12},
    {6, 172, 136, 108, 76, 60, 1, 34, 0, 0, 0, 0, 0, 2, 86, 68, 4, 43, 27,
     4, 43,  19,  4,   43, 15, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0,  0, 0},
    {7, 196, 156, 124, 88, 66, 2, 22, 38, 0, 0, 0, 0, 2,  98, 78, 4,  49, 31,
     2, 32,  14,  4,   39, 13, 0, 0,  0,  0, 0, 0, 4, 33, 15, 1,  40, 14},
    {8, 242, 194, 154, 110, 86, 2, 24, 42, 0, 0,  0,  0, 2,  121, 97, 2,  60, 38,
     4, 40,  18,  4,   40,  14, 0, 0,  0,  2, 61, 39, 2, 41, 19,  2,  41, 15},
    {9, 292, 232, 182, 132, 100, 2, 26, 46, 0, 0,  0,  0, 2,  146, 116, 3,  58, 36,
     4, 36,  16,  4,   36,  12,  0, 0,  0,  2, 59, 37, 4, 37, 17,  4,   37, 13},
    {10, 346, 274, 216, 154, 122, 2, 28, 50, 0, 0,  0,  0, 2,  86, 68, 4,  69, 43,
     6,  43,  19,  6,   43,  15,  2, 87, 69, 1, 70, 44, 2, 44, 20, 2,  44, 16},
    {11, 404, 324, 254, 180, 140, 2, 30, 54, 0, 0,  0,  0, 4,  101, 81, 1,  80, 50,
     4,  50,  22,  3,   36,  12,  0, 0,  0,  4, 81, 51, 4, 51, 23,  8,  37, 13},
    {12, 466, 370, 290, 206, 158, 2, 32,  58, 0, 0,  0,  0, 2,  116, 92, 6,  58, 36,
     4,  46,  20,  7,   42,  14,  2, 117, 93, 2, 59, 37, 6, 47, 21,  4,  43, 15},
    {13, 532, 428, 334, 244, 180, 2, 34, 62, 0, 0,  0,  0, 4,  133, 107, 8,  59, 37,
     8,  44,  20,  12,  33,  11,  0, 0,  0,  1, 60, 38, 4, 45, 21,  4,   34, 12},
    {14, 581, 461, 365, 261, 197, 3, 26,  46,  66, 0,  0,  0, 3,  145, 115, 4,  64, 40,
     11, 36,  16,  11,  36,  12,  1, 146, 116, 5,  65, 41, 5, 37, 17,  5,   37, 13},
    {15, 655, 523, 415, 295, 223, 3, 26,  48, 70, 0,  0,  0, 5,  109, 87, 5,  65, 41,
     5,  54,  24,  11,  36,  12,  1, 110, 88, 5,  66, 42, 7, 55, 25,  7,  37, 13},
    {16, 733, 589, 453, 325, 253, 3, 26,  50, 74, 0,  0,  0, 5,  122, 98, 7,  73, 45,
     15, 43,  19,  3,   45,  15,  1, 123, 99, 3,  74, 46, 2, 44, 20,  13, 46, 16},
    {17, 815, 647, 507, 367, 283, 3, 30,  54,  78, 0,  0,  0,  1,  135, 107, 10, 74, 46,
     1,  50,  22,  2,   42,  14,  5, 136, 108, 1,  75, 47, 15, 51, 23,  17,  43, 15},
    {18, 901, 721, 563, 397, 313, 3, 30,  56,  82, 0,  0,  0, 5,  150, 120, 9,  69, 43,
     17, 50,  22,  2,   42,  14,  1, 151, 121, 4,  70, 44, 1, 51, 23,  19,  43, 15},
    {19, 991, 795, 627, 445, 341, 3, 30,  58,  86, 0,  0,  0, 3,  141, 113, 3,  70, 44,
     17, 47,  21,  9,   39,  13,  4, 142, 114, 11, 71, 45, 4, 48, 22,  16,  40, 14},
    {20, 1085, 861, 669, 485, 385, 3, 34,  62,  90, 0,  0,  0, 3,  135, 107, 3,  67, 41,
     15, 54,   24,  15,  43,  15,  5, 136, 108, 13, 68, 42, 5, 55, 25,  10,  44, 16},
    {21, 1156, 932, 714, 512, 406, 4, 28,  50,  72, 94, 0, 0, 4,  144, 116, 17, 68, 42,
     17, 50,   22,  19,  46,  16,  4, 145, 117, 0,  0,  0, 6, 51, 23,  6,   47, 17},
    {22, 1258, 1006, 782, 568, 442, 4, 26,  50,  74, 98, 0, 0,  2,  139, 111, 17, 74, 46,
     7,  54,   24,   34,  37,  13,  7, 140, 112, 0,  0,  0, 16, 55, 25,  0,   0,  0},
    {23, 1364, 1094, 860, 614, 464, 4, 30,  54,  78, 102, 0,  0,  4,  151, 121, 4,  75, 47,
     11, 54,   24,   16,  45,  15,  5, 152, 122, 14, 76,  48, 14, 55, 25,  14,  46, 16},
    {24, 1474, 1174, 914, 664, 514, 4, 28,  54,  80, 106, 0,  0,  6,  147, 117, 6,  73, 45,
     11, 54,   24,   30,  46,  16,  4, 148, 118, 14, 74,  46, 16, 55, 25,  2,   47, 17},
    {25, 1588, 1276, 1000, 718, 538, 4, 32,  58,  84, 110, 0,  0,  8,  132, 106, 8,  75, 47,
     7,  54,   24,   22,   45,  15,  4, 133, 107, 13, 76,  48, 22, 55, 25,  13,  46, 16},
    {26, 1706, 1370, 1062, 754, 596, 4, 30,  58,  86, 114, 0,  0, 10, 142, 114, 19, 74, 46,
     28, 50,   22,   33,   46,  16,  2, 143, 115, 4,  75,  47, 6, 51, 23,  4,   47, 17},
    {27, 1828, 1468, 1128, 808, 628, 4, 34,  62,  90, 118, 0,  0,  8,  152, 122, 22, 73, 45,
     8,  53,   23,   12,   45,  15,  4, 153, 123, 3,  74,  46, 26, 54, 24,  28,  46, 16},
    {28, 1921, 1531, 1193, 871, 661, 5,  26,  50,  74, 98, 122, 0,  3,  147, 117, 3,  73, 45,
     4,  54,   24,   11,   45,  15,  10, 148, 118, 23, 74, 46,  31, 55, 25,  31,  46, 16},
    {29, 2051, 1631, 1267, 911, 701, 5, 30,  54,  78, 102, 126, 0,  7,  146, 116, 21, 73, 45,
     1,  53,   23,   19,   45,  15,  7, 147, 117, 7,  74,  46,  37, 54, 24,  26,  46, 16},
    {30, 2185, 1735, 1373, 985, 745, 5,  26,  52,  78, 104, 130, 0,  5,  145, 115, 19, 75, 47,
     15, 54,   24,   23,   45,  15,  10, 146, 116, 10, 76,  48,  25, 55, 25,  25,  46, 16},
    {31, 2323, 1843, 1455, 1033, 793, 5, 30,  56,  82, 108, 134, 0, 13, 145, 115, 2,  74, 46,
     42, 54,   24,   23,   45,   15,  3, 146, 116, 29, 75,  47,  1, 55, 25,  28,  46, 16},
    {32, 2465, 1955, 1541, 1115, 845, 5, 34, 60, 86, 112, 138, 0,  17, 145, 115, 10, 74, 46,
     10, 54,   24,   19,   45,   15,  0, 0,  0,  23, 75,  47,  35, 55, 25,  35,  46, 16},
    {33, 2611, 2071, 1631, 1171, 901, 5, 30,  58,  86, 114, 142, 0,  17, 145, 115, 14, 74, 46,
     29, 54,   24,   11,   45,   15,  1, 146, 116, 21, 75,  47,  19, 55, 25,  46,  46, 16},
    {34, 2761, 2191, 1725, 1231, 961, 5, 34,  62,  90, 118, 146, 0, 13, 145, 115, 14, 74, 46,
     44, 54,   24,   59,   46,   16,  6, 146, 116, 23, 75,  47,  7, 55, 25,  1,   47, 17},
    {35, 2876, 2306, 1812, 1286, 986, 6, 30,  54,  78, 102, 126, 150, 12, 151, 121, 12, 75, 47,
     39, 54,   24,   22,   45,   15,  7, 152, 122, 26, 76,  48,  14,  55, 25,  41,  46, 16},
    {36, 3034, 2434, 1914, 1354, 1054, 6,  24,  50,  76, 102, 128, 154, 6,  151, 121, 6,  75, 47,
     46, 54,   24,   2,    45,   15,   14, 152, 122, 34, 76,  48,  10,  55, 25,  64,  46, 16},
    {37, 3196, 2566, 1992, 1426, 1096, 6, 28,  54,  80, 106, 132, 158, 17, 152, 122, 29, 74, 46,
     49, 54,   24,   24,   45,   15,   4, 153, 123, 14, 75,  47,  10,  55, 25,  46,  46, 16},
    {38, 3362, 2702, 2102, 1502, 1142, 6,  32,  58,  84, 110, 136, 162, 4,  152, 122, 13, 74, 46,
     48, 54,   24,   42,   45,   15,   18, 153, 123, 32, 75,  47,  14,  55, 25,  32,  46, 16},
    {39, 3532, 2812, 2216, 1582, 1222, 6, 26,  54,  82, 110, 138, 166, 20, 147, 117, 40, 75, 47,
     43, 54,   24,   10,   45,   15,   4, 148, 118, 7,  76,  48,  22,  55, 25,  67,  46, 16},
    {40, 3706, 2956, 2334, 1666, 1276, 6, 30,  58,  86, 114, 142, 170, 19, 148, 118, 18, 75, 47,
     34, 54,   24,   20,   45,   15,   6, 149, 119, 31, 76,  48,  34,  55, 25,  61,  46, 16},
};

enum { kTotal = 1, kData = 2, kAlignCount = 6, kAlign = 7, kGroup1 = 13, kGroup2 = 25 };

// Character count widths by mode (numeric, alphanumeric, 8-bit, kanji) and version group.
const int kCountWidth[4][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}, {8, 10, 12}};
const int kGroupFirst[3] = {1, 10, 27};
const int kGroupLast[3] = {9, 26, 40};
const int kModeIndicator[3] = {1, 2, 4};

constexpr int kMaxBits = QrEncoder::kMaxDataCodewords * 8;

enum ModuleFlag : std::uint8_t { kDark = 1, kFunction = 2 };

// GF(256) over x^8 + x^4 + x^3 + x^2 + 1 and the generator polynomials (as logarithms).
struct Galois {
    std::uint8_t exp[512];
    std::uint8_t log[256];
    std::uint8_t generatorLog[31][30]; // indexed by the number of error correction codewords

    Galois() {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            exp[i] = static_cast<std::uint8_t>(x);
            log[x] = static_cast<std::uint8_t>(i);
            x <<= 1;
            if (x & 0x100)
                x ^= 0x11D;
        }
        for (int i = 255; i < 512; ++i)
            exp[i] = exp[i - 255];
        log[0] = 0;
        for (int n : {7, 10, 13, 15, 16, 17, 18, 20, 22, 24, 26, 28, 30}) {
            // Coefficients below the leading 1 of (x - a^0)(x - a^1)...(x - a^(n-1)).
            std::uint8_t poly[30] = {};
            poly[n - 1] = 1;
            std::uint8_t root = 1;
            for (int i = 0; i < n; ++i) {
                for (int j = 0; j < n; ++j) {
                    poly[j] = multiply(poly[j], root);
                    if (j + 1 < n)
                        poly[j] ^= poly[j + 1];
                }
                root = multiply(root, 2);
            }
            for (int j = 0; j < n; ++j)
                generatorLog[n][j] = log[poly[j]];
        }
    }

    std::uint8_t multiply(std::uint8_t a, std::uint8_t b) const {
        return (a && b) ? exp[log[a] + log[b]] : 0;
    }
};

const Galois& galois() {
    static const Galois g;
    return g;
}

int modeOf(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return 0;
    if ((c >= 'A' && c <= 'Z') || c == ' ' || c == '$' || c == '%' || c == '*' || c == '+' || c == '-' ||
        c == '.' || c == '/' || c == ':')
        return 1;
    return 2;
}

int alphanumericValue(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    switch (c) {
    case ' ':
        return 36;
    case '$':
        return 37;
    case '%':
        return 38;
    case '*':
        return 39;
    case '+':
        return 40;
    case '-':
        return 41;
    case '.':
        return 42;
    case '/':
        return 43;
    default:
        return 44; // ':'
    }
}

} // namespace

QrEncoder::QrEncoder() {
    std::memset(m_matrix, 0, sizeof m_matrix);
}

int QrEncoder::encodeText(const char* text) {
    m_level = 1;
    m_mask = 0;
    m_side = 0;
    const int length = text ? static_cast<int>(std::strlen(text)) : 0;
    if (length == 0)
        return 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    if (!chooseVersion(bytes, length))
        return 0;
    m_version = std::max(m_version, 2);

    const int* info = kVersions[m_version];
    const int dataCodewords = info[kData + m_level];
    const int capacity = dataCodewords * 8;
    int terminator = std::min(4, capacity - m_bitCount);
    if (terminator > 0)
        appendBits(0, terminator);
    if (m_bitCount % 8)
        appendBits(0, 8 - m_bitCount % 8);
    for (int i = m_bitCount / 8, pad = 0xEC; i < dataCodewords; ++i, pad ^= 0xEC ^ 0x11)
        m_data[i] = static_cast<std::uint8_t>(pad);

    // Blocks: error correction per block, then data and error correction interleaved column by column.
    const int n1 = info[kGroup1 + 3 * m_level];
    const int length1 = info[kGroup1 + 3 * m_level + 1];
    const int data1 = info[kGroup1 + 3 * m_level + 2];
    const int n2 = info[kGroup2 + 3 * m_level];
    const int blocks = n1 + n2;
    const int eccLength = length1 - data1;
    int offset = 0;
    for (int b = 0; b < blocks; ++b) {
        const int dataLength = b < n1 ? data1 : data1 + 1;
        for (int i = 0; i < data1; ++i)
            m_final[i * blocks + b] = m_data[offset + i];
        if (b >= n1)
            m_final[data1 * blocks + (b - n1)] = m_data[offset + data1];
        computeEcc(m_data + offset, dataLength, m_block, eccLength);
        for (int i = 0; i < eccLength; ++i)
            m_final[dataCodewords + i * blocks + b] = m_block[i];
        offset += dataLength;
    }

    m_side = 4 * m_version + 17;
    buildMatrix();
    return 1;
}

bool QrEncoder::chooseVersion(const std::uint8_t* text, int length) {
    for (int group = 0; group < 3; ++group) {
        if (!analyseSegments(text, length, group))
            continue;
        const int needed = (m_bitCount + 7) / 8;
        for (int v = kGroupFirst[group]; v <= kGroupLast[group]; ++v) {
            if (kVersions[v][kData + m_level] >= needed) {
                m_version = v;
                return true;
            }
        }
    }
    return false;
}

int QrEncoder::segmentBitLength(int mode, int length, int group) const {
    const int head = 4 + kCountWidth[mode][group];
    switch (mode) {
    case 0:
        return head + 10 * (length / 3) + (length % 3 == 1 ? 4 : length % 3 == 2 ? 7 : 0);
    case 1:
        return head + 11 * (length / 2) + (length % 2 ? 6 : 0);
    case 2:
        return head + 8 * length;
    default:
        return head + 13 * (length / 2);
    }
}

bool QrEncoder::analyseSegments(const std::uint8_t* text, int length, int group) {
    m_bitCount = 0;
    std::memset(m_data, 0, sizeof m_data);

    // Runs of one mode. Every byte outside the numeric and alphanumeric sets (UTF-8 sequences
    // included) is an 8-bit byte.
    m_runCount = 0;
    m_runs.resize(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        const int mode = modeOf(text[i]);
        if (m_runCount > 0 && m_runs[m_runCount - 1].mode == mode) {
            ++m_runs[m_runCount - 1].length;
            continue;
        }
        m_runs[m_runCount++] = {mode, 1};
    }

    auto cost = [&](const Run& r) { return segmentBitLength(r.mode, r.length, group); };
    auto erase = [&](int index) {
        std::memmove(m_runs.data() + index, m_runs.data() + index + 1,
                     sizeof(Run) * (m_runCount - index - 1));
        --m_runCount;
    };

    // First pass: neighbouring numeric and alphanumeric runs.
    for (int i = 0; i + 1 < m_runCount;) {
        const Run a = m_runs[i];
        const Run b = m_runs[i + 1];
        if (a.mode == 2 || b.mode == 2 || a.mode == b.mode) {
            ++i;
            continue;
        }
        const int merged = segmentBitLength(1, a.length + b.length, group);
        if (merged >= cost(a) + cost(b)) {
            ++i;
            continue;
        }
        const bool hasLeft = i > 0 && m_runs[i - 1].mode == 2;
        const bool hasRight = i + 2 < m_runCount && m_runs[i + 2].mode == 2;
        int costA = 0;
        int costB = 0;
        bool openA = false;
        bool openB = false;
        if (hasLeft) {
            const Run& l = m_runs[i - 1];
            const int joined = segmentBitLength(2, l.length + a.length, group);
            openA = joined + cost(b) <= merged + cost(l);
            costA = joined - cost(l) + cost(b);
        }
        if (hasRight) {
            const Run& r = m_runs[i + 2];
            const int joined = segmentBitLength(2, b.length + r.length, group);
            openB = joined + cost(a) <= merged + cost(r);
            costB = joined - cost(r) + cost(a);
        }
        if (!openA && !openB) {
            m_runs[i] = {1, a.length + b.length};
            erase(i + 1);
            if (i + 1 < m_runCount && m_runs[i + 1].mode == 1) {
                m_runs[i].length += m_runs[i + 1].length;
                erase(i + 1);
            }
            if (i > 0 && m_runs[i - 1].mode == 1) {
                m_runs[i - 1].length += m_runs[i].length;
                erase(i);
                --i;
            }
        } else if (openB && (!openA || costA >= costB)) {
            m_runs[i + 2].length += b.length;
            erase(i + 1);
        } else {
            m_runs[i - 1].length += a.length;
            erase(i);
        }
    }

    // Second pass: neighbouring runs that are cheaper as one 8-bit run.
    const int byteHead = kCountWidth[2][group] + 4;
    for (int i = 0; i + 1 < m_runCount;) {
        const Run& r = m_runs[i];
        const Run& s = m_runs[i + 1];
        const bool left = i > 0 && m_runs[i - 1].mode == 2;
        const bool right = i + 2 < m_runCount && m_runs[i + 2].mode == 2;
        int joined = segmentBitLength(2, r.length + s.length, group);
        if (left)
            joined -= byteHead;
        if (right)
            joined -= byteHead;
        if (joined >= cost(r) + cost(s)) {
            ++i;
            continue;
        }
        const int first = left ? i - 1 : i;
        const int last = right ? i + 2 : i + 1;
        int total = 0;
        for (int k = first; k <= last; ++k)
            total += m_runs[k].length;
        m_runs[first] = {2, total};
        std::memmove(m_runs.data() + first + 1, m_runs.data() + last + 1,
                     sizeof(Run) * (m_runCount - last - 1));
        m_runCount -= last - first;
        i = first > 0 ? first - 1 : 0;
    }

    // The bit stream.
    const std::uint8_t* p = text;
    for (int k = 0; k < m_runCount && m_bitCount >= 0; ++k) {
        const Run& run = m_runs[k];
        const int width = kCountWidth[run.mode][group];
        if (run.length >= (1 << width))
            return false;
        appendBits(kModeIndicator[run.mode], 4);
        appendBits(static_cast<std::uint32_t>(run.length), width);
        int i = 0;
        switch (run.mode) {
        case 0:
            for (; i + 3 <= run.length; i += 3)
                appendBits(
                    static_cast<std::uint32_t>((p[i] - '0') * 100 + (p[i + 1] - '0') * 10 + (p[i + 2] - '0')),
                    10);
            if (run.length - i == 2)
                appendBits(static_cast<std::uint32_t>((p[i] - '0') * 10 + (p[i + 1] - '0')), 7);
            else if (run.length - i == 1)
                appendBits(static_cast<std::uint32_t>(p[i] - '0'), 4);
            break;
        case 1:
            for (; i + 2 <= run.length; i += 2)
                appendBits(
                    static_cast<std::uint32_t>(alphanumericValue(p[i]) * 45 + alphanumericValue(p[i + 1])),
                    11);
            if (i < run.length)
                appendBits(static_cast<std::uint32_t>(alphanumericValue(p[i])), 6);
            break;
        default:
            for (; i < run.length; ++i)
                appendBits(p[i], 8);
            break;
        }
        p += run.length;
    }
    return m_bitCount >= 0;
}

void QrEncoder::appendBits(std::uint32_t value, int count) {
    if (m_bitCount < 0)
        return;
    if (m_bitCount + count > kMaxBits) {
        m_bitCount = -1;
        return;
    }
    for (int i = count - 1; i >= 0; --i, ++m_bitCount) {
        if ((value >> i) & 1)
            m_data[m_bitCount >> 3] |= static_cast<std::uint8_t>(0x80 >> (m_bitCount & 7));
    }
}

void QrEncoder::computeEcc(const std::uint8_t* data, int dataLength, std::uint8_t* ecc, int eccLength) {
    const Galois& gf = galois();
    const std::uint8_t* generator = gf.generatorLog[eccLength];
    std::memset(ecc, 0, static_cast<size_t>(eccLength));
    for (int i = 0; i < dataLength; ++i) {
        const std::uint8_t factor = data[i] ^ ecc[0];
        std::memmove(ecc, ecc + 1, static_cast<size_t>(eccLength - 1));
        ecc[eccLength - 1] = 0;
        if (factor) {
            const int lf = gf.log[factor];
            for (int j = 0; j < eccLength; ++j)
                ecc[j] ^= gf.exp[lf + generator[j]];
        }
    }
}

void QrEncoder::setFunction(int x, int y, bool dark) {
    m_matrix[x * kMaxSide + y] = static_cast<std::uint8_t>(kFunction | (dark ? kDark : 0));
}

void QrEncoder::buildMatrix() {
    std::memset(m_matrix, 0, sizeof m_matrix);
    placeFunctionPatterns();
    placeDataBits();
    applyMask();
    placeFormatInfo();
    for (int x = 0; x < m_side; ++x)
        for (int y = 0; y < m_side; ++y)
            m_matrix[x * kMaxSide + y] &= kDark;
}

void QrEncoder::placeFunctionPatterns() {
    placeFinder(0, 0);
    placeFinder(m_side - 7, 0);
    placeFinder(0, m_side - 7);

    // Format information areas, light for now.
    for (int i = 0; i <= 8; ++i) {
        setFunction(8, i, false);
        setFunction(i, 8, false);
    }
    for (int i = 0; i < 8; ++i) {
        setFunction(m_side - 1 - i, 8, false);
        setFunction(8, m_side - 1 - i, false);
    }

    placeVersionInfo();

    const int* info = kVersions[m_version];
    int centres[7] = {6};
    const int count = info[kAlignCount] + 1;
    for (int i = 1; i < count; ++i)
        centres[i] = info[kAlign + i - 1];
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j)
            if (!(m_matrix[centres[i] * kMaxSide + centres[j]] & kFunction))
                placeAlignment(centres[i], centres[j]);

    for (int i = 8; i < m_side - 8; ++i) {
        setFunction(i, 6, i % 2 == 0);
        setFunction(6, i, i % 2 == 0);
    }
}

void QrEncoder::placeFinder(int x, int y) {
    for (int dx = -1; dx <= 7; ++dx) {
        for (int dy = -1; dy <= 7; ++dy) {
            const int px = x + dx;
            const int py = y + dy;
            if (px < 0 || py < 0 || px >= m_side || py >= m_side)
                continue;
            const int ring = std::max(std::abs(dx - 3), std::abs(dy - 3));
            setFunction(px, py, ring != 2 && ring != 4);
        }
    }
}

void QrEncoder::placeAlignment(int x, int y) {
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            setFunction(x + dx, y + dy, std::max(std::abs(dx), std::abs(dy)) != 1);
}

void QrEncoder::placeVersionInfo() {
    if (m_version < 7)
        return;
    int remainder = m_version;
    for (int i = 0; i < 12; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 11) * 0x1F25);
    const int bits = m_version << 12 | remainder;
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 3; ++j) {
            const bool dark = (bits >> (3 * i + j)) & 1;
            setFunction(i, m_side - 11 + j, dark);
            setFunction(m_side - 11 + j, i, dark);
        }
    }
}

void QrEncoder::placeDataBits() {
    const int totalBits = kVersions[m_version][kTotal] * 8;
    int bit = 0;
    for (int right = m_side - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int vert = 0; vert < m_side; ++vert) {
            const int y = upward ? m_side - 1 - vert : vert;
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                std::uint8_t& module = m_matrix[x * kMaxSide + y];
                if (module & kFunction)
                    continue;
                if (bit < totalBits && ((m_final[bit >> 3] >> (7 - (bit & 7))) & 1))
                    module = kDark;
                ++bit;
            }
        }
    }
}

void QrEncoder::applyMask() {
    for (int x = 0; x < m_side; ++x)
        for (int y = 0; y < m_side; ++y) {
            std::uint8_t& module = m_matrix[x * kMaxSide + y];
            if (!(module & kFunction) && (x + y) % 2 == 0)
                module ^= kDark;
        }
}

void QrEncoder::placeFormatInfo() {
    static const int kLevelBits[4] = {1, 0, 3, 2};
    const int data = kLevelBits[m_level] << 3 | m_mask;
    int remainder = data;
    for (int i = 0; i < 10; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    const int bits = (data << 10 | remainder) ^ 0x5412;
    auto bitAt = [bits](int i) { return ((bits >> i) & 1) != 0; };

    for (int i = 0; i <= 5; ++i)
        setFunction(8, i, bitAt(i));
    setFunction(8, 7, bitAt(6));
    setFunction(8, 8, bitAt(7));
    setFunction(7, 8, bitAt(8));
    for (int i = 9; i < 15; ++i)
        setFunction(14 - i, 8, bitAt(i));
    for (int i = 0; i < 8; ++i)
        setFunction(m_side - 1 - i, 8, bitAt(i));
    for (int i = 8; i < 15; ++i)
        setFunction(8, m_side - 15 + i, bitAt(i));
    setFunction(8, m_side - 8, true);
}
