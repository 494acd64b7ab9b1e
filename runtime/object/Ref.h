#pragma once

#include "object/RuntimeException.h"

#include <memory>
#include <source_location>
#include <utility>

// A counted reference to a runtime object. Using it while it is empty throws
// NilObjectException, so every use is tested without a hand-written check.
template<typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) { }
    Ref(std::shared_ptr<T> object) : m_object(std::move(object)) { }
    template<typename U>
        requires std::is_convertible_v<U*, T*>
    Ref(const Ref<U>& other) : m_object(other.shared()) { }

    // The object; throws NilObjectException when there is none.
    T* operator->() const { return &get(); }
    T& operator*() const { return get(); }
    T& get(std::source_location where = std::source_location::current()) const
    {
        if (!m_object)
            throw NilObjectException(where);
        return *m_object;
    }

    bool isNil() const { return !m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    T* raw() const { return m_object.get(); }
    const std::shared_ptr<T>& shared() const { return m_object; }

    template<typename U>
    bool operator==(const Ref<U>& other) const { return m_object == other.shared(); }
    bool operator==(std::nullptr_t) const { return !m_object; }

private:
    std::shared_ptr<T> m_object;
};

// A reference that does not keep its object alive; lock() gives an empty Ref once it is gone.
template<typename T>
class WeakRef {
public:
    WeakRef() = default;
    template<typename U>
        requires std::is_convertible_v<U*, T*>
    WeakRef(const Ref<U>& object) : m_object(std::shared_ptr<T>(object.shared())) { }

    Ref<T> lock() const { return Ref<T>(m_object.lock()); }
    bool expired() const { return m_object.expired(); }

private:
    std::weak_ptr<T> m_object;
};

template<typename T, typename... Args>
Ref<T> makeRef(Args&&... args)
{
    return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}
