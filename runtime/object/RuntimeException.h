#pragma once

#include <source_location>
#include <stdexcept>
#include <string>

// The one error path of the runtime: thrown where the fault is, caught only where
// the runtime delivers an event or runs start-up, and reported there.
class RuntimeException : public std::runtime_error {
public:
    RuntimeException(std::string className, const std::string& message,
                     std::source_location where = std::source_location::current());

    // The exception's class name as the report shows it ("NilObjectException").
    const std::string& className() const { return m_className; }
    // Where it was raised: the event handler it left, else the function that raised it as far
    // as the program's symbols tell, else "file:line".
    std::string where() const;
    // Notes the handler the exception is leaving; the innermost one stands.
    void leaveHandler(const std::string& handler);

private:
    std::string m_className;
    std::string m_handler;
    std::source_location m_where;
    // Return addresses at the throw, for where(): a Ref that finds no object has no caller's
    // source location of its own to give.
    void* m_frames[12] {};
    int m_frameCount = 0;
};

// Use of an absent object.
class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(std::source_location where = std::source_location::current())
        : RuntimeException("NilObjectException", "use of an absent object", where) {}
};

// An argument outside the range an operation accepts.
class OutOfBoundsException : public RuntimeException {
public:
    explicit OutOfBoundsException(const std::string& message,
                                  std::source_location where = std::source_location::current())
        : RuntimeException("OutOfBoundsException", message, where) {}
};

// A user-interface object used from a thread other than the user-interface thread.
class ThreadAccessingUIException : public RuntimeException {
public:
    explicit ThreadAccessingUIException(std::source_location where = std::source_location::current())
        : RuntimeException("ThreadAccessingUIException", "user-interface object used off its thread", where) {}
};

// A cast to a class the object does not belong to.
class IllegalCastException : public RuntimeException {
public:
    explicit IllegalCastException(const std::string& message,
                                  std::source_location where = std::source_location::current())
        : RuntimeException("IllegalCastException", message, where) {}
};
