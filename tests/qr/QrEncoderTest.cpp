#include "QrEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/qrtest.XXXXXX";
        if (mkdtemp(name))
            m_path = name;
    }
    ~TempDir() {
        if (!m_path.empty())
            std::system(("rm -rf '" + m_path + "'").c_str());
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Decodes the symbol with zbar: a PGM with 4 pixels per module and a 4-module quiet zone.
std::string decode(const QrEncoder& qr) {
    static TempDir dir;
    static int counter = 0;
    const int scale = 4;
    const int size = (qr.side() + 8) * scale;
    std::string pixels(static_cast<size_t>(size) * size, '\xff');
    for (int x = 0; x < qr.side(); ++x)
        for (int y = 0; y < qr.side(); ++y)
            if (qr.module(x, y))
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        pixels[static_cast<size_t>((y + 4) * scale + dy) * size + (x + 4) * scale + dx] = 0;
    const std::string file = dir.path() + "/qr" + std::to_string(counter++) + ".pgm";
    {
        std::ofstream out(file, std::ios::binary);
        out << "P5\n" << size << " " << size << "\n255\n" << pixels;
    }
    std::string output;
    FILE* pipe = popen(("zbarimg --quiet --raw -Sbinary '" + file + "' 2>/dev/null").c_str(), "r");
    if (!pipe)
        return "<zbarimg failed>";
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        output.append(buf, n);
    pclose(pipe);
    std::remove(file.c_str());
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

std::unique_ptr<QrEncoder> encode(const std::string& text) {
    auto qr = std::make_unique<QrEncoder>();
    if (!qr->encodeText(text.c_str()))
        return nullptr;
    return qr;
}

int versionOf(const std::string& text) {
    auto qr = encode(text);
    return qr ? qr->version() : 99;
}

// Text kinds, each a prefix-stable pattern of any length.
std::string numeric(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>('0' + (i * 7 + 3) % 10);
    return s;
}
std::string alphanumeric(size_t n) {
    static const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += set[(i * 11 + 5) % set.size()];
    return s;
}
std::string bytes(size_t n) {
    const std::string pattern = "label \xc3\xbc\xe4\xb8\xad\xe6\x96\x87 device-qrcode?id=";
    std::string s;
    while (s.size() < n)
        s += pattern;
    s.resize(n);
    // Never cut a UTF-8 sequence.
    while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0x80))
        s.pop_back();
    return s;
}
std::string mixed(size_t n) {
    const std::string pattern =
        "https://qr.example.com/home/account/device-qrcode?device_id=SN20261209004711ABCDEF/";
    std::string s;
    while (s.size() < n)
        s += pattern + numeric(13) + "X7";
    s.resize(n);
    return s;
}

// The longest text of a kind that still needs at most the given version.
std::string longestFor(std::string (*kind)(size_t), int version) {
    size_t lo = 1, hi = 8000;
    while (lo < hi) {
        size_t mid = (lo + hi + 1) / 2;
        if (versionOf(kind(mid)) <= version)
            lo = mid;
        else
            hi = mid - 1;
    }
    return kind(lo);
}

int formatBitsFirstCopy(const QrEncoder& qr) {
    int bits = 0;
    for (int i = 0; i <= 5; ++i)
        bits |= qr.module(8, i) << i;
    bits |= qr.module(8, 7) << 6;
    bits |= qr.module(8, 8) << 7;
    bits |= qr.module(7, 8) << 8;
    for (int i = 9; i < 15; ++i)
        bits |= qr.module(14 - i, 8) << i;
    return bits;
}

int formatBitsSecondCopy(const QrEncoder& qr) {
    const int s = qr.side();
    int bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= qr.module(s - 1 - i, 8) << i;
    for (int i = 8; i < 15; ++i)
        bits |= qr.module(8, s - 15 + i) << i;
    return bits;
}

} // namespace

TEST(QrEncoderFixed, VersionsSideAndFunctionPatterns) {
    auto one = encode("7");
    ASSERT_TRUE(one);
    EXPECT_EQ(2, one->version());
    EXPECT_EQ(25, one->side());

    auto letters = encode(std::string(50, 'q'));
    ASSERT_TRUE(letters);
    EXPECT_EQ(4, letters->version());
    EXPECT_EQ(33, letters->side());
    EXPECT_EQ(3, versionOf(std::string(42, 'q'))); // 4 + 8 + 336 bits: 43 of 44 codewords

    for (int v : {2, 7, 40}) {
        auto qr = encode(longestFor(mixed, v));
        ASSERT_TRUE(qr);
        EXPECT_EQ(v, qr->version());
        EXPECT_EQ(4 * v + 17, qr->side());
        // Level M, mask 0: 101010000010010, in both copies, and the dark module.
        EXPECT_EQ(0x5412, formatBitsFirstCopy(*qr));
        EXPECT_EQ(0x5412, formatBitsSecondCopy(*qr));
        EXPECT_EQ(1, qr->module(8, qr->side() - 8));
        // Finder corners and timing.
        EXPECT_EQ(1, qr->module(0, 0));
        EXPECT_EQ(0, qr->module(7, 7));
        EXPECT_EQ(1, qr->module(qr->side() - 1, 0));
        EXPECT_EQ(1, qr->module(0, qr->side() - 1));
        for (int i = 8; i < qr->side() - 8; ++i) {
            EXPECT_EQ(i % 2 == 0, qr->module(i, 6) == 1);
            EXPECT_EQ(i % 2 == 0, qr->module(6, i) == 1);
        }
    }
}

