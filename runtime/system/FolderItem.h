#pragma once

#include "object/Object.h"
#include "sound/Sound.h"

#include <cstddef>
#include <string>

// An item of the file system, by path: a file or a folder, which need not exist.
class FolderItem : public Object {
    RUNTIME_OBJECT(FolderItem)
public:
    // The root folder.
    FolderItem();
    // The item at `path` (made absolute and cleaned, links left as they are).
    explicit FolderItem(const std::string& path);

    // The item named `name` in this folder, links and aliases resolved; empty when this item is
    // not an existing folder.
    Ref<FolderItem> Child(const std::string& name) const;
    // The folder that holds this item; empty for the root.
    Ref<FolderItem> Parent() const;
    // True when the item exists (a link, when what it points to exists).
    bool Exists() const;
    // True for an existing folder.
    bool IsFolder() const;
    // The last component of the path.
    std::string Name() const;
    // The absolute path, as the system writes it.
    std::string NativePath() const;

    // The largest file OpenAsSound reads: 64 MiB, far above any song's size.
    static constexpr std::size_t kLargestSong = std::size_t { 64 } << 20;
    // The file's sound, read at once; empty for a file that is missing, unreadable or not MP3,
    // and for anything but a regular file of at most kLargestSong bytes (a named pipe, a
    // device, a folder): those are never waited on or read.
    Ref<Sound> OpenAsSound() const;

private:
    std::string m_path;
};

// The application's resources folder: the folder that holds the executable, then the path the
// application's identity gives from there (a bundle in the build tree and an installed prefix
// are laid out alike), links resolved; empty when there is no such folder.
Ref<FolderItem> GetBundleResourcesFolder();
