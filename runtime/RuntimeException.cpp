#include "RuntimeException.h"

RuntimeException::RuntimeException(std::string className, const std::string& message,
                                   std::source_location where)
    : std::runtime_error(message)
    , m_className(std::move(className))
    , m_where(where)
{
}

std::string RuntimeException::where() const
{
    return std::string(m_where.file_name()) + ":" + std::to_string(m_where.line());
}