TEST(QrEncoderFixed, VersionInformationFromSevenOn) {
    auto readVersionBits = [](const QrEncoder& qr, bool bottomLeft) {
        int bits = 0;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 3; ++j) {
                int m = bottomLeft ? qr.module(i, qr.side() - 11 + j) : qr.module(qr.side() - 11 + j, i);
                bits |= m << (3 * i + j);
            }
        return bits;
    };
    auto v7 = encode(longestFor(bytes, 7));
    ASSERT_TRUE(v7);
    ASSERT_EQ(7, v7->version());
    EXPECT_EQ(0x07C94, readVersionBits(*v7, true));
    EXPECT_EQ(0x07C94, readVersionBits(*v7, false));
    auto v40 = encode(longestFor(bytes, 40));
    ASSERT_TRUE(v40);
    EXPECT_EQ(0x28C69, readVersionBits(*v40, true));
    EXPECT_EQ(0x28C69, readVersionBits(*v40, false));

    // Version 6 has no version information: its top-right block holds data, so two texts differ there.
    auto a = encode(longestFor(bytes, 6));
    std::string other = longestFor(bytes, 6);
    other[0] = 'X';
    auto b = encode(other);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(6, a->version());
    ASSERT_EQ(6, b->version());
    EXPECT_NE(std::make_pair(readVersionBits(*a, false), readVersionBits(*a, true)),
              std::make_pair(readVersionBits(*b, false), readVersionBits(*b, true)));
}

TEST(QrEncoderDecode, KindsAtVersions) {
    struct Kind {
        const char* name;
        std::string (*make)(size_t);
    } kinds[] = {{"numeric", numeric}, {"alphanumeric", alphanumeric}, {"bytes", bytes}, {"mixed", mixed}};
    for (const Kind& kind : kinds) {
        for (int v : {2, 4, 7, 10, 27, 40}) {
            const std::string text = longestFor(kind.make, v);
            auto qr = encode(text);
            ASSERT_TRUE(qr) << kind.name << " v" << v;
            EXPECT_EQ(v, qr->version()) << kind.name << " length " << text.size();
            EXPECT_EQ(text, decode(*qr)) << kind.name << " v" << v;
        }
    }
}

TEST(QrEncoderDecode, SeededRandomTexts) {
    std::mt19937 rng(20261209);
    const char* pieces[] = {"0123456789",
                            "ABCDEFXYZ $%*+-./:",
                            "abcdefghijklmnopqrstuvwxyz?&=_",
                            "\xc3\xa9",
                            "\xe4\xb8\xad\xe6\x96\x87",
                            "\xf0\x9f\x99\x82",
                            "\x81\x40\x9f\xfc\xe0\x40"};
    for (int round = 0; round < 24; ++round) {
        std::string text;
        const size_t target = 1 + rng() % (round < 12 ? 120 : 1500);
        while (text.size() < target) {
            const int kind = static_cast<int>(rng() % 7);
            const std::string piece = pieces[kind];
            const int repeat = 1 + static_cast<int>(rng() % 12);
            for (int r = 0; r < repeat; ++r)
                text += kind < 3 ? std::string(1, piece[rng() % piece.size()]) : piece;
        }
        auto qr = encode(text);
        ASSERT_TRUE(qr) << "round " << round;
        EXPECT_EQ(text, decode(*qr)) << "round " << round << " version " << qr->version();
    }
}

TEST(QrEncoderDecode, Utf8TextIsCarriedAsBytes) {
    // Lead bytes 0xE0-0xEB of UTF-8 must not be taken for double-byte characters.
    for (const std::string text :
         {"\xe4\xb8\xad\xe6\x96\x87\xe6\xb5\x8b\xe8\xaf\x95", "\xe9\xaa\x8c\xe8\xaf\x81:SN-1",
          "Gr\xc3\xbc\xc3\x9f"
          "e \xea\xb0\x80\xeb\x82\x98"}) {
        auto qr = encode(text);
        ASSERT_TRUE(qr);
        EXPECT_EQ(text, decode(*qr));
    }
}

TEST(QrEncoderLimits, LargestTextsAtLevelM) {
    struct Case {
        std::string text;
    } cases[] = {{numeric(5596)}, {std::string(3391, 'K')}, {std::string(2331, 'k')}};
    for (const Case& c : cases) {
        auto qr = encode(c.text);
        ASSERT_TRUE(qr) << c.text.size();
        EXPECT_EQ(40, qr->version());
        EXPECT_EQ(c.text, decode(*qr));
        EXPECT_FALSE(encode(c.text + c.text.substr(0, 1))) << c.text.size() + 1;
    }
    EXPECT_FALSE(encode(""));
    QrEncoder qr;
    EXPECT_EQ(0, qr.encodeText(nullptr));
}

