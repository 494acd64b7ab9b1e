#include "object/DesignRecord.h"

#include <bit>
#include <cstring>

namespace {

template<typename T>
void appendLittleEndian(std::string& out, T value)
{
    static_assert(std::endian::native == std::endian::little);
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void appendValue(std::string& out, const PropertyValue& value)
{
    std::visit([&out](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, int64_t>) {
            appendLittleEndian(out, v);
        } else if constexpr (std::is_same_v<V, bool>) {
            out.push_back(v ? 1 : 0);
        } else if constexpr (std::is_same_v<V, float>) {
            appendLittleEndian(out, v);
        } else if constexpr (std::is_same_v<V, Color>) {
            appendLittleEndian(out, v.rgb & 0xFFFFFFu);
        } else if constexpr (std::is_same_v<V, FontUnit>) {
            out.push_back(static_cast<char>(v.value));
        } else {
            appendLittleEndian(out, static_cast<uint32_t>(v.size()));
            out += v;
        }
    }, value);
}

class RecordReader {
public:
    RecordReader(const std::string& bytes, uint32_t length)
        : m_data(bytes.data() + 1)
        , m_length(length)
    {
    }

    bool atEnd() const { return m_offset == m_length; }

    std::string readKey()
    {
        std::string key;
        while (true) {
            char c = static_cast<char>(readBytes(1)[0]);
            if (c == ' ')
                return key;
            key.push_back(c);
        }
    }

    PropertyValue readValue(PropertyType type)
    {
        switch (type) {
        case PropertyType::Integer:
            return read<int64_t>();
        case PropertyType::Boolean:
            return readBytes(1)[0] != 0;
        case PropertyType::Single:
            return read<float>();
        case PropertyType::Color:
            return Color { read<uint32_t>() & 0xFFFFFFu };
        case PropertyType::FontUnit:
            return FontUnit { static_cast<uint8_t>(readBytes(1)[0]) };
        case PropertyType::String: {
            uint32_t count = read<uint32_t>();
            const unsigned char* text = readBytes(count);
            return std::string(reinterpret_cast<const char*>(text), count);
        }
        }
        throw RuntimeException("UnsupportedFormatException", "unknown property type");
    }

private:
    template<typename T>
    T read()
    {
        T value;
        std::memcpy(&value, readBytes(sizeof(T)), sizeof(T));
        return value;
    }

    const unsigned char* readBytes(uint32_t count)
    {
        if (count > m_length - m_offset)
            throw RuntimeException("UnsupportedFormatException", "design record cut short");
        const unsigned char* at = reinterpret_cast<const unsigned char*>(m_data) + m_offset;
        m_offset += count;
        return at;
    }

    const char* m_data;
    uint32_t m_length;
    uint32_t m_offset = 0;
};

} // namespace

DesignRecord::DesignRecord(std::initializer_list<DesignProperty> properties)
    : DesignRecord(std::vector<DesignProperty>(properties))
{
}

DesignRecord::DesignRecord(const std::vector<DesignProperty>& properties)
{
    std::string records;
    for (const DesignProperty& property : properties) {
        records += property.key;
        records.push_back(' ');
        appendValue(records, property.value.value);
    }
    store(records);
}

DesignRecord DesignRecord::fromRecords(std::string_view records)
{
    DesignRecord record;
    record.store(records);
    return record;
}

void DesignRecord::store(std::string_view records)
{
    m_length = static_cast<uint32_t>(records.size());
    m_bytes.clear();
    m_bytes.push_back(static_cast<char>(m_length < 255 ? m_length : 255));
    m_bytes += records;
    m_bytes.push_back('\0');
}

void RuntimeMassPropertySetter(Object& object, const DesignRecord& record)
{
    const ClassRecord& classRecord = object.classRecord();
    RecordReader reader(record.bytes(), record.length());
    object.designWillApply();
    try {
        while (!reader.atEnd()) {
            std::string key = reader.readKey();
            const PropertyInfo* property = classRecord.findProperty(key);
            if (!property)
                throw RuntimeException("UnsupportedFormatException", classRecord.name + " has no property " + key);
            property->set(object, reader.readValue(property->type));
        }
    } catch (...) {
        // The object leaves its design state whatever becomes of the record.
        object.designDidApply();
        throw;
    }
    object.designDidApply();
}
