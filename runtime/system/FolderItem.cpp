#include "system/FolderItem.h"

#include "application/ApplicationIdentity.h"
#include "system/ExecutablePathForTesting.h"

#include <QByteArray>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
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

// Absolute, lexically cleaned, without a trailing separator: the item's one spelling. Paths
// stay the file system's bytes throughout; they need be in no encoding.
std::string cleanPath(const std::string& path)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path.empty() ? "." : path, error);
    if (error)
        absolute = std::filesystem::path("/") / path;
    std::filesystem::path cleaned = absolute.lexically_normal();
    if (!cleaned.has_filename() && cleaned != cleaned.root_path())
        cleaned = cleaned.parent_path();
    return cleaned.string();
}

// Reads the whole of a regular file of at most `limit` bytes; false for anything else.
// Opened without waiting, so a named pipe or a device under the name cannot hold the caller.
bool readRegularFile(const std::string& path, std::size_t limit, QByteArray& bytes)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status {};
    bool read = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0
        && static_cast<std::size_t>(status.st_size) <= limit;
    if (read) {
        // One byte more than the file held when looked at, to see it has not grown past the limit.
        bytes.resize(static_cast<qsizetype>(status.st_size) + 1);
        std::size_t filled = 0;
        while (filled < static_cast<std::size_t>(bytes.size())) {
            const ssize_t count = ::read(descriptor, bytes.data() + filled, static_cast<std::size_t>(bytes.size()) - filled);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0) {
                read = count == 0;
                break;
            }
            filled += static_cast<std::size_t>(count);
        }
        read = read && filled <= static_cast<std::size_t>(status.st_size);
        bytes.resize(static_cast<qsizetype>(filled));
    }
    ::close(descriptor);
    return read;
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
    : m_path(cleanPath(path))
{
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const
{
    if (!IsFolder())
        return nullptr;
    const std::filesystem::path child = std::filesystem::path(m_path) / name;
    // canonical() resolves every link on the way; it fails for a missing item.
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(child, error);
    return makeRef<FolderItem>(error ? child.string() : resolved.string());
}

Ref<FolderItem> FolderItem::Parent() const
{
    const std::filesystem::path path(m_path);
    if (path == path.root_path())
        return nullptr;
    return makeRef<FolderItem>(path.parent_path().string());
}

bool FolderItem::Exists() const
{
    std::error_code error;
    return std::filesystem::exists(m_path, error);
}

bool FolderItem::IsFolder() const
{
    std::error_code error;
    return std::filesystem::is_directory(m_path, error);
}

std::string FolderItem::Name() const
{
    return std::filesystem::path(m_path).filename().string();
}

std::string FolderItem::NativePath() const
{
    return m_path;
}

Ref<Sound> FolderItem::OpenAsSound() const
{
    // Opened and read once here; the sound plays from these bytes.
    QByteArray bytes;
    if (!readRegularFile(m_path, kLargestSong, bytes))
        return nullptr;
    return Sound::fromMp3(bytes, Name());
}

Ref<FolderItem> GetBundleResourcesFolder()
{
    const std::string& fromExecutable = applicationIdentity().resourcesFromExecutable;
    const std::filesystem::path executable = executablePath();
    if (fromExecutable.empty() || executable.empty())
        return nullptr;
    // Lexically first, so ".." leaves the executable's folder as written; then links resolved.
    const std::filesystem::path written = (executable.parent_path() / fromExecutable).lexically_normal();
    std::error_code error;
    const std::filesystem::path resources = std::filesystem::canonical(written, error);
    if (error || !std::filesystem::is_directory(resources, error))
        return nullptr;
    return makeRef<FolderItem>(resources.string());
}
