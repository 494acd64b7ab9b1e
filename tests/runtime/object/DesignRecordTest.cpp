#include "object/DesignRecord.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A small object with one property of every stored type.
class Sample : public Object {
    RUNTIME_OBJECT(Sample)
public:
    void Count(int64_t value) { count = value; log += "Count;"; }
    void Shown(bool value) { shown = value; log += "Shown;"; }
    void Size(float value) { size = value; }
    void Tint(Color value) { tint = value; }
    void Unit(FontUnit value) { unit = value; }
    void MultiLine(bool value) { multiLine = value; }
    void Caption(const std::string& value) { caption = value; }
    void designWillApply() override { log += "begin;"; }
    void designDidApply() override { log += "end;"; }

    int64_t count = 0;
    bool shown = false;
    float size = 0;
    Color tint;
    FontUnit unit;
    bool multiLine = false;
    std::string caption = "unset";
    std::string log;
};

RUNTIME_CLASS_RECORD(Sample, "Sample", Object,
    property<Sample>("Count", &Sample::Count),
    property<Sample>("Shown", &Sample::Shown),
    property<Sample>("Size", &Sample::Size),
    property<Sample>("Tint", &Sample::Tint),
    property<Sample>("Unit", &Sample::Unit),
    property<Sample>("MultiLine", &Sample::MultiLine),
    property<Sample>("Caption", &Sample::Caption),
    ::storedProperty("Kept", PropertyType::Integer))

std::string bytesOf(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

TEST(DesignRecord, EncodesEachTypeLittleEndianBetweenLengthByteAndTrailingZero)
{
    struct Case {
        const char* what;
        DesignRecord record;
        std::string expected;
    };
    const Case cases[] = {
        { "integer", DesignRecord({ { "A", -2 } }), bytesOf({ 10, 'A', ' ', 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0 }) },
        { "boolean", DesignRecord({ { "B", true } }), bytesOf({ 3, 'B', ' ', 1, 0 }) },
        { "single", DesignRecord({ { "S", 24.0f } }), bytesOf({ 6, 'S', ' ', 0x00, 0x00, 0xC0, 0x41, 0 }) },
        { "colour", DesignRecord({ { "C", Color { 0xFFFFFF } } }), bytesOf({ 6, 'C', ' ', 0xFF, 0xFF, 0xFF, 0x00, 0 }) },
        { "font unit", DesignRecord({ { "U", FontUnit { 0 } } }), bytesOf({ 3, 'U', ' ', 0, 0 }) },
        { "text", DesignRecord({ { "T", "ab" } }), bytesOf({ 8, 'T', ' ', 2, 0, 0, 0, 'a', 'b', 0 }) },
        { "empty text", DesignRecord({ { "T", "" } }), bytesOf({ 6, 'T', ' ', 0, 0, 0, 0, 0 }) },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.record.bytes(), c.expected) << c.what;
        EXPECT_EQ(c.record.length(), c.expected.size() - 2) << c.what;
    }
}

TEST(DesignRecord, LengthByteIsFFFromTwoHundredFiftyFiveBytesOn)
{
    const DesignRecord below({ { "Caption", std::string(254 - 12, 'x') } });
    const DesignRecord at({ { "Caption", std::string(255 - 12, 'x') } });
    EXPECT_EQ(below.length(), 254u);
    EXPECT_EQ(static_cast<unsigned char>(below.bytes()[0]), 254);
    EXPECT_EQ(at.length(), 255u);
    EXPECT_EQ(static_cast<unsigned char>(at.bytes()[0]), 0xFF);
}

TEST(DesignRecord, AppliesEveryRecordInOrderThroughItsSetter)
{
    Sample sample;
    RuntimeMassPropertySetter(sample, DesignRecord({
        { "Shown", true },
        { "count", 7 },
        { "Size", 0.5f },
        { "Tint", Color { 0x0029CC } },
        { "Unit", FontUnit { 2 } },
        { "Multiline", true },
        { "Caption", "" },
        { "Count", 9 },
        { "Kept", 3 },
    }));
    EXPECT_EQ(sample.log, "begin;Shown;Count;Count;end;");
    EXPECT_EQ(sample.count, 9) << "a repeated key is applied again";
    EXPECT_TRUE(sample.shown);
    EXPECT_EQ(sample.size, 0.5f);
    EXPECT_EQ(sample.tint, Color { 0x0029CC });
    EXPECT_EQ(sample.unit, FontUnit { 2 });
    EXPECT_TRUE(sample.multiLine) << "keys match without regard to case";
    EXPECT_EQ(sample.caption, "");
    ASSERT_NE(sample.storedProperty("Kept"), nullptr);
    EXPECT_EQ(std::get<int64_t>(*sample.storedProperty("Kept")), 3);
}

TEST(DesignRecord, RefusesAKeyWithoutAProperty)
{
    Sample sample;
    EXPECT_THROW(RuntimeMassPropertySetter(sample, DesignRecord({ { "Colour", 1 } })), RuntimeException);
}

} // namespace
