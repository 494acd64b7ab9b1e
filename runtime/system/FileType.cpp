#include "system/FileType.h"

#include <algorithm>

RUNTIME_CLASS_RECORD(FileType, "FileType", Object)

namespace {

std::vector<RegisteredFileType>& registry()
{
    static std::vector<RegisteredFileType> types;
    return types;
}

} // namespace

template<typename T>
void FileType::change(T& field, const T& value)
{
    if (m_registered) {
        RuntimeDeregisterFileType(m_name);
        m_registered = false;
    }
    field = value;
}

void FileType::Name(const std::string& name) { change(m_name, name); }
void FileType::Extensions(const std::string& extensions) { change(m_extensions, extensions); }
void FileType::MacType(const std::string& type) { change(m_macType, type); }
void FileType::MacCreator(const std::string& creator) { change(m_macCreator, creator); }
void FileType::MimeType(const std::string& mimeType) { change(m_mimeType, mimeType); }
void FileType::Imported(bool imported) { change(m_imported, imported); }
void FileType::ConformsTo(const std::string& conformsTo) { change(m_conformsTo, conformsTo); }
void FileType::UTI(const std::string& uti) { change(m_uti, uti); }

std::string FileType::Operator_Convert()
{
    if (!m_registered) {
        RuntimeRegisterFileType(m_name, m_macCreator, m_macType, m_extensions, m_uti);
        m_registered = true;
    }
    return m_name;
}

void RuntimeRegisterFileType(const std::string& name, const std::string& creator, const std::string& type,
                             const std::string& extensions, const std::string& uti)
{
    // Like the desktop's registries, one name stands for one type.
    for (const RegisteredFileType& registered : registry()) {
        if (registered.name == name)
            throw RuntimeException("UnsupportedOperationException", "a file type named " + name + " is registered already");
    }
    registry().push_back({ name, creator, type, extensions, uti });
}

void RuntimeDeregisterFileType(const std::string& name)
{
    std::erase_if(registry(), [&name](const RegisteredFileType& type) { return type.name == name; });
}

const std::vector<RegisteredFileType>& RuntimeRegisteredFileTypes()
{
    return registry();
}
