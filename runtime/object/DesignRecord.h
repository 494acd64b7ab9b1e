#pragma once

#include "object/Object.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// One value of a design record, typed as the property it is meant for. Plain ints are
// Integers, bools Booleans, floats Singles; colours, font units and texts have their own type.
struct DesignValue {
    DesignValue(int value) : value(int64_t { value }) { }
    DesignValue(int64_t value) : value(value) { }
    DesignValue(bool value) : value(value) { }
    DesignValue(float value) : value(value) { }
    DesignValue(Color value) : value(value) { }
    DesignValue(FontUnit value) : value(value) { }
    DesignValue(const char* value) : value(std::string(value)) { }
    DesignValue(std::string value) : value(std::move(value)) { }

    PropertyValue value;
};

struct DesignProperty {
    std::string key;
    DesignValue value;
};

// A design record in its stored form: a length byte (N below 255, else 0xFF), the N bytes of
// property records back to back (key, blank, value encoded by its type, little-endian), and a
// zero byte. N is kept beside the bytes and alone bounds the records.
class DesignRecord {
public:
    DesignRecord(std::initializer_list<DesignProperty> properties);
    explicit DesignRecord(const std::vector<DesignProperty>& properties);

    // A record from its property records as stored, whatever they hold: a reader's input.
    static DesignRecord fromRecords(std::string_view records);

    // N, the length of the property records.
    uint32_t length() const { return m_length; }
    // The whole stored string: length byte, records, trailing zero.
    const std::string& bytes() const { return m_bytes; }

private:
    DesignRecord() = default;
    void store(std::string_view records);

    uint32_t m_length = 0;
    std::string m_bytes;
};

// Applies a design record to an object: each key, in stored order, finds its property in the
// object's class or an ancestor (case aside) and sets it through the property's setter.
// Throws RuntimeException for a key without a property or a record cut short.
void RuntimeMassPropertySetter(Object& object, const DesignRecord& record);
