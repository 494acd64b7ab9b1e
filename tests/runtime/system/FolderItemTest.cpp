#include "system/ExecutablePathForTesting.h"
#include "system/FolderItem.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

namespace {

const QString kSong = QStringLiteral(FLAG_RESOURCES_DIR "/FlagSong.mp3");

QByteArray songBytes()
{
    QFile song(kSong);
    EXPECT_TRUE(song.open(QIODevice::ReadOnly));
    return song.readAll();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string path(const QTemporaryDir& folder, const QString& name)
{
    return folder.filePath(name).toStdString();
}

// A bundle laid out as the build and an install lay it out: bin/ with the executable and,
// maybe, the resources folder where the executable looks for it.
struct Bundle {
    explicit Bundle(bool withResources)
    {
        QDir(root.path()).mkpath("bin");
        write(root.filePath("bin/FlagOfTarnia"), "#!/bin/sh\n");
        if (withResources)
            QDir(root.path()).mkpath(resourcesPath());
        RuntimeSetExecutablePathForTesting(path(root, "bin/FlagOfTarnia"));
    }
    ~Bundle() { RuntimeSetExecutablePathForTesting(""); }

    QString resourcesPath() const { return QDir::cleanPath(root.filePath("bin/" FLAG_RESOURCES_FROM_EXECUTABLE)); }

    QTemporaryDir root;
};

} // namespace

TEST(FolderItem, OpensOnlyMp3FilesAsSounds)
{
    QTemporaryDir folder;
    const QByteArray song = songBytes();
    QByteArray id3ThenText("ID3\x04\x00\x00\x00\x00\x00\x0A", 10);
    id3ThenText += QByteArray(10, '\0') + QByteArray(4000, 'x');
    QByteArray falseSyncs;
    for (int i = 0; i < 2000; ++i)
        falseSyncs += QByteArray("\xFF\xFB\xFF\xFB", 4);
    const struct {
        const char* name;
        QByteArray bytes;
        bool sound;
    } cases[] = {
        { "song.mp3", song, true },
        { "first-second.mp3", song.left(8000), true },
        { "text.mp3", QByteArray(5000, 'a'), false },
        { "empty.mp3", QByteArray(), false },
        { "tag-then-text.mp3", id3ThenText, false },
        { "false-syncs.mp3", falseSyncs, false },
        { "wave.wav", QByteArray("RIFF\x24\x08\x00\x00WAVEfmt ", 16) + QByteArray(4000, '\0'), false },
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        write(folder.filePath(row.name), row.bytes);
        EXPECT_EQ(makeRef<FolderItem>(path(folder, row.name))->OpenAsSound().isNil(), !row.sound);
    }
    EXPECT_TRUE(makeRef<FolderItem>(path(folder, "missing.mp3"))->OpenAsSound().isNil());
    EXPECT_TRUE(makeRef<FolderItem>(folder.path().toStdString())->OpenAsSound().isNil());
}

TEST(FolderItem, ChildResolvesLinksAndParentGoesUp)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("real/inner");
    ASSERT_TRUE(QFile::link(folder.filePath("real"), folder.filePath("link")));
    const QString real = QDir(folder.filePath("real")).canonicalPath();

    Ref<FolderItem> top = makeRef<FolderItem>(folder.path().toStdString());
    Ref<FolderItem> linked = top->Child("link");
    EXPECT_EQ(linked->NativePath(), real.toStdString());
    EXPECT_EQ(linked->Name(), "real");
    EXPECT_TRUE(linked->IsFolder());
    EXPECT_EQ(linked->Child("inner")->Parent()->NativePath(), real.toStdString());

    Ref<FolderItem> missing = top->Child("nothing here");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->Exists());
    EXPECT_EQ(missing->Name(), "nothing here");
    EXPECT_TRUE(missing->Child("deeper").isNil());
    EXPECT_TRUE(makeRef<FolderItem>("/")->Parent().isNil());
}

