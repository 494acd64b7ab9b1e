#include "object/Object.h"

#include <algorithm>
#include <map>

namespace {

// Not std::tolower: it follows the locale, and under a Turkish one "I" is no capital "i".
char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::map<std::string, const ClassRecord*>& classesByName()
{
    static std::map<std::string, const ClassRecord*> classes;
    return classes;
}

} // namespace

bool namesMatch(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

bool ClassRecord::isA(const ClassRecord& other) const
{
    for (const ClassRecord* record = this; record; record = record->superclass) {
        if (record == &other)
            return true;
    }
    return false;
}

const PropertyInfo* ClassRecord::findProperty(const std::string& propertyName) const
{
    for (const ClassRecord* record = this; record; record = record->superclass) {
        for (const PropertyInfo& property : record->properties) {
            if (namesMatch(property.name, propertyName))
                return &property;
        }
    }
    return nullptr;
}

const ClassRecord& Object::classRecord() const
{
    return staticClassRecord();
}

const ClassRecord& Object::staticClassRecord()
{
    static const ClassRecord record { "Object", nullptr, [] { return Ref<Object>(std::make_shared<Object>()); }, {} };
    return record;
}

Ref<Object> RuntimeNewObject(const ClassRecord& record)
{
    RuntimeRegisterClass(record);
    return record.create();
}

void RuntimeRegisterClass(const ClassRecord& record)
{
    classesByName().emplace(record.name, &record);
}

const ClassRecord* RuntimeFindClass(const std::string& name)
{
    auto found = classesByName().find(name);
    return found == classesByName().end() ? nullptr : found->second;
}

const PropertyValue* Object::storedProperty(const std::string& name) const
{
    for (const auto& [key, value] : m_storedProperties) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

void Object::storeProperty(const std::string& name, const PropertyValue& value)
{
    for (auto& [key, stored] : m_storedProperties) {
        if (key == name) {
            stored = value;
            return;
        }
    }
    m_storedProperties.emplace_back(name, value);
}

PropertyInfo storedProperty(std::string name, PropertyType type)
{
    std::string key = name;
    return { std::move(name), type, [key](Object& o, const PropertyValue& v) { o.storeProperty(key, v); } };
}
