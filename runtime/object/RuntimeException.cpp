#include "object/RuntimeException.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <cstdlib>
#include <memory>

namespace {

std::string demangled(const char* symbol)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(symbol, nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(symbol);
}

// Frames of the exception machinery itself, not the place at fault.
bool isRaisingMachinery(const std::string& function)
{
    for (const char* prefix : { "RuntimeException::", "NilObjectException::", "OutOfBoundsException::",
                                "ThreadAccessingUIException::", "IllegalCastException::", "Ref<" }) {
        if (function.starts_with(prefix))
            return true;
    }
    return false;
}

// "Class::function" without its parameter list.
std::string withoutParameters(const std::string& function)
{
    if (!function.ends_with(')'))
        return function;
    int depth = 0;
    for (size_t i = function.size(); i-- > 0;) {
        if (function[i] == ')')
            ++depth;
        else if (function[i] == '(' && --depth == 0)
            return function.substr(0, i);
    }
    return function;
}

} // namespace

RuntimeException::RuntimeException(std::string className, const std::string& message,
                                   std::source_location where)
    : std::runtime_error(message)
    , m_className(std::move(className))
    , m_where(where)
{
    m_frameCount = backtrace(m_frames, static_cast<int>(std::size(m_frames)));
}

void RuntimeException::leaveHandler(const std::string& handler)
{
    if (m_handler.empty())
        m_handler = handler;
}

std::string RuntimeException::where() const
{
    // An optimised build folds a handler into the library code that calls it, so the frames
    // alone would name that code.
    if (!m_handler.empty())
        return m_handler;
    for (int i = 0; i < m_frameCount; ++i) {
        Dl_info info;
        if (!dladdr(m_frames[i], &info) || !info.dli_sname)
            continue;
        std::string function = demangled(info.dli_sname);
        if (!isRaisingMachinery(function))
            return withoutParameters(function);
    }
    return std::string(m_where.file_name()) + ":" + std::to_string(m_where.line());
}
