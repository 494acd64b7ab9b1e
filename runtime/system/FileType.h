#pragma once

#include "object/Object.h"

#include <string>
#include <vector>

// A kind of document the application declares to the system. It is registered when first
// converted to text, and a change to any of its properties withdraws the registration until
// the next conversion.
class FileType : public Object {
    RUNTIME_OBJECT(FileType)
public:
    const std::string& Name() const { return m_name; }
    void Name(const std::string& name);
    // File name extensions, separated by semicolons.
    const std::string& Extensions() const { return m_extensions; }
    void Extensions(const std::string& extensions);
    // Four-character type code.
    const std::string& MacType() const { return m_macType; }
    void MacType(const std::string& type);
    // Four-character creator code.
    const std::string& MacCreator() const { return m_macCreator; }
    void MacCreator(const std::string& creator);
    const std::string& MimeType() const { return m_mimeType; }
    void MimeType(const std::string& mimeType);
    // True for a type that another application owns.
    bool Imported() const { return m_imported; }
    void Imported(bool imported);
    // The uniform type identifiers this type conforms to.
    const std::string& ConformsTo() const { return m_conformsTo; }
    void ConformsTo(const std::string& conformsTo);
    // The type's own uniform type identifier.
    const std::string& UTI() const { return m_uti; }
    void UTI(const std::string& uti);

    // True while the type is registered with the system.
    bool registered() const { return m_registered; }

    // Registers the type unless it is registered already, then gives its Name.
    std::string Operator_Convert();

private:
    // Every setter goes through here: a registered type is withdrawn before it changes.
    template<typename T>
    void change(T& field, const T& value);

    std::string m_name;
    std::string m_extensions;
    std::string m_macType;
    std::string m_macCreator;
    std::string m_mimeType;
    bool m_imported = false;
    std::string m_conformsTo;
    std::string m_uti;
    bool m_registered = false;
};

// One file type as the system's registry holds it.
struct RegisteredFileType {
    std::string name;
    std::string creator;
    std::string type;
    std::string extensions;
    std::string uti;
    bool operator==(const RegisteredFileType&) const = default;
};

// Declares a file type to the system; this platform keeps the list in the process, where the
// desktop has no registry of its own for a running application's types. A name that is
// registered already is refused with a RuntimeException.
void RuntimeRegisterFileType(const std::string& name, const std::string& creator, const std::string& type,
                             const std::string& extensions, const std::string& uti);
// Withdraws the registered type of that name.
void RuntimeDeregisterFileType(const std::string& name);
// The registered types, in the order they were registered.
const std::vector<RegisteredFileType>& RuntimeRegisteredFileTypes();
