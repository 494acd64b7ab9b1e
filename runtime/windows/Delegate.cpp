#include "windows/Delegate.h"

RUNTIME_CLASS_RECORD(Delegate, "Delegate", Object)

Delegate::Delegate() = default;

Delegate::Delegate(const Ref<Object>& target, Invoker invoker, std::string signature, int64_t flag, std::string handler)
    : m_target(target)
    , m_invoker(std::move(invoker))
    , m_signature(std::move(signature))
    , m_flag(flag)
    , m_handler(std::move(handler))
{
}

bool Delegate::invoke(const EventArguments& arguments) const
{
    // Held for the call: the handler may drop the window's last other reference.
    Ref<Object> target = m_target.lock();
    if (!target || !m_invoker)
        throw NilObjectException();
    try {
        return m_invoker(*target, arguments);
    } catch (RuntimeException& error) {
        if (!m_handler.empty())
            error.leaveHandler(m_handler);
        throw;
    }
}