TEST(FolderItem, BundleResourcesAreFoundFromTheExecutablesFolder)
{
    {
        Bundle bundle(true);
        Ref<FolderItem> resources = GetBundleResourcesFolder();
        ASSERT_TRUE(resources);
        EXPECT_EQ(resources->NativePath(), QDir(bundle.resourcesPath()).canonicalPath().toStdString());
        // A bundle without the song gives no sound, and no error.
        EXPECT_TRUE(resources->Child("FlagSong.mp3")->OpenAsSound().isNil());
    }
    {
        Bundle bundle(false);
        EXPECT_TRUE(GetBundleResourcesFolder().isNil());
    }
    RuntimeSetExecutablePathForTesting(FLAG_EXECUTABLE);
    Ref<FolderItem> resources = GetBundleResourcesFolder();
    RuntimeSetExecutablePathForTesting("");
    ASSERT_TRUE(resources);
    EXPECT_TRUE(resources->Child("FlagSong.mp3")->OpenAsSound());
}

namespace {

// The song's bytes in a sparse file of `size` bytes.
void writePadded(const QString& path, const QByteArray& bytes, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.resize(size));
}

} // namespace

// Only a regular file of a song's size is read; anything else is no sound, at once.
TEST(FolderItem, OpensOnlyRegularFilesOfASongsSize)
{
    QTemporaryDir folder;
    const QByteArray song = songBytes();
    const qint64 largest = static_cast<qint64>(FolderItem::kLargestSong);
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        bool sound;
    } cases[] = {
        { "a named pipe", [](const QString& at) { ASSERT_EQ(::mkfifo(QFile::encodeName(at).constData(), 0600), 0); }, false },
        { "a folder", [](const QString& at) { ASSERT_TRUE(QDir().mkpath(at)); }, false },
        { "a link to an endless device", [](const QString& at) { ASSERT_TRUE(QFile::link("/dev/zero", at)); }, false },
        { "the song, a byte too large", [&](const QString& at) { writePadded(at, song, largest + 1); }, false },
        { "the song, as large as a song may be", [&](const QString& at) { writePadded(at, song, largest); }, true },
        { "the song", [&](const QString& at) { write(at, song); }, true },
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const QString at = folder.filePath(row.name);
        row.make(at);
        Ref<FolderItem> item = makeRef<FolderItem>(at.toStdString());
        auto opening = std::async(std::launch::async, [item] { return !item->OpenAsSound().isNil(); });
        if (opening.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "still opening after ten seconds";
            // A writer that comes and goes ends a reader's wait on a pipe.
            ::close(::open(QFile::encodeName(at).constData(), O_WRONLY | O_NONBLOCK));
        }
        EXPECT_EQ(opening.get(), row.sound);
    }
}

// Paths are the file system's bytes: a folder named in Latin-1 (0xFC, not UTF-8) holds a bundle
// that finds its song.
TEST(FolderItem, ABundleUnderANameThatIsNotUtf8FindsItsSong)
{
    QTemporaryDir folder;
    const std::filesystem::path root = std::filesystem::path(QFile::encodeName(folder.path()).toStdString()) / "M\xFCnchen";
    const std::filesystem::path executable = root / "bin" / "FlagOfTarnia";
    const std::filesystem::path resources = (executable.parent_path() / FLAG_RESOURCES_FROM_EXECUTABLE).lexically_normal();
    std::filesystem::create_directories(executable.parent_path());
    std::filesystem::create_directories(resources);
    std::filesystem::copy_file(FLAG_RESOURCES_DIR "/FlagSong.mp3", resources / "FlagSong.mp3");

    RuntimeSetExecutablePathForTesting(executable.string());
    Ref<FolderItem> found = GetBundleResourcesFolder();
    RuntimeSetExecutablePathForTesting("");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->NativePath(), std::filesystem::canonical(resources).string());
    Ref<FolderItem> bundle = found->Parent();
    while (bundle && bundle->Name() != "M\xFCnchen")
        bundle = bundle->Parent();
    EXPECT_TRUE(bundle) << "the folder's name comes back as its bytes";
    EXPECT_TRUE(found->Child("FlagSong.mp3")->OpenAsSound());
}
