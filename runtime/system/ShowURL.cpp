#include "system/ShowURL.h"

#include <QProcess>
#include <QString>
#include <QStringList>

void ShowURL(const std::string& url)
{
    // Whether a program takes the link is the desktop's business, not the caller's.
    QProcess::startDetached(QStringLiteral("xdg-open"), { QString::fromStdString(url) });
}
