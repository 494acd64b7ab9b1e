#pragma once

#include "object/Ref.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class Object;

// Declared type of a property, which also fixes how a design record stores its value.
enum class PropertyType { Integer, Boolean, Single, Color, FontUnit, String };

// A 24-bit colour, 0xRRGGBB.
struct Color {
    uint32_t rgb = 0;
    bool operator==(const Color&) const = default;
};

// The font-unit enumeration, stored in one byte.
struct FontUnit {
    uint8_t value = 0;
    bool operator==(const FontUnit&) const = default;
};

using PropertyValue = std::variant<int64_t, bool, float, Color, FontUnit, std::string>;

// True when two names of the program's own (properties, controls) are equal but for the case
// of their ASCII letters, the same under every locale.
bool namesMatch(std::string_view a, std::string_view b);

// A property that a design record can set: its name and type, and the setter it goes through.
struct PropertyInfo {
    std::string name;
    PropertyType type;
    std::function<void(Object&, const PropertyValue&)> set;
};

// The runtime's record of a class: its name, superclass, factory and design properties.
struct ClassRecord {
    std::string name;
    const ClassRecord* superclass = nullptr;
    std::function<Ref<Object>()> create;
    std::vector<PropertyInfo> properties;

    // True when this class is `other` or derives from it.
    bool isA(const ClassRecord& other) const;
    // The property of that name here or in an ancestor, compared without regard to case.
    const PropertyInfo* findProperty(const std::string& name) const;
};

// Base of every runtime object. Objects live in Refs; `self` gives a Ref to this one.
class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;

    // The class record of the object's most derived class.
    virtual const ClassRecord& classRecord() const;
    static const ClassRecord& staticClassRecord();

    template<typename T = Object>
    Ref<T> self() { return Ref<T>(std::static_pointer_cast<T>(shared_from_this())); }

    // Called around the application of a design record to this object.
    virtual void designWillApply() { }
    virtual void designDidApply() { }

    // A design property that the runtime keeps but gives no effect; absent until set.
    const PropertyValue* storedProperty(const std::string& name) const;
    void storeProperty(const std::string& name, const PropertyValue& value);

private:
    std::vector<std::pair<std::string, PropertyValue>> m_storedProperties;
};

// Property table entries for a class C, each going through C's setter of that type.
template<typename C> PropertyInfo property(std::string name, void (C::*set)(int64_t))
{
    return { std::move(name), PropertyType::Integer, [set](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*set)(std::get<int64_t>(v)); } };
}
template<typename C> PropertyInfo property(std::string name, void (C::*set)(bool))
{
    return { std::move(name), PropertyType::Boolean, [set](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*set)(std::get<bool>(v)); } };
}
template<typename C> PropertyInfo property(std::string name, void (C::*set)(float))
{
    return { std::move(name), PropertyType::Single, [set](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*set)(std::get<float>(v)); } };
}
template<typename C> PropertyInfo property(std::string name, void (C::*set)(Color))
{
    return { std::move(name), PropertyType::Color, [set](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*set)(std::get<Color>(v)); } };
}
template<typename C> PropertyInfo property(std::string name, void (C::*set)(FontUnit))
{
    return { std::move(name), PropertyType::FontUnit, [set](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*set)(std::get<FontUnit>(v)); } };
}
template<typename C> PropertyInfo property(std::string name, void (C::*set)(const std::string&))
{
    return { std::move(name), PropertyType::String, [set](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*set)(std::get<std::string>(v)); } };
}
// A property that is kept on the object (storedProperty) without further effect.
PropertyInfo storedProperty(std::string name, PropertyType type);

// Makes a new object of the class the record names (its fields at their creation values).
Ref<Object> RuntimeNewObject(const ClassRecord& record);

// The object as a T when its class is `record` or derives from it; an absent object stays absent.
template<typename T>
Ref<T> RuntimeCheckCast(const Ref<Object>& object, const ClassRecord& record = T::staticClassRecord())
{
    if (!object)
        return nullptr;
    if (!object->classRecord().isA(record))
        throw IllegalCastException(object->classRecord().name + " is not a " + record.name);
    return Ref<T>(std::static_pointer_cast<T>(object.shared()));
}

// Class records by name, filled as classes register themselves.
void RuntimeRegisterClass(const ClassRecord& record);
const ClassRecord* RuntimeFindClass(const std::string& name);

// Declares the class record accessors of a runtime class; define them with RUNTIME_CLASS_RECORD.
#define RUNTIME_OBJECT(Class)                                            \
public:                                                                   \
    using Self = Class;                                                   \
    const ClassRecord& classRecord() const override { return staticClassRecord(); } \
    static const ClassRecord& staticClassRecord();

// Defines the record of `Class`, named `name`, derived from `Super`, with design properties `props`.
#define RUNTIME_CLASS_RECORD(Class, name, Super, ...)                          \
    const ClassRecord& Class::staticClassRecord()                              \
    {                                                                          \
        static const ClassRecord record { name, &Super::staticClassRecord(),   \
            [] { return Ref<Object>(std::make_shared<Self>()); },               \
            std::vector<PropertyInfo> { __VA_ARGS__ } };                       \
        return record;                                                         \
    }