TEST(QrEncoderLimits, LongAlternatingTextFailsCleanly) {
    std::string alternating;
    for (int i = 0; i < 4000; ++i)
        alternating += i % 2 ? "1" : "a";
    EXPECT_FALSE(encode(alternating));
    EXPECT_FALSE(encode(alternating + alternating));
    // Short enough to fit as one 8-bit run.
    auto qr = encode(alternating.substr(0, 2000));
    ASSERT_TRUE(qr);
    EXPECT_EQ(alternating.substr(0, 2000), decode(*qr));
}

namespace {

// Reads the final codewords back out of a symbol of version 2 to 6 (one alignment pattern, no
// version information): the zig-zag from the bottom-right corner, mask 0 undone.
std::vector<int> readCodewords(const QrEncoder& qr) {
    const int s = qr.side();
    const int c = s - 7; // the alignment pattern's centre
    auto function = [&](int x, int y) {
        return (x < 9 && y < 9) || (x >= s - 8 && y < 9) || (x < 9 && y >= s - 8) || x == 6 || y == 6 ||
               (std::abs(x - c) <= 2 && std::abs(y - c) <= 2);
    };
    std::vector<int> words;
    int word = 0, bits = 0;
    for (int right = s - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int v = 0; v < s; ++v) {
            const int y = upward ? s - 1 - v : v;
            for (int x = right; x > right - 2; --x) {
                if (function(x, y))
                    continue;
                word = (word << 1) | (qr.module(x, y) ^ ((x + y) % 2 == 0 ? 1 : 0));
                if (++bits % 8 == 0) {
                    words.push_back(word);
                    word = 0;
                }
            }
        }
    }
    return words;
}

// Syndromes of one Reed-Solomon block over GF(256) with 0x11D: all zero for a valid block.
bool validBlock(const std::vector<int>& block, int eccLength) {
    int exp[512], log[256] = {};
    for (int i = 0, v = 1; i < 255; ++i, v = (v << 1) ^ (v & 0x80 ? 0x11D : 0)) {
        exp[i] = exp[i + 255] = v;
        log[v] = i;
    }
    for (int r = 0; r < eccLength; ++r) {
        int sum = 0;
        for (int b : block) // Horner with x = alpha^r
            sum = (sum == 0 ? 0 : exp[log[sum] + r]) ^ b;
        if (sum != 0)
            return false;
    }
    return true;
}

} // namespace

TEST(QrEncoderCodewords, DataPaddingAndErrorCorrectionInTheMatrix) {
    struct Case {
        std::string text;
        int version, blocks, dataPerBlock, eccPerBlock;
        std::vector<int> data; // the bit stream's bytes before the padding
    };
    std::vector<int> letters = {0x43, 0x26};
    letters.insert(letters.end(), 49, 0x16);
    letters.push_back(0x10);
    const Case cases[] = {
        // Numeric: 0001, count 8 in 10 bits, 012 345 in 10 bits each, 67 in 7, terminator.
        {"01234567", 2, 1, 28, 16, {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80}},
        // 8-bit: 0100, count 50 in 8 bits, the bytes, terminator; two interleaved blocks.
        {std::string(50, 'a'), 4, 2, 32, 18, letters},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto qr = encode(c.text);
        ASSERT_TRUE(qr);
        ASSERT_EQ(c.version, qr->version());
        const std::vector<int> words = readCodewords(*qr);
        const int total = c.blocks * (c.dataPerBlock + c.eccPerBlock);
        ASSERT_GE(words.size(), static_cast<size_t>(total));
        std::vector<int> expected = c.data;
        for (int pad = 0xEC; expected.size() < static_cast<size_t>(c.blocks * c.dataPerBlock);
             pad ^= 0xEC ^ 0x11)
            expected.push_back(pad);
        std::vector<std::vector<int>> blocks(c.blocks);
        for (int i = 0; i < c.dataPerBlock; ++i)
            for (int b = 0; b < c.blocks; ++b)
                blocks[b].push_back(words[i * c.blocks + b]);
        std::vector<int> data;
        for (const auto& block : blocks)
            data.insert(data.end(), block.begin(), block.end());
        EXPECT_EQ(expected, data);
        for (int i = 0; i < c.eccPerBlock; ++i)
            for (int b = 0; b < c.blocks; ++b)
                blocks[b].push_back(words[c.blocks * c.dataPerBlock + i * c.blocks + b]);
        for (int b = 0; b < c.blocks; ++b)
            EXPECT_TRUE(validBlock(blocks[b], c.eccPerBlock)) << "block " << b;
        // Remainder bits stay light before masking.
        for (size_t i = total; i < words.size(); ++i)
            EXPECT_EQ(0, words[i]);
    }
}

TEST(QrEncoderLimits, ManyShortRunsStillFit) {
    // 2957 alternating runs merge into one alphanumeric run of 2957 characters.
    std::string text;
    while (text.size() < 2957)
        text += "A1";
    text.resize(2957);
    auto qr = encode(text);
    ASSERT_TRUE(qr);
    EXPECT_EQ(38, qr->version());
    EXPECT_EQ(text, decode(*qr));
}
