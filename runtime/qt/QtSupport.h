#pragma once

// Internal to the runtime: the few helpers its Qt-facing sources share. Not for the application.

#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class QObject;

// Marks the time a window-system event is being handled: Qt objects disposed meanwhile may be
// on the call stack, so they are deleted once the event is over. Put one at the top of every
// Qt event override that can reach a handler, before any reference that keeps a runtime
// object alive.
class SystemEventScope {
public:
    SystemEventScope();
    ~SystemEventScope();
    SystemEventScope(const SystemEventScope&) = delete;
    SystemEventScope& operator=(const SystemEventScope&) = delete;
};

// Runs a handler for an event that came from the window system (input, paint, timer tick,
// close box, activation) through RuntimeDeliver; false when it threw.
bool deliverSystemEvent(const std::function<void()>& handler);


// Ends a Qt object that a runtime object owned: its signals are cut at once, and it is deleted
// (later, inside a SystemEventScope) while Qt is alive, or left to the process once Qt's state
// for the thread is gone at exit. Every runtime object lets its Qt objects go through here.
void disposeQtObject(QObject* object);
// True once the process has begun to exit: Qt's per-thread state is going, and deleting a Qt
// object from then on can touch what is gone.
bool qtIsGone();
// Called once the application object is made; from then on the thread's exit is watched.
void watchQtThreadExit();

inline QString toQString(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQString(const QString& text)
{
    return text.toStdString();
}

// Throws ThreadAccessingUIException unless called on the user-interface thread.
void checkUIThread();

// A 64-bit value as Qt's int, saturated instead of wrapped; `plus` is added first, saturated too.
int toQtInt(int64_t value, int64_t plus = 0);
// The largest width or height handed to Qt: beyond any screen, and small enough that the
// pictures Qt makes of a window or a control (its backing store, a style's cached bevels)
// fit in memory.
inline constexpr int kLargestQtSize = 8192;
// A 64-bit size as a widget's size, held to 0 .. kLargestQtSize; `plus` is added first.
int toQtSize(int64_t value, int64_t plus = 0);
// A 64-bit position as a widget's, held to Qt's widget size limit either side of 0, so no sum
// Qt forms from it (a right edge, a child's place in its window) can overflow.
int toQtPosition(int64_t value);
// A real number as Qt's int, rounded and saturated; 0 for NaN.
int roundToQtInt(double value);
// A control's place and size as a widget's geometry, held as toQtPosition and toQtSize hold them.
QRect toQtRect(int64_t left, int64_t top, int64_t width, int64_t height);
// a + b, saturated at the ends of int64_t.
int64_t saturatingAdd(int64_t a, int64_t b);
