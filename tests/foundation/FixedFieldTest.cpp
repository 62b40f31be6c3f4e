// Fixed-size text fields: bounded reads, terminated copies with zeros behind, and the QString
// readers and the UTF-8 copy that keeps whole characters.
#include "fields/FixedFieldText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string bytesOf(const char* field, std::size_t size) {
    return std::string(field, size);
}

struct CopyCase {
    const char* name;
    std::string source;
    std::string expected; // all five bytes of the field
};

TEST(FixedField, CopyIsBoundedTerminatedAndZeroesTheRest) {
    const CopyCase cases[] = {
        {"empty", "", std::string(5, '\0')},
        {"short", "ab", std::string("ab\0\0\0", 5)},
        {"exactly full", "abcd", std::string("abcd\0", 5)},
        {"one too long", "abcde", std::string("abcd\0", 5)},
        {"over-long", "abcdefghij", std::string("abcd\0", 5)},
        {"stops at an inner zero", std::string("a\0c", 3), std::string("a\0\0\0\0", 5)},
    };
    for (const CopyCase& c : cases) {
        char field[5];
        std::memset(field, 'x', sizeof field);
        fixedfield::copyField(field, c.source);
        EXPECT_EQ(bytesOf(field, sizeof field), c.expected) << c.name;
    }
}

TEST(FixedField, OverwriteKeepsTheTailBehindTheTerminator) {
    char field[8];
    std::memcpy(field, "abcdefgh", 8);
    fixedfield::overwriteField(field, sizeof field, "XY");
    EXPECT_EQ(bytesOf(field, sizeof field), std::string("XY\0defgh", 8));
    fixedfield::overwriteField(field, sizeof field, "0123456789");
    EXPECT_EQ(bytesOf(field, sizeof field), std::string("0123456\0", 8));
}

TEST(FixedField, SourceWithoutTerminatorIsReadOnlyToItsSize) {
    struct {
        char text[3];
        char after[3];
    } source = {{'a', 'b', 'c'}, {'X', 'Y', '\0'}};
    EXPECT_EQ(fixedfield::fieldLength(source.text, sizeof source.text), 3u);
    EXPECT_EQ(fixedfield::fieldText(source.text), "abc");

    char field[6];
    std::memset(field, 'x', sizeof field);
    fixedfield::copyField(field, source.text);
    EXPECT_EQ(bytesOf(field, sizeof field), std::string("abc\0\0\0", 6));

    char small[3];
    fixedfield::copyField(small, source.text);
    EXPECT_EQ(bytesOf(small, sizeof small), std::string("ab\0", 3));
}

TEST(FixedField, NullSourceEmptiesAndZeroSizeLeavesTheField) {
    char field[4] = {'x', 'x', 'x', 'x'};
    fixedfield::copyField(field, 0, "ab", 2);
    EXPECT_EQ(bytesOf(field, sizeof field), "xxxx");
    fixedfield::copyField(field, sizeof field, nullptr, 8);
    EXPECT_EQ(bytesOf(field, sizeof field), std::string(4, '\0'));
    EXPECT_EQ(fixedfield::fieldText(nullptr, 8), "");
}

TEST(FixedField, Utf8CopyCutsOnlyAtCharacterBoundaries) {
    const struct {
        const char* name;
        QString text;
        std::size_t size;
        std::string expected;
    } cases[] = {
        {"empty", QString(), 4, std::string(4, '\0')},
        {"two-byte character fits", QString::fromUtf8("a\xC3\xA9"), 4, std::string("a\xC3\xA9\0", 4)},
        {"two-byte character at the cut", QString::fromUtf8("a\xC3\xA9"), 3, std::string("a\0\0", 3)},
        {"three-byte character exactly full", QString::fromUtf8("\xE2\x82\xAC"), 4,
         std::string("\xE2\x82\xAC\0", 4)},
        {"three-byte character cut away", QString::fromUtf8("\xE2\x82\xAC"), 3, std::string(3, '\0')},
        {"ascii over-long", QStringLiteral("abcdef"), 4, std::string("abc\0", 4)},
    };
    for (const auto& c : cases) {
        char field[8];
        std::memset(field, 'x', sizeof field);
        fixedfield::copyUtf8Field(field, c.size, c.text);
        EXPECT_EQ(bytesOf(field, c.size), c.expected) << c.name;
        EXPECT_EQ(field[c.size], 'x') << c.name << ": wrote past the field";
    }
}

TEST(FixedField, TextReadersDecodeTheBoundedBytes) {
    const char gbk[4] = {'\xD6', '\xD0', '\0', 'x'}; // one GBK character, then garbage
    ASSERT_NE(QTextCodec::codecForName("GBK"), nullptr);
    EXPECT_EQ(fixedfield::gbkText(gbk, sizeof gbk), QString(QChar(0x4E2D)));

    const char latin1[3] = {'\xE9', 'a', 'b'}; // no terminator
    EXPECT_EQ(fixedfield::latin1Text(latin1, sizeof latin1), QString::fromUtf8("\xC3\xA9"
                                                                               "ab"));
    const char utf8[4] = {'\xC3', '\xA9', '\0', 'z'};
    EXPECT_EQ(fixedfield::utf8Text(utf8), QString::fromUtf8("\xC3\xA9"));

    char field[4];
    fixedfield::copyLatin1Field(field, sizeof field,
                                QString::fromUtf8("\xC3\xA9"
                                                  "abc"));
    EXPECT_EQ(bytesOf(field, sizeof field), std::string("\xE9"
                                                        "ab\0",
                                                        4));
}

} // namespace
