#include "system/ShowURL.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Puts a stand-in xdg-open first on PATH that writes what it was given: its argument's bytes,
// and how many arguments came.
class StandInOpener {
public:
    StandInOpener()
        : m_path(qgetenv("PATH"))
    {
        QFile script(m_folder.filePath("xdg-open"));
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        const QByteArray out = m_folder.filePath("argument").toUtf8();
        script.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + out + ".part'\nprintf '%s' \"$#\" > '" + out
                     + ".count'\nmv '" + out + ".part' '" + out + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", m_folder.path().toUtf8() + ":" + m_path);
    }
    ~StandInOpener() { qputenv("PATH", m_path); }

    // What the opener received, once it has run.
    std::pair<std::string, std::string> received() const
    {
        QFile argument(m_folder.filePath("argument"));
        if (!test::waitUntil([&] { return argument.exists(); }, 10000))
            return {};
        QFile count(m_folder.filePath("argument.count"));
        if (!argument.open(QIODevice::ReadOnly) || !count.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = argument.readAll();
        QFile::remove(argument.fileName());
        return { bytes.toStdString(), count.readAll().toStdString() };
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_path;
};

} // namespace

TEST(ShowURL, HandsTheTextUnchangedAsOneArgument)
{
    StandInOpener opener;
    const std::string links[] = {
        "https://www.example.org/flags/tarnia.html",
        "mailto:author@example.org?subject=suggestion on Corvala web site",
        "it's \"quoted\" $HOME `date` ; echo * | cat > x",
        "https://example.org/f\xC3\xBCr  two\tblanks",
    };
    for (const std::string& link : links) {
        SCOPED_TRACE(link);
        ShowURL(link);
        EXPECT_EQ(opener.received(), std::make_pair(link, std::string("1")));
    }
}
