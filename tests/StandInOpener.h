#pragma once

#include "TestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <string>

namespace test {

// Puts a stand-in xdg-open first on PATH for the object's life: it writes the bytes of its
// first argument to a file instead of opening anything, so a test reads exactly what the
// application handed to the desktop.
class StandInOpener {
public:
    StandInOpener()
        : m_path(qgetenv("PATH"))
    {
        QFile script(m_folder.filePath("xdg-open"));
        if (script.open(QIODevice::WriteOnly)) {
            const QByteArray out = m_folder.filePath("argument").toUtf8();
            // Written aside and moved, so a reader never sees half an argument.
            script.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + out + ".part'\nmv '" + out + ".part' '" + out + "'\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", m_folder.path().toUtf8() + ":" + m_path);
    }
    ~StandInOpener() { qputenv("PATH", m_path); }
    StandInOpener(const StandInOpener&) = delete;
    StandInOpener& operator=(const StandInOpener&) = delete;

    // The argument of the opener's next run, which is then forgotten; empty when the opener
    // did not run within the deadline.
    std::string nextArgument(int deadlineMs = 10000) const
    {
        QFile argument(m_folder.filePath("argument"));
        if (!waitUntil([&] { return argument.exists(); }, deadlineMs) || !argument.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = argument.readAll();
        argument.remove();
        return bytes.toStdString();
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_path;
};

} // namespace test
