#include "FolderItem.h"

#include "ExecutablePathForTesting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

RUNTIME_CLASS_RECORD(FolderItem, "FolderItem", Object)

namespace {

std::string& executablePathForTesting()
{
    static std::string path;
    return path;
}

// Read from the kernel as bytes: the path may be in no encoding at all.
std::filesystem::path executablePath()
{
    if (!executablePathForTesting().empty())
        return executablePathForTesting();
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
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
    const std::filesystem::path executable = executablePath();
    if (executable.empty())
        return nullptr;
    // Lexically first, so ".." leaves the executable's folder as written; then links resolved.
    const std::filesystem::path written =
        (executable.parent_path() / FLAG_RESOURCES_FROM_EXECUTABLE).lexically_normal();
    std::error_code error;
    const std::filesystem::path resources = std::filesystem::canonical(written, error);
    if (error || !std::filesystem::is_directory(resources, error))
        return nullptr;
    return makeRef<FolderItem>(resources.string());
}
