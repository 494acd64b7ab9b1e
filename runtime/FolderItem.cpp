#include "FolderItem.h"

#include "ExecutablePathForTesting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

RUNTIME_CLASS_RECORD(FolderItem, "FolderItem", Object)

namespace {

std::string& executablePathForTesting()
{
    static std::string path;
    return path;
}

std::string executablePath()
{
    if (!executablePathForTesting().empty())
        return executablePathForTesting();
    return QCoreApplication::applicationFilePath().toStdString();
}

QString qPath(const std::string& path)
{
    return QString::fromStdString(path);
}

} // namespace

void RuntimeSetExecutablePathForTesting(const std::string& path)
{
    executablePathForTesting() = path;
}

FolderItem::FolderItem()
    : FolderItem("/")
{
}

FolderItem::FolderItem(const std::string& path)
    : m_path(QDir::cleanPath(QDir::current().absoluteFilePath(qPath(path))).toStdString())
{
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const
{
    if (!IsFolder())
        return nullptr;
    const QFileInfo child(QDir(qPath(m_path)).filePath(qPath(name)));
    // canonicalFilePath() resolves every link on the way; it is empty for a missing item.
    const QString resolved = child.canonicalFilePath();
    return makeRef<FolderItem>((resolved.isEmpty() ? child.absoluteFilePath() : resolved).toStdString());
}

Ref<FolderItem> FolderItem::Parent() const
{
    if (QDir(qPath(m_path)).isRoot())
        return nullptr;
    return makeRef<FolderItem>(QFileInfo(qPath(m_path)).absolutePath().toStdString());
}

bool FolderItem::Exists() const
{
    return QFileInfo::exists(qPath(m_path));
}

bool FolderItem::IsFolder() const
{
    return QFileInfo(qPath(m_path)).isDir();
}

std::string FolderItem::Name() const
{
    return QFileInfo(qPath(m_path)).fileName().toStdString();
}

std::string FolderItem::NativePath() const
{
    return QDir::toNativeSeparators(qPath(m_path)).toStdString();
}

Ref<Sound> FolderItem::OpenAsSound() const
{
    // Opened and read once here; the sound plays from these bytes.
    QFile file(qPath(m_path));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return Sound::fromMp3(file.readAll(), Name());
}

Ref<FolderItem> GetBundleResourcesFolder()
{
    Ref<FolderItem> binFolder = makeRef<FolderItem>(executablePath())->Parent();
    Ref<FolderItem> bundle = binFolder ? binFolder->Parent() : nullptr;
    Ref<FolderItem> resources = bundle ? bundle->Child("Resources") : nullptr;
    return resources && resources->IsFolder() ? resources : nullptr;
}
